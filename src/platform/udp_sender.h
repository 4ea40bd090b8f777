#pragma once

#include <string>
#include <string_view>

// Sends one datagram (no answer is awaited).
namespace torvane::platform {

// Throws std::runtime_error with the platform's text when the host is unknown or the send fails.
void SendDatagram(const std::string& host, int port, std::string_view bytes);

}  // namespace torvane::platform
