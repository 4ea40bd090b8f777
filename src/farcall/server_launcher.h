#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

// Starts the game's tool as a server and ends the servers it started.
namespace torvane::farcall {

class ServerLauncher final {
public:
    ServerLauncher() = default;
    ~ServerLauncher();  // servers still running are left running, as a started program would be
    ServerLauncher(const ServerLauncher&) = delete;
    ServerLauncher& operator=(const ServerLauncher&) = delete;

    // The tool's file in directory (dir + "\UCC.EXE", any letter case), or empty when absent.
    static std::string FindTool(std::string_view directory);

    // Starts the tool in directory with the parameters, not waited for. False when the tool is
    // not there or cannot be started (error then holds why).
    bool Start(std::string_view directory, std::string_view parameters, std::string* error);

    // Ends every started server that still runs, all at once (one grace period for all before
    // they are killed); returns how many were ended.
    int StopAll();
    void SetStopGrace(int milliseconds) { stopGraceMs_ = milliseconds; }

    // Servers started and still running.
    int RunningCount();

    // Reaps the servers that have ended (so none stays a zombie) and forgets them.
    void ReapEnded();

private:
    std::vector<pid_t> servers_;
    int stopGraceMs_ = 2000;
};

}  // namespace torvane::farcall
