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

// Where a program of the game lies in each kind of install.
struct ProgramNames {
    const char* windows;  // the Windows program in System
    const char* amd64;    // the current patch's x86_64 build
    const char* arm64;    // its aarch64 build
    const char* x86;      // in System: the original port's, or the current patch's 32-bit build
    const char* script;   // the original port's wrapper in the game root; nullptr: none used
};

constexpr ProgramNames kToolNames{"\\System\\UCC.exe", "\\System64\\ucc-bin-amd64",
                                  "\\SystemARM64\\ucc-bin-arm64", "\\System\\ucc-bin", nullptr};
constexpr ProgramNames kGameNames{"\\System\\UnrealTournament.exe", "\\System64\\ut-bin-amd64",
                                  "\\SystemARM64\\ut-bin-arm64", "\\System\\ut-bin", "\\ut"};

GameTool FindProgram(std::string_view gameRoot, const GameInstallEnvironment& environment,
                     const ProgramNames& names) {
    const std::string windows = ResolveGamePath(gameRoot, names.windows);
    if (FileExists(windows)) {
        switch (SniffProgramFile(windows)) {
            case ProgramFileKind::Native:
            case ProgramFileKind::Script: return {GameToolKind::Windows, windows, {}, {}};
            case ProgramFileKind::WindowsImage:
                if (environment.wineInstalled) return {GameToolKind::Windows, windows, {}, {}};
                break;
            case ProgramFileKind::Unknown: break;
        }
    }
    const struct {
        const char* machine;
        const char* program;
    } nativeBuilds[] = {
        {"x86_64", names.amd64},
        {"aarch64", names.arm64},
    };
    for (const auto& build : nativeBuilds) {
        if (environment.machine != build.machine) continue;
        const std::string program = ResolveGamePath(gameRoot, build.program);
        if (FileExists(program)) return LinuxTool(GameToolKind::CurrentPatchLinux, program);
    }
    // The current patch ships a directory per architecture; the original port does not.
    const bool currentPatch = DirectoryExists(ResolveGamePath(gameRoot, "\\System64")) ||
                              DirectoryExists(ResolveGamePath(gameRoot, "\\SystemARM64")) ||
                              DirectoryExists(UserDirectory(environment.homeDirectory, ".utpg/System"));
    const GameToolKind linuxKind = currentPatch ? GameToolKind::CurrentPatchLinux : GameToolKind::OriginalLinuxPort;
    for (const char* name : {names.x86, names.script}) {
        if (!name) continue;
        const std::string program = ResolveGamePath(gameRoot, name);
        if (FileExists(program)) return LinuxTool(linuxKind, program);
    }
    return {GameToolKind::Missing, windows, {}, {}};
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
    install.tool_ = FindProgram(gameRoot, environment, kToolNames);
    install.game_ = FindProgram(gameRoot, environment, kGameNames);
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

    // Where the game writes its log has not been measured: the per-user directory first, then
    // beside the program, then System.
    switch (install.game_.kind) {
        case GameToolKind::CurrentPatchLinux:
            AddDirectory(install.gameLogDirectories_, UserDirectory(home, ".utpg/System"));
            break;
        case GameToolKind::OriginalLinuxPort:
            AddDirectory(install.gameLogDirectories_, UserDirectory(home, ".loki/ut/System"));
            break;
        case GameToolKind::Missing:
        case GameToolKind::Windows: break;
    }
    AddDirectory(install.gameLogDirectories_, install.game_.workingDirectory);
    AddDirectory(install.gameLogDirectories_, system);
    return install;
}

GameLaunch GameInstall::Launch(bool useTool) const {
    GameLaunch launch;
    const std::string system = ResolveGamePath(gameRoot_, "\\System");
    if (useTool) {
        launch.program = tool_;
        launch.logName = "ucc.log";
        AddDirectory(launch.logDirectories, outputDirectory_);
        for (const std::string& directory : searchDirectories_) AddDirectory(launch.logDirectories, directory);
    } else {
        launch.program = game_;
        launch.logName = "UnrealTournament.log";
        launch.logDirectories = gameLogDirectories_;
    }
    // The Windows programs start in System, as the game's shortcuts start them.
    if (launch.program.workingDirectory.empty()) launch.program.workingDirectory = system;
    return launch;
}

std::string GameLaunch::LogPath(std::optional<std::int64_t> writtenSince) const {
    std::string firstExisting;
    for (const std::string& directory : logDirectories) {
        const std::string path = ResolvePath(InDirectory(directory, logName));
        const auto modified = FileModifiedTime(path);
        if (!modified) continue;
        if (writtenSince && *modified >= *writtenSince) return path;
        if (firstExisting.empty()) firstExisting = path;
    }
    if (!firstExisting.empty() || logDirectories.empty()) return firstExisting;
    return ResolvePath(InDirectory(logDirectories.front(), logName));
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
    lines.push_back("Run starts the game: " + game_.program +
                    (game_.kind == GameToolKind::Missing ? " (not found)" : ""));
    return lines;
}

}  // namespace torvane::platform
