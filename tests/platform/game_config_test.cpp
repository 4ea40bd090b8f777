#include "platform/game_config.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace torvane::platform {
namespace {

using testing::TempDir;

TEST(GameConfigTest, WindowsInstallUsesTheGameRootCopy) {
    TempDir dir;
    dir.Write("ut/system/UnrealTournament.ini", "x");
    dir.Write("ut/system/UCC.exe", "MZ");
    dir.Write("home/.utpg/System/UnrealTournament.ini", "user");
    const auto location = FindGameConfigFile(dir.Path("ut"), dir.Path("home"));
    EXPECT_EQ(location.path, dir.Path("ut/system/UnrealTournament.ini"));
    EXPECT_EQ(location.source, GameConfigSource::GameRoot);
}

TEST(GameConfigTest, LinuxToolPrefersThePreferenceDirectory) {
    const struct {
        const char* tool;
        const char* userCopy;
    } cases[] = {
        {"ut/System64/ucc-bin-amd64", "home/.utpg/System/UnrealTournament.ini"},
        {"ut/System/ucc-bin", "home/.loki/ut/System/UnrealTournament.ini"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.Write("ut/System/UnrealTournament.ini", "root");
        dir.Write(c.tool, "\x7F" "ELF");
        dir.Write(c.userCopy, "user");
        const auto location = FindGameConfigFile(dir.Path("ut"), dir.Path("home"));
        EXPECT_EQ(location.path, dir.Path(c.userCopy)) << c.tool;
        EXPECT_EQ(location.source, GameConfigSource::UserPreferences);
        EXPECT_NE(DescribeGameConfig(location).find(dir.Path(c.userCopy)), std::string::npos);
    }
}

TEST(GameConfigTest, LinuxToolWithoutPreferenceDirectoryUsesTheRootCopy) {
    TempDir dir;
    dir.Write("ut/System/UnrealTournament.ini", "root");
    dir.Write("ut/System/ucc-bin", "\x7F" "ELF");
    const auto location = FindGameConfigFile(dir.Path("ut"), dir.Path("home"));
    EXPECT_EQ(location.path, dir.Path("ut/System/UnrealTournament.ini"));
    EXPECT_EQ(location.source, GameConfigSource::GameRoot);
}

}  // namespace
}  // namespace torvane::platform
