#pragma once

#include <cstdint>
#include <optional>
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
//
// The game itself (Run) is found the same way: System/UnrealTournament.exe when it is native or
// wine can run it, else System64/ut-bin-amd64 (SystemARM64/ut-bin-arm64), System/ut-bin or the
// game root's ut script, each started in its own directory with it on the library path. Where the
// game writes UnrealTournament.log has not been measured; it is looked for in the per-user
// directory first (~/.utpg/System, ~/.loki/ut/System), then beside the program, then in System.
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
    Missing,            // nothing runnable; the Windows name is kept so that starting it says why
    Windows,            // System/UCC.exe (System/UnrealTournament.exe)
    CurrentPatchLinux,  // ucc-bin-amd64, ucc-bin-arm64 or ucc-bin (ut-bin...) of the current patch
    OriginalLinuxPort,  // System/ucc-bin (System/ut-bin, ut) of the original port
};

// How a program of the game is started: its tool, or the game itself.
struct GameTool {
    GameToolKind kind = GameToolKind::Missing;
    std::string program;           // native path of the program file
    std::string workingDirectory;  // empty: the caller's current directory
    std::vector<std::pair<std::string, std::string>> environment;  // added to the caller's
};

// A test run: the game or, for a server, the game's tool, started as the user's install starts
// it, and where that program writes its log.
struct GameLaunch {
    GameTool program;                         // its working directory is never empty
    std::string logName;                      // "UnrealTournament.log", or "ucc.log" for the tool
    std::vector<std::string> logDirectories;  // where the program may write its log, in order

    // The log the run wrote: the first in order written at or after writtenSince (seconds since
    // the epoch); otherwise the first that exists (without writtenSince, the first that exists);
    // otherwise the name in the first directory.
    std::string LogPath(std::optional<std::int64_t> writtenSince = std::nullopt) const;
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
    // How the game itself is started.
    const GameTool& game() const { return game_; }
    // A test run of the game, or of the tool when useTool is set (a dedicated server).
    GameLaunch Launch(bool useTool) const;
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
    // it writes packages to, the folders it finds them in, and the game's program.
    std::vector<std::string> Describe() const;

private:
    std::string gameRoot_;
    GameTool tool_;
    GameTool game_;
    std::vector<std::string> gameLogDirectories_;
    std::string configPath_;
    std::string outputDirectory_;
    std::vector<std::string> searchDirectories_;
};

}  // namespace torvane::platform
