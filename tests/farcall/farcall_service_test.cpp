#include "farcall/farcall_service.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "farcall/farcall_settings.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::farcall {
namespace {

using testing::RecordingOutputLog;
using testing::TempDir;

class FarcallServiceTest : public ::testing::Test {
protected:
    void SetUp() override { root_ = testing::CopySampleGame(dir_); }
    void TearDown() override { service_.launcher().StopAll(); }

    TempDir dir_;
    std::string root_;
    RecordingOutputLog log_;
    FarcallService service_{log_};
};

TEST_F(FarcallServiceTest, TwoStartsStartTwoServersAndStopEndsBoth) {
    const LaunchSettings settings{root_ + "/system", "server DM-Demo?game=Botpack.DeathMatchPlus"};
    service_.OnDatagram("START_SERVER", "127.0.0.1", settings);
    service_.OnDatagram("start_server", "127.0.0.1", settings);
    EXPECT_EQ(service_.launcher().RunningCount(), 2);
    service_.OnDatagram("SERVER_STOP", "10.0.0.5", settings);
    EXPECT_EQ(service_.launcher().RunningCount(), 0);
    EXPECT_EQ(log_.lines(), (std::vector<std::string>{
                                "Received [127.0.0.1]: START_SERVER", " - Server Started",
                                "Received [127.0.0.1]: start_server", " - Server Started",
                                "Received [10.0.0.5]: SERVER_STOP", " - Shutting down Server",
                                " - Shutting down Server"}));
}

TEST_F(FarcallServiceTest, StopWithNoServerLogsOnlyTheDatagram) {
    service_.OnDatagram("server_stop", "10.0.0.5", {});
    EXPECT_EQ(log_.lines(), (std::vector<std::string>{"Received [10.0.0.5]: server_stop"}));
}

TEST_F(FarcallServiceTest, ServerThatEndedByItselfIsNotStoppedAgain) {
    // A tool that ends at once: a script standing in for UCC.EXE.
    dir_.Write("quick/UCC.EXE", "#!/bin/sh\nexit 0\n");
    ASSERT_EQ(::chmod(dir_.Path("quick/UCC.EXE").c_str(), 0755), 0);
    service_.OnDatagram("START_SERVER", "127.0.0.1", {dir_.Path("quick"), ""});
    for (int i = 0; i < 200 && service_.launcher().RunningCount() > 0; ++i) ::usleep(10000);
    service_.OnDatagram("SERVER_STOP", "127.0.0.1", {});
    EXPECT_EQ(log_.lines().back(), "Received [127.0.0.1]: SERVER_STOP");
}

TEST_F(FarcallServiceTest, MissingToolIsReported) {
    service_.OnDatagram("START_SERVER", "127.0.0.1", {dir_.Path("nowhere"), ""});
    EXPECT_EQ(log_.lines().back(), " - Received Server Startup Command, but can't find UCC.EXE");
    EXPECT_EQ(service_.launcher().RunningCount(), 0);
}

TEST_F(FarcallServiceTest, StartFollowedByLineEndIsOnlyLogged) {
    service_.OnDatagram("START_SERVER\r\n", "127.0.0.1", {root_ + "/System", "server"});
    EXPECT_EQ(log_.lines().size(), 1u);
    EXPECT_EQ(service_.launcher().RunningCount(), 0);
}

TEST(FarcallSettingsTest, RoundTripAndCut) {
    TempDir dir;
    const std::string file = dir.Path("Farcall.ini");
    EXPECT_EQ(ReadSettings(file).toolDirectory, "");
    WriteSettings({"/games/ut/System", std::string(300, 'p')}, file);
    const LaunchSettings read = ReadSettings(file);
    EXPECT_EQ(read.toolDirectory, "/games/ut/System");
    EXPECT_EQ(read.parameters, std::string(254, 'p'));
    EXPECT_EQ(dir.Read("Farcall.ini").substr(0, 36), "[Settings]\r\nUCCPath=/games/ut/System");
}

}  // namespace
}  // namespace torvane::farcall
