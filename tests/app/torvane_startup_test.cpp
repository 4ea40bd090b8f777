// The IDE's start-up measurement, run as a user runs it: the program started on a game tree with
// "--startup-time" reports how long it took to show the filled class trees, and quits.
#include <filesystem>
#include <regex>

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace torvane {
namespace {

using testing::RunCommand;
using testing::ShellQuote;

// A copy of the program in a directory of its own, which is where it keeps its files.
std::string ProgramCopy(const testing::TempDir& dir) {
    const std::filesystem::path copy = std::filesystem::path(dir.path()) / "Torvane";
    std::error_code error;
    std::filesystem::create_hard_link(TORVANE_GUI_PROGRAM, copy, error);
    if (error) std::filesystem::copy_file(TORVANE_GUI_PROGRAM, copy);
    return copy.string();
}

TEST(TorvaneStartupTest, ReportsTheStartupTimeAndQuits) {
    testing::TempHome home;
    testing::TempDir gameDir;
    testing::TempDir programDir;
    const std::string game = testing::CopySampleGame(gameDir);
    const std::string program = ShellQuote(ProgramCopy(programDir));
    const std::regex report("Start-up: [0-9]+ ms\n");
    // A bound on the whole run, so that a question asked at start-up fails the test instead of
    // waiting for an answer no one gives.
    const auto cold = RunCommand("timeout 60 " + program + " --startup-time --game-root " +
                                 ShellQuote(game) + " 2>/dev/null");
    EXPECT_EQ(cold.exitCode, 0);
    EXPECT_TRUE(std::regex_match(cold.output, report)) << cold.output;
    EXPECT_TRUE(platform::FileExists(programDir.Path("Classes.ucd")));  // built and saved

    const auto warm = RunCommand("timeout 60 " + program + " --startup-time 2>/dev/null");
    EXPECT_EQ(warm.exitCode, 0);
    EXPECT_TRUE(std::regex_match(warm.output, report)) << warm.output;
    EXPECT_NE(programDir.Read("Torvane.log").find("Game configuration: "), std::string::npos);
}

}  // namespace
}  // namespace torvane
