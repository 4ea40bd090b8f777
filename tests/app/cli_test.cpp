#include <gtest/gtest.h>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace torvane {
namespace {

using testing::RunCommand;
using testing::ShellQuote;

const std::string kCli = ShellQuote(TORVANE_CLI);

TEST(CliTest, HelpAndVersion) {
    const auto help = RunCommand(kCli + " --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("game-config"), std::string::npos);
    const auto version = RunCommand(kCli + " --version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "Torvane 4.0\n");
}

TEST(CliTest, UnknownCommandFailsWithAMessage) {
    const auto result = RunCommand(kCli + " frobnicate 2>&1");
    EXPECT_NE(result.exitCode, 0);
    EXPECT_FALSE(result.output.empty());
}

TEST(CliTest, IniGetAndSet) {
    testing::TempDir dir;
    const std::string file = dir.Write("T.ini", "; keep\r\n[A]\r\nx=1\r\n");
    EXPECT_EQ(RunCommand(kCli + " ini set " + ShellQuote(file) + " A y 'two words'").exitCode, 0);
    EXPECT_EQ(dir.Read("T.ini"), "; keep\r\n[A]\r\nx=1\r\ny=two words\r\n");
    EXPECT_EQ(RunCommand(kCli + " ini get " + ShellQuote(file) + " a Y").output, "two words\n");
}

TEST(CliTest, GameConfigNamesTheFileInUse) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    const auto result = RunCommand("HOME=" + ShellQuote(dir.path()) + " " + kCli +
                                   " game-config " + ShellQuote(root));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, root + "/System/UnrealTournament.ini\n");
    EXPECT_NE(RunCommand(kCli + " game-config " + ShellQuote(dir.Path("none")) + " 2>/dev/null")
                  .exitCode,
              0);
}

}  // namespace
}  // namespace torvane
