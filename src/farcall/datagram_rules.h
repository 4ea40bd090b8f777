#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What the server launcher makes of one datagram.
namespace torvane::farcall {

inline constexpr unsigned short kListenPort = 6995;
inline constexpr std::size_t kReceiveLimit = 2048;  // bytes taken from the socket per datagram
inline constexpr std::size_t kUsedBytes = 1024;     // bytes of those that are looked at

enum class Command { None, StartServer, StopServer };

// The first kUsedBytes bytes, up to the first zero byte.
std::string DatagramText(std::string_view datagram);

// The whole text upper-cased against "START_SERVER" and "SERVER_STOP".
Command ClassifyCommand(std::string_view text);

// "Received [" + sender + "]: " + text
std::string ReceivedLogLine(std::string_view senderAddress, std::string_view text);

}  // namespace torvane::farcall
