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

TEST_F(UccStandInTest, AChangedSourceGivesAChangedPackage) {
    ASSERT_EQ(Ucc("make").exitCode, 0);
    const std::string first = dir_.Read("game/System/DemoMod.u");
    platform::DeleteFile(root_ + "/System/DemoMod.u");
    dir_.Write("game/DemoMod/Classes/DemoPickup.uc", "class DemoPickup extends Inventory;\r\nvar int Edited;\r\n");
    ASSERT_EQ(Ucc("make").exitCode, 0);
    const std::string second = dir_.Read("game/System/DemoMod.u");
    EXPECT_EQ(first.size(), second.size());
    EXPECT_NE(first, second);
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

// Placed as System64/ucc-bin-amd64, the stand-in behaves as the current patch's Linux tool.
class LinuxUccStandInTest : public ::testing::Test {
protected:
    void SetUp() override { root_ = testing::CopyLinuxSampleGame(dir_); }
    testing::CommandResult Ucc(const std::string& args) {
        return RunCommand("cd " + ShellQuote(root_ + "/System64") + " && ./ucc-bin-amd64 " + args);
    }
    std::string UserFile(const std::string& name) const { return home_.PreferenceDirectory() + "/" + name; }
    testing::TempDir dir_;
    testing::TempHome home_;
    std::string root_;
};

TEST_F(LinuxUccStandInTest, ReadsTheIniBesideItselfAndWritesToThePreferenceDirectory) {
    const auto result = Ucc("make");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.rfind("WARNING: using preference directory: " + home_.PreferenceDirectory() + "/\n"
                                  "WARNING: Using system ini file: " + root_ + "/System64/UnrealTournament.ini\n"
                                  "WARNING: Using user ini file: " + root_ + "/System64/User.ini\n", 0),
              0u)
        << result.output;
    EXPECT_EQ(result.output.find("RelicsBindings"), std::string::npos);  // a comment line
    for (const char* package : {"Core", "Engine", "DemoLib", "DemoMod"}) {
        EXPECT_TRUE(platform::FileExists(UserFile(std::string(package) + ".u"))) << package;
        EXPECT_FALSE(platform::FileExists(root_ + "/System/" + package + ".u")) << package;
        EXPECT_FALSE(platform::FileExists(root_ + "/System64/" + package + ".u")) << package;
    }
    EXPECT_NE(platform::ReadWholeFile(UserFile("ucc.log")).find("Success"), std::string::npos);
}

TEST_F(LinuxUccStandInTest, APackageFoundInAnyOfItsFoldersIsOnlyLoaded) {
    dir_.Write("game/System/Core.u", "stock");
    const std::string stale = testing::WriteFile(UserFile("DemoMod.u"), "stale");
    dir_.Write("game/DemoMod/Classes/DemoPickup.uc", "class DemoPickup extends Inventory;\r\n// STANDIN: Error, never seen\r\n");
    const auto result = Ucc("make");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.output.find("Success - 0 error(s), 0 warnings"), std::string::npos);
    EXPECT_EQ(result.output.find("Compiling DemoPickup"), std::string::npos);
    EXPECT_EQ(platform::ReadWholeFile(stale), "stale");
    EXPECT_FALSE(platform::FileExists(UserFile("Core.u")));
    EXPECT_TRUE(platform::FileExists(UserFile("DemoLib.u")));
}

TEST_F(LinuxUccStandInTest, ThePerUserIniWinsAndIsCreatedFromDefaultIniWhenThereIsNone) {
    testing::WriteFile(UserFile("UnrealTournament.ini"), "[Editor.EditorEngine]\nEditPackages=DemoLib\n");
    auto result = Ucc("make");
    EXPECT_NE(result.output.find("WARNING: Using system ini file: " + UserFile("UnrealTournament.ini") + "\n"),
              std::string::npos);
    EXPECT_EQ(result.output.find("----Core----"), std::string::npos);
    EXPECT_NE(result.output.find("----DemoLib----"), std::string::npos);

    platform::DeleteFile(UserFile("UnrealTournament.ini"));
    platform::RenameFile(root_ + "/System64/UnrealTournament.ini", root_ + "/System64/Default.ini");
    result = Ucc("make");
    EXPECT_NE(result.output.find("WARNING: Using system ini file: " + UserFile("UnrealTournament.ini") + "\n"),
              std::string::npos);
    EXPECT_EQ(platform::ReadWholeFile(UserFile("UnrealTournament.ini")), dir_.Read("game/System64/Default.ini"));
    EXPECT_NE(result.output.find("----DemoMod----"), std::string::npos);
}

}  // namespace
}  // namespace torvane
