#pragma once

#include <string>
#include <utility>
#include <vector>

// How the game's command-line tool is started on this machine: System/UCC.exe when it is a
// native program or script, or a Windows image that wine can run; otherwise the Linux build,
// System64/ucc-bin-amd64 on x86_64 or System/ucc-bin, which must start in its own directory with
// that directory on LD_LIBRARY_PATH (as the game's own wrapper script does).
namespace torvane::build {

struct GameToolCommand {
    std::string file;              // for the console runner
    std::string workingDirectory;  // empty: the IDE's current directory
    std::vector<std::pair<std::string, std::string>> environment;
};

GameToolCommand ResolveGameTool(const std::string& gameRoot);

}  // namespace torvane::build
