#include "shell/game_locator.h"

#include <gtest/gtest.h>

#include "platform/game_install_locator.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::shell {
namespace {

using testing::ScriptedPrompter;

class GameLocatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.Write("ut/system/Core.u", "c");
        dir_.Write("other/System/Core.u", "c");
        dir_.Write("nogame/readme.txt", "x");
    }
    FolderChooser Chooser(std::optional<std::string> answer) {
        return [this, answer] {
            ++chooserCalls_;
            return answer;
        };
    }
    testing::TempDir dir_;
    ScriptedPrompter prompter_;
    int chooserCalls_ = 0;
};

TEST_F(GameLocatorTest, StoredPathWithSystemIsTaken) {
    const auto location = LocateGame(dir_.Path("ut"), "", prompter_, Chooser(std::nullopt));
    ASSERT_TRUE(location);
    EXPECT_EQ(location->gameRoot, dir_.Path("ut"));
    EXPECT_FALSE(location->changed);
    EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(GameLocatorTest, LocatedInstallIsOfferedFirst) {
    prompter_.QueueAnswer(core::Answer::Yes);
    const auto location = LocateGame("", dir_.Path("other"), prompter_, Chooser(std::nullopt));
    ASSERT_TRUE(location);
    EXPECT_EQ(location->gameRoot, dir_.Path("other"));
    EXPECT_TRUE(location->changed);
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text,
              "Torvane needs to know where to find Unreal Tournament.  Do you wish to set your "
              "default UT path to \"" + dir_.Path("other") + "\"?");
    EXPECT_EQ(chooserCalls_, 0);
}

TEST_F(GameLocatorTest, NoGoesToTheFolderBrowser) {
    prompter_.QueueAnswer(core::Answer::No);
    const auto location =
        LocateGame(dir_.Path("nogame"), dir_.Path("other"), prompter_, Chooser(dir_.Path("ut")));
    ASSERT_TRUE(location);
    EXPECT_EQ(location->gameRoot, dir_.Path("ut"));
    EXPECT_EQ(chooserCalls_, 1);
}

TEST_F(GameLocatorTest, CancelledBrowserTellsTheUser) {
    EXPECT_FALSE(LocateGame("", "", prompter_, Chooser(std::nullopt)));
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, "Torvane doesn't work without UT!");
}

TEST_F(GameLocatorTest, WellKnownLocationsAreSearched) {
    dir_.Write("home/ut99/SYSTEM/Engine.u", "e");
    EXPECT_EQ(platform::LocateInstalledGame(dir_.Path("home")), dir_.Path("home/ut99"));
    EXPECT_TRUE(platform::HasSystemDirectory(dir_.Path("ut")));
    EXPECT_FALSE(platform::HasSystemDirectory(dir_.Path("nogame")));
}

}  // namespace
}  // namespace torvane::shell
