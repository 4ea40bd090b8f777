#include "farcall/farcall_service.h"

#include "core/interaction.h"
#include "farcall/datagram_rules.h"

namespace torvane::farcall {

void FarcallService::OnDatagram(std::string_view datagram, std::string_view senderAddress,
                                const LaunchSettings& settings) {
    const std::string text = DatagramText(datagram);
    log_.AppendLine(ReceivedLogLine(senderAddress, text));
    switch (ClassifyCommand(text)) {
        case Command::StopServer: StopServer(); break;
        case Command::StartServer: StartServer(settings); break;
        case Command::None: break;
    }
}

void FarcallService::StartServer(const LaunchSettings& settings) {
    if (ServerLauncher::FindTool(settings.toolDirectory).empty()) {
        log_.AppendLine(" - Received Server Startup Command, but can't find UCC.EXE");
        return;
    }
    std::string error;
    if (launcher_.Start(settings.toolDirectory, settings.parameters, &error)) {
        log_.AppendLine(" - Server Started");
    } else {
        log_.AppendLine(" - Could not start UCC.EXE: " + error);
    }
}

void FarcallService::StopServer() {
    const int stopped = launcher_.StopAll();
    for (int i = 0; i < stopped; ++i) log_.AppendLine(" - Shutting down Server");
}

}  // namespace torvane::farcall
