#include "workspace/edit_packages.h"

#include <algorithm>

#include "core/backup.h"
#include "core/ini_file.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "platform/game_paths.h"
#include "platform/locale_formats.h"

namespace torvane::workspace {
namespace {

constexpr std::string_view kKey = "EDITPACKAGES=";

std::vector<core::TextLine> ReadLines(const std::string& path) {
    return core::SplitTextLines(platform::ReadWholeFile(path));
}

void RewriteLines(const std::string& path, const std::vector<core::TextLine>& lines) {
    core::BackupFile(path);
    platform::WriteFileAtomic(path, core::JoinTextLines(lines));
}

}  // namespace

bool IsEditPackagesLine(std::string_view line) {
    return core::UpperCase(line).find(kKey) != std::string::npos && !core::IsIniCommentLine(line);
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
    for (const core::TextLine& line : ReadLines(configPath)) {
        if (IsEditPackagesLine(line.text)) names.push_back(EditPackagesValue(line.text));
    }
    return names;
}

void InsertEditPackageLine(const std::string& configPath, const std::string& name) {
    // A configuration that cannot be read is not replaced by a new one made of this line alone.
    std::vector<core::TextLine> lines = ReadLines(configPath);
    core::TextLine newLine{"EditPackages=" + name, "\r\n"};
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (IsEditPackagesLine(lines[i].text)) {
            if (!lines[i].ending.empty()) newLine.ending = lines[i].ending;  // the file's own line end
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, newLine);
            RewriteLines(configPath, lines);
            return;
        }
    }
    // No EditPackages line at all: the end of the editor's section, where the game reads it.
    std::size_t section = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (core::EqualsIgnoringCase(core::Trim(lines[i].text), "[Editor.EditorEngine]")) section = i;
    }
    if (section == lines.size()) {
        lines.push_back({"[Editor.EditorEngine]", "\r\n"});
        lines.push_back(newLine);
    } else {
        std::size_t end = section + 1;
        while (end < lines.size() && core::TrimLeft(lines[end].text).rfind('[', 0) != 0) ++end;
        while (end > section + 1 && core::Trim(lines[end - 1].text).empty()) --end;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), newLine);
    }
    RewriteLines(configPath, lines);
}

namespace {

// The first line the game reads as the package's entry, or the line count.
std::size_t LineOfPackage(const std::vector<core::TextLine>& lines, const std::string& name) {
    const std::string upper = core::UpperCase(name);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsEditPackagesLine(lines[i].text) && core::UpperCase(EditPackagesValue(lines[i].text)) == upper) return i;
    }
    return lines.size();
}

}  // namespace

bool MoveEditPackageLine(const std::string& configPath, const std::string& dragged, const std::string& target) {
    std::vector<core::TextLine> lines = ReadLines(configPath);
    const std::size_t from = LineOfPackage(lines, dragged);
    const std::size_t before = LineOfPackage(lines, target);
    if (from == lines.size() || before == lines.size()) return false;
    core::TextLine moved{"EditPackages=" + dragged, lines[from].ending};
    if (moved.ending.empty()) moved.ending = lines[before].ending.empty() ? "\r\n" : lines[before].ending;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(from));
    const std::size_t at = LineOfPackage(lines, target);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), moved);
    RewriteLines(configPath, lines);
    return true;
}

bool DeleteEditPackageLine(const std::string& configPath, const std::string& name) {
    std::vector<core::TextLine> lines = ReadLines(configPath);
    const std::string upper = core::UpperCase(name);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsEditPackagesLine(lines[i].text) && core::UpperCase(EditPackagesValue(lines[i].text)) == upper) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            RewriteLines(configPath, lines);
            return true;
        }
    }
    return false;
}

bool ReplaceEditPackageLines(const std::string& configPath, const std::vector<std::string>& packages) {
    std::vector<core::TextLine> lines = ReadLines(configPath);
    std::ptrdiff_t first = -1;
    std::string ending = "\r\n";
    for (std::size_t i = 0; i < lines.size();) {
        if (core::UpperCase(lines[i].text).find("EDITPACKAGES") != std::string::npos &&
            !core::IsIniCommentLine(lines[i].text)) {
            if (first < 0) {
                first = static_cast<std::ptrdiff_t>(i);
                if (!lines[i].ending.empty()) ending = lines[i].ending;
            }
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    if (first < 0) return false;
    std::vector<core::TextLine> included;
    for (const std::string& name : packages) included.push_back({"EditPackages=" + name, ending});
    lines.insert(lines.begin() + first, included.begin(), included.end());
    RewriteLines(configPath, lines);
    return true;
}

std::string LastModifiedText(const platform::GameInstall& install, const std::string& name) {
    const auto time = platform::FileModifiedTime(install.FindPackageFile(name));
    return time ? platform::FormatDateTime(*time) : "[ Not Compiled ]";
}

std::vector<CompiledPackage> ListCompiledPackages(const platform::GameInstall& install) {
    std::vector<CompiledPackage> packages;
    for (const platform::PackageFile& file : install.ListPackageFiles()) {
        const bool exported =
            platform::DirectoryExists(platform::ResolveGamePath(install.gameRoot(), "\\" + file.name + "\\Classes"));
        packages.push_back({file.name, exported ? "Yes" : "   "});
    }
    return packages;
}

std::vector<std::string> ReadPackageList(const std::string& path) {
    if (!platform::FileExists(path)) return {};
    const std::string bytes = platform::ReadWholeFile(path);
    // Names hold no zero bytes: such a file is what an interrupted write left, read as no list.
    if (bytes.find('\0') != std::string::npos) return {};
    return core::SplitLines(bytes);
}

void WritePackageList(const std::string& path, const std::vector<std::string>& names) {
    // Kept with the tree caches and made again with them, so the write does not wait for the disk.
    platform::WriteFileAtomic(path, core::JoinLinesCrLf(names), /*flushToDisk=*/false);
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
