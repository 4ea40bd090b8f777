#include "farcall/datagram_rules.h"

#include <gtest/gtest.h>

namespace torvane::farcall {
namespace {

TEST(DatagramRulesTest, TextAndCommandOfADatagram) {
    const struct {
        std::string datagram;
        std::string text;
        Command command;
    } cases[] = {
        {"START_SERVER", "START_SERVER", Command::StartServer},
        {"start_server", "start_server", Command::StartServer},
        {"Server_Stop", "Server_Stop", Command::StopServer},
        {"START_SERVER\r\n", "START_SERVER\r\n", Command::None},
        {"SERVER_STOP ", "SERVER_STOP ", Command::None},
        {std::string("SERVER_STOP\0junk", 16), "SERVER_STOP", Command::StopServer},
        {std::string("\0SERVER_STOP", 12), "", Command::None},
        {"hello", "hello", Command::None},
        {"", "", Command::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DatagramText(c.datagram), c.text);
        EXPECT_EQ(ClassifyCommand(DatagramText(c.datagram)), c.command) << c.datagram;
    }
}

TEST(DatagramRulesTest, OnlyTheFirst1024BytesCount) {
    const std::string longOne = "START_SERVER" + std::string(2000, ' ');
    EXPECT_EQ(DatagramText(longOne).size(), 1024u);
    EXPECT_EQ(ClassifyCommand(DatagramText(longOne)), Command::None);
    EXPECT_EQ(DatagramText(std::string(1024, 'a') + std::string(1, '\0')).size(), 1024u);
}

TEST(DatagramRulesTest, LogLineNamesTheSender) {
    EXPECT_EQ(ReceivedLogLine("10.0.0.5", "server_stop"), "Received [10.0.0.5]: server_stop");
}

}  // namespace
}  // namespace torvane::farcall
