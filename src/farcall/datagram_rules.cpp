#include "farcall/datagram_rules.h"

#include "core/text.h"

namespace torvane::farcall {

std::string DatagramText(std::string_view datagram) {
    std::string_view used = datagram.substr(0, std::min(datagram.size(), kUsedBytes));
    const auto zero = used.find('\0');
    if (zero != std::string_view::npos) used = used.substr(0, zero);
    return std::string(used);
}

Command ClassifyCommand(std::string_view text) {
    const std::string upper = core::UpperCase(text);
    if (upper == "SERVER_STOP") return Command::StopServer;
    if (upper == "START_SERVER") return Command::StartServer;
    return Command::None;
}

std::string ReceivedLogLine(std::string_view senderAddress, std::string_view text) {
    return "Received [" + std::string(senderAddress) + "]: " + std::string(text);
}

}  // namespace torvane::farcall
