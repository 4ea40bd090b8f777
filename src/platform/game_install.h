#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The game install as its command-line tool sees it. Computed once from the game root and the
// tool that will run there, it answers which configuration file the tool reads, where the tool
// writes a new package and where it finds an existing one. Every part of the program asks here,
// so that it shows, rewrites and deletes exactly what the tool itself will use.
//
// The rules, per tool:
// - System/UCC.exe (a Windows tool run through wine, or a native program of that name), and a
//   game without any tool: everything lies in System.
// - A Linux build of the current patch (System64/ucc-bin-amd64, SystemARM64/ucc-bin-arm64, or
//   System/ucc-bin in a tree that has those directories or a user who has ~/.utpg/System): it
//   reads ~/.utpg/System/UnrealTournament.ini when that file exists, else the UnrealTournament.ini
//   beside the binary, else the per-user file (which it creates from Default.ini). It writes new
//   packages to ~/.utpg/System and finds a package there, then beside the binary, then in System.
// - The original Linux port (System/ucc-bin otherwise): it reads ~/.loki/ut/System's
//   UnrealTournament.ini when present, else System's; it writes packages to System and finds them
//   in ~/.loki/ut/System first when that directory exists.
namespace torvane::platform {

// What the install's rules depend on besides the game root.
struct GameInstallEnvironment {
    std::string homeDirectory;  // empty: no per-user directory
    std::string machine;        // as uname reports it: "x86_64", "aarch64", ...
    bool wineInstalled = false;

    // This machine: $HOME, uname, wine on the PATH.
    static GameInstallEnvironment Current();
};

enum class GameToolKind {
    Missing,            // nothing runnable; System/UCC.exe is named so that the runner says why
    Windows,            // System/UCC.exe
    CurrentPatchLinux,  // ucc-bin-amd64, ucc-bin-arm64 or ucc-bin of the current patch
    OriginalLinuxPort,  // System/ucc-bin of the original port
};

// How the tool is started.
struct GameTool {
    GameToolKind kind = GameToolKind::Missing;
    std::string program;           // native path of the program file
    std::string workingDirectory;  // empty: the caller's current directory
    std::vector<std::pair<std::string, std::string>> environment;  // added to the caller's
};

// A compiled package the tool would find.
struct PackageFile {
    std::string name;  // the file name without ".u", as spelled on disk
    std::string path;
    std::int64_t modified = 0;  // seconds since the epoch
};

class GameInstall final {
public:
    GameInstall() = default;  // no game: every question has an empty answer

    static GameInstall Detect(std::string_view gameRoot,
                              const GameInstallEnvironment& environment = GameInstallEnvironment::Current());

    const std::string& gameRoot() const { return gameRoot_; }
    const GameTool& tool() const { return tool_; }
    // The UnrealTournament.ini the tool reads (it need not exist yet).
    const std::string& configPath() const { return configPath_; }
    // Where the tool writes a new <Package>.u (it need not exist yet).
    const std::string& packageOutputDirectory() const { return outputDirectory_; }
    // Where the tool finds an existing <Package>.u, in the order it looks.
    const std::vector<std::string>& packageSearchDirectories() const { return searchDirectories_; }

    // The <Package>.u the tool would find: the first in search order; empty when there is none.
    std::string FindPackageFile(std::string_view package) const;
    // Every <Package>.u the tool could find, in search order.
    std::vector<std::string> PackageFileCopies(std::string_view package) const;
    // Every compiled package the tool would find, one per name (the first in search order),
    // sorted by name without regard to case.
    std::vector<PackageFile> ListPackageFiles() const;

    // The tool's own log, "ucc.log", which it writes beside the packages it writes.
    std::string ToolLogPath() const;

    // The lines the output log shows at start-up: the tool, its configuration file, the folder
    // it writes packages to and the folders it finds them in.
    std::vector<std::string> Describe() const;

private:
    std::string gameRoot_;
    GameTool tool_;
    std::string configPath_;
    std::string outputDirectory_;
    std::vector<std::string> searchDirectories_;
};

}  // namespace torvane::platform
