// The stand-in game tool honours the command lines, output forms and files the IDE relies on.
#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace torvane {
namespace {

using testing::RunCommand;
using testing::ShellQuote;

class UccStandInTest : public ::testing::Test {
protected:
    void SetUp() override { root_ = testing::CopySampleGame(dir_); }
    testing::CommandResult Ucc(const std::string& args) {
        return RunCommand("cd " + ShellQuote(root_ + "/System") + " && ./UCC.exe " + args);
    }
    testing::TempDir dir_;
    std::string root_;
};

TEST_F(UccStandInTest, MakeCompilesMissingPackagesInOrder) {
    const auto result = Ucc("make");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.output.find("--------------------Core--------------------\n"),
              std::string::npos);
    EXPECT_LT(result.output.find("----DemoLib----"), result.output.find("----DemoMod----"));
    EXPECT_NE(result.output.find("Parsing DemoMutator\n"), std::string::npos);
    EXPECT_NE(result.output.find("Success - 0 error(s), 0 warnings\n"), std::string::npos);
    for (const char* package : {"Core", "Engine", "DemoLib", "DemoMod"}) {
        const std::string bytes = dir_.Read(std::string("game/System/") + package + ".u");
        ASSERT_GE(bytes.size(), 64u) << package;
        EXPECT_EQ(bytes.substr(0, 4), "\xC1\x83\x2A\x9E");
    }
    EXPECT_NE(dir_.Read("game/System/ucc.log").find("Success"), std::string::npos);
}

TEST_F(UccStandInTest, MarkedLinesGiveErrorsAndWarningsAtTheirLines) {
    dir_.Write("game/DemoMod/Classes/Broken.uc",
               "class Broken extends Object;\r\n// STANDIN: ExecWarning, Import failed\r\n"
               "var int x;\r\n// STANDIN: Error, Bad or missing expression in '='\r\n");
    const auto result = Ucc("make");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("DemoMod\\Classes\\Broken.uc(2) : ExecWarning, Import failed\n"),
              std::string::npos);
    EXPECT_NE(result.output.find(
                  "DemoMod\\Classes\\Broken.uc(4) : Error, Bad or missing expression in '='\n"),
              std::string::npos);
    EXPECT_NE(result.output.find("Failed due to errors."), std::string::npos);
    EXPECT_TRUE(platform::FileExists(root_ + "/System/DemoLib.u"));
    EXPECT_FALSE(platform::FileExists(root_ + "/System/DemoMod.u"));
}

TEST_F(UccStandInTest, ExistingPackagesAreOnlyLoaded) {
    dir_.Write("game/System/DemoLib.u", "existing");
    ASSERT_EQ(Ucc("make").exitCode, 0);
    EXPECT_EQ(dir_.Read("game/System/DemoLib.u"), "existing");
}

TEST_F(UccStandInTest, PackageFlagSetsAndClearsTheFlagsWord) {
    ASSERT_EQ(Ucc("make").exitCode, 0);
    ASSERT_TRUE(platform::RenameFile(root_ + "/System/DemoMod.u", root_ + "/System/DemoMod.v"));
    const auto result = Ucc(
        "packageflag DemoMod.v DemoMod.u -AllowDownload +ClientOptional -ServerSideOnly "
        "+BrokenLinks -Unsecure");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    const std::string bytes = dir_.Read("game/System/DemoMod.u");
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 0x0Au);
    EXPECT_TRUE(platform::FileExists(root_ + "/System/DemoMod.v"));
}

TEST_F(UccStandInTest, ServerRunsUntilTerminated) {
    const auto result = RunCommand("cd " + ShellQuote(root_ + "/System") +
                                   " && (./UCC.exe server DM-Demo & pid=$!; sleep 0.3; "
                                   "kill -0 $pid && echo running; kill $pid; wait $pid; "
                                   "echo status=$?)");
    EXPECT_NE(result.output.find("running"), std::string::npos);
    EXPECT_NE(result.output.find("status=143"), std::string::npos);  // ended by SIGTERM
}

}  // namespace
}  // namespace torvane
