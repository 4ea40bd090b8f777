#pragma once

#include <string>
#include <string_view>

#include "farcall/server_launcher.h"

namespace torvane::core {
class OutputLog;
}

// The server launcher's reaction to datagrams, without the window.
namespace torvane::farcall {

// The live values of the window's two edits.
struct LaunchSettings {
    std::string toolDirectory;  // UCCPath
    std::string parameters;     // CmdLine
};

class FarcallService final {
public:
    explicit FarcallService(core::OutputLog& log) : log_(log) {}

    // One received datagram, with the sender's dotted address.
    void OnDatagram(std::string_view datagram, std::string_view senderAddress,
                    const LaunchSettings& settings);

    ServerLauncher& launcher() { return launcher_; }

private:
    void StartServer(const LaunchSettings& settings);
    void StopServer();

    core::OutputLog& log_;
    ServerLauncher launcher_;
};

}  // namespace torvane::farcall
