#include "workspace/edit_packages.h"

#include <algorithm>

#include "core/backup.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/locale_formats.h"

namespace torvane::workspace {
namespace {

constexpr std::string_view kKey = "EDITPACKAGES=";

std::vector<std::string> ReadLines(const std::string& path) {
    return core::SplitLines(platform::ReadWholeFile(path));
}

void RewriteLines(const std::string& path, const std::vector<std::string>& lines) {
    core::BackupFile(path);
    platform::WriteFileAtomic(path, core::JoinLinesCrLf(lines));
}

}  // namespace

bool IsEditPackagesLine(std::string_view line) {
    return core::UpperCase(line).find(kKey) != std::string::npos;
}

std::string EditPackagesValue(std::string_view line) {
    const std::size_t at = core::UpperCase(line).find(kKey);
    if (at == std::string::npos) return {};
    std::string_view value = line.substr(at + kKey.size());
    value = value.substr(0, std::min<std::size_t>(value.size(), 255));
    return std::string(core::Trim(value));
}

std::vector<std::string> ReadEditPackages(const std::string& configPath) {
    std::vector<std::string> names;
    for (const std::string& line : ReadLines(configPath)) {
        if (IsEditPackagesLine(line) && (line.empty() || line[0] != '!')) {
            names.push_back(EditPackagesValue(line));
        }
    }
    return names;
}

void InsertEditPackageLine(const std::string& configPath, const std::string& name) {
    std::vector<std::string> lines =
        platform::FileExists(configPath) ? ReadLines(configPath) : std::vector<std::string>{};
    const std::string newLine = "EditPackages=" + name;
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (IsEditPackagesLine(lines[i])) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, newLine);
            RewriteLines(configPath, lines);
            return;
        }
    }
    // No EditPackages line at all: the end of the editor's section, where the game reads it.
    std::size_t section = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (core::EqualsIgnoringCase(core::Trim(lines[i]), "[Editor.EditorEngine]")) section = i;
    }
    if (section == lines.size()) {
        lines.push_back("[Editor.EditorEngine]");
        lines.push_back(newLine);
    } else {
        std::size_t end = section + 1;
        while (end < lines.size() && core::TrimLeft(lines[end]).rfind('[', 0) != 0) ++end;
        while (end > section + 1 && core::Trim(lines[end - 1]).empty()) --end;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), newLine);
    }
    RewriteLines(configPath, lines);
}

bool DeleteEditPackageLine(const std::string& configPath, const std::string& name) {
    std::vector<std::string> lines = ReadLines(configPath);
    const std::string upper = core::UpperCase(name);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsEditPackagesLine(lines[i]) && core::UpperCase(EditPackagesValue(lines[i])) == upper) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            RewriteLines(configPath, lines);
            return true;
        }
    }
    return false;
}

std::string LastModifiedText(const std::string& gameRoot, const std::string& name) {
    const auto time = platform::FileModifiedTime(platform::ResolveGamePath(gameRoot, "\\SYSTEM\\" + name + ".u"));
    return time ? platform::FormatDateTime(*time) : "[ Not Compiled ]";
}

std::vector<CompiledPackage> ListCompiledPackages(const std::string& gameRoot) {
    std::vector<CompiledPackage> packages;
    for (const auto& file : platform::ListDirectory(platform::ResolveGamePath(gameRoot, "\\SYSTEM"), "*.U")) {
        CompiledPackage package;
        package.name = file.name.substr(0, file.name.size() - 2);
        package.exported = platform::DirectoryExists(
                               platform::ResolveGamePath(gameRoot, "\\" + package.name + "\\Classes"))
                               ? "Yes"
                               : "   ";
        packages.push_back(std::move(package));
    }
    std::sort(packages.begin(), packages.end(), [](const auto& a, const auto& b) {
        return core::UpperCase(a.name) < core::UpperCase(b.name);
    });
    return packages;
}

std::vector<std::string> ReadPackageList(const std::string& path) {
    if (!platform::FileExists(path)) return {};
    return ReadLines(path);
}

void WritePackageList(const std::string& path, const std::vector<std::string>& names) {
    platform::WriteFileAtomic(path, core::JoinLinesCrLf(names));
}

bool PackageListChanged(const std::vector<std::string>& stored,
                        const std::vector<std::string>& editPackages) {
    if (stored.size() != editPackages.size()) return true;
    for (const std::string& package : editPackages) {
        if (!core::ContainsIgnoringCase(stored, package)) return true;
    }
    return false;
}

}  // namespace torvane::workspace
