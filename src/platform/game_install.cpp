#include "platform/game_install.h"

#include <sys/utsname.h>

#include <algorithm>
#include <cstdlib>

#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/process.h"
#include "platform/tool_command.h"

namespace torvane::platform {
namespace {

constexpr const char* kConfigName = "UnrealTournament.ini";

std::string InDirectory(const std::string& directory, std::string_view name) {
    if (directory.empty()) return std::string(name);
    return directory.back() == '/' ? directory + std::string(name) : directory + "/" + std::string(name);
}

// A per-user directory below home; empty without a home.
std::string UserDirectory(const std::string& home, std::string_view relative) {
    return home.empty() ? std::string() : InDirectory(home, relative);
}

// The game's own tool, the way its wrapper script starts a Linux build: in its directory, with
// that directory on the library path.
GameTool LinuxTool(GameToolKind kind, const std::string& program) {
    const std::string directory = SplitLastSeparator(program).first;
    std::string libraryPath = directory;
    if (const char* existing = std::getenv("LD_LIBRARY_PATH"); existing && *existing) {
        libraryPath += ":" + std::string(existing);
    }
    return {kind, program, directory, {{"LD_LIBRARY_PATH", libraryPath}}};
}

GameTool FindTool(std::string_view gameRoot, const GameInstallEnvironment& environment) {
    const std::string ucc = ResolveGamePath(gameRoot, "\\System\\UCC.exe");
    if (FileExists(ucc)) {
        switch (SniffProgramFile(ucc)) {
            case ProgramFileKind::Native:
            case ProgramFileKind::Script: return {GameToolKind::Windows, ucc, {}, {}};
            case ProgramFileKind::WindowsImage:
                if (environment.wineInstalled) return {GameToolKind::Windows, ucc, {}, {}};
                break;
            case ProgramFileKind::Unknown: break;
        }
    }
    const struct {
        const char* machine;
        const char* program;
    } nativeBuilds[] = {
        {"x86_64", "\\System64\\ucc-bin-amd64"},
        {"aarch64", "\\SystemARM64\\ucc-bin-arm64"},
    };
    for (const auto& build : nativeBuilds) {
        if (environment.machine != build.machine) continue;
        const std::string program = ResolveGamePath(gameRoot, build.program);
        if (FileExists(program)) return LinuxTool(GameToolKind::CurrentPatchLinux, program);
    }
    const std::string x86 = ResolveGamePath(gameRoot, "\\System\\ucc-bin");
    if (FileExists(x86)) {
        // The current patch ships a directory per architecture; the original port does not.
        const bool currentPatch = DirectoryExists(ResolveGamePath(gameRoot, "\\System64")) ||
                                  DirectoryExists(ResolveGamePath(gameRoot, "\\SystemARM64")) ||
                                  DirectoryExists(UserDirectory(environment.homeDirectory, ".utpg/System"));
        return LinuxTool(currentPatch ? GameToolKind::CurrentPatchLinux : GameToolKind::OriginalLinuxPort, x86);
    }
    return {GameToolKind::Missing, ucc, {}, {}};
}

void AddDirectory(std::vector<std::string>& directories, const std::string& directory) {
    if (directory.empty()) return;
    if (std::find(directories.begin(), directories.end(), directory) == directories.end()) {
        directories.push_back(directory);
    }
}

}  // namespace

GameInstallEnvironment GameInstallEnvironment::Current() {
    GameInstallEnvironment environment;
    if (const char* home = std::getenv("HOME")) environment.homeDirectory = home;
    utsname name{};
    if (::uname(&name) == 0) environment.machine = name.machine;
    environment.wineInstalled = !FindInPath("wine").empty();
    return environment;
}

GameInstall GameInstall::Detect(std::string_view gameRoot, const GameInstallEnvironment& environment) {
    GameInstall install;
    install.gameRoot_ = std::string(gameRoot);
    install.tool_ = FindTool(gameRoot, environment);
    const std::string system = ResolveGamePath(gameRoot, "\\System");
    const std::string systemConfig = ResolveGamePath(gameRoot, std::string("\\System\\") + kConfigName);
    const std::string& home = environment.homeDirectory;

    switch (install.tool_.kind) {
        case GameToolKind::Missing:
        case GameToolKind::Windows:
            install.configPath_ = systemConfig;
            install.outputDirectory_ = system;
            break;
        case GameToolKind::CurrentPatchLinux: {
            const std::string binaryDirectory = install.tool_.workingDirectory;
            const std::string preferences = UserDirectory(home, ".utpg/System");
            const std::string userConfig = UserDirectory(home, std::string(".utpg/System/") + kConfigName);
            const std::string besideBinary = InDirectory(binaryDirectory, kConfigName);
            if (!userConfig.empty() && FileExists(userConfig)) {
                install.configPath_ = userConfig;
            } else if (FileExists(besideBinary) || userConfig.empty()) {
                install.configPath_ = besideBinary;
            } else {
                install.configPath_ = userConfig;  // the tool creates it from Default.ini
            }
            install.outputDirectory_ = preferences.empty() ? binaryDirectory : preferences;
            AddDirectory(install.searchDirectories_, preferences);
            AddDirectory(install.searchDirectories_, binaryDirectory);
            break;
        }
        case GameToolKind::OriginalLinuxPort: {
            const std::string preferences = UserDirectory(home, ".loki/ut/System");
            const std::string userConfig = UserDirectory(home, std::string(".loki/ut/System/") + kConfigName);
            install.configPath_ = !userConfig.empty() && FileExists(userConfig) ? userConfig : systemConfig;
            install.outputDirectory_ = system;
            if (DirectoryExists(preferences)) AddDirectory(install.searchDirectories_, preferences);
            break;
        }
    }
    AddDirectory(install.searchDirectories_, system);
    return install;
}

std::vector<std::string> GameInstall::PackageFileCopies(std::string_view package) const {
    std::vector<std::string> copies;
    if (package.empty()) return copies;
    for (const std::string& directory : searchDirectories_) {
        const std::string path = ResolvePath(InDirectory(directory, std::string(package) + ".u"));
        if (FileExists(path)) copies.push_back(path);
    }
    return copies;
}

std::string GameInstall::FindPackageFile(std::string_view package) const {
    const std::vector<std::string> copies = PackageFileCopies(package);
    return copies.empty() ? std::string() : copies.front();
}

std::vector<PackageFile> GameInstall::ListPackageFiles() const {
    std::vector<PackageFile> packages;
    for (const std::string& directory : searchDirectories_) {
        for (const DirectoryEntry& entry : ListDirectory(directory, "*.U")) {
            std::string name = entry.name.substr(0, entry.name.size() - 2);
            const bool shadowed = std::any_of(packages.begin(), packages.end(), [&](const PackageFile& known) {
                return core::EqualsIgnoringCase(known.name, name);
            });
            if (shadowed) continue;
            packages.push_back({std::move(name), ResolvePath(InDirectory(directory, entry.name)), entry.modified});
        }
    }
    std::sort(packages.begin(), packages.end(), [](const PackageFile& a, const PackageFile& b) {
        return core::UpperCase(a.name) < core::UpperCase(b.name);
    });
    return packages;
}

std::string GameInstall::ToolLogPath() const {
    return outputDirectory_.empty() ? std::string() : ResolvePath(InDirectory(outputDirectory_, "ucc.log"));
}

std::vector<std::string> GameInstall::Describe() const {
    std::vector<std::string> lines;
    lines.push_back("Game tool: " + tool_.program + (tool_.kind == GameToolKind::Missing ? " (not found)" : ""));
    std::string config = "Game configuration: " + configPath_;
    if (!FileExists(configPath_)) {
        config += tool_.kind == GameToolKind::CurrentPatchLinux
                      ? " (not there yet: the game's tool creates it from Default.ini)"
                      : " (missing)";
    }
    lines.push_back(config);
    lines.push_back("Compiled packages are written to: " + outputDirectory_);
    std::string search = "Compiled packages are found in: ";
    for (std::size_t i = 0; i < searchDirectories_.size(); ++i) {
        search += (i == 0 ? "" : ", then ") + searchDirectories_[i];
    }
    lines.push_back(search);
    return lines;
}

}  // namespace torvane::platform
