#include "shell/preferences.h"

#include <gtest/gtest.h>

#include "shell/settings_file.h"
#include "support/temp_dir.h"

namespace torvane::shell {
namespace {

TEST(PreferencesTest, DefaultsWhenTheFileIsMissing) {
    testing::TempDir dir;
    const SettingsFile settings(dir.Path("Torvane.ini"));
    const Preferences p = LoadPreferences(settings, dir.Path("NewClass.ucd"));
    EXPECT_EQ(p.utPath, "");
    EXPECT_TRUE(p.autoSave);
    EXPECT_TRUE(p.minimizeOnRun);
    EXPECT_FALSE(p.limitPopups);
    EXPECT_TRUE(p.autoLoadProject);
    EXPECT_TRUE(p.autoCloseCompile);
    EXPECT_TRUE(p.autoExpand);
    EXPECT_TRUE(p.tokens.empty());
    ASSERT_EQ(p.headerTemplate.size(), 6u);
    EXPECT_EQ(p.headerTemplate[0], "// " + std::string(68, '='));
    EXPECT_EQ(p.headerTemplate[1], "//  Class:  <@PACK>.<@CLASS>");
    EXPECT_EQ(p.headerTemplate[5], p.headerTemplate[0]);
}

TEST(PreferencesTest, TokenListStopsAtTheFirstEmptyName) {
    testing::TempDir dir;
    const SettingsFile settings(dir.Write(
        "Torvane.ini",
        "[Preferences]\r\nToken0=A\r\nTokenValue0=1\r\nToken1=\r\nToken2=B\r\nTokenValue2=2\r\n"));
    const Preferences p = LoadPreferences(settings, dir.Path("NewClass.ucd"));
    ASSERT_EQ(p.tokens.size(), 1u);
    EXPECT_EQ(p.tokens[0].name, "A");
    EXPECT_EQ(p.tokens[0].value, "1");
}

TEST(PreferencesTest, SavingFewerTokensEndsTheListWithAnEmptyPair) {
    testing::TempDir dir;
    SettingsFile settings(dir.Write(
        "Torvane.ini", "[Preferences]\r\nToken0=A\r\nTokenValue0=1\r\nToken1=B\r\nTokenValue1=2\r\n"
                       "Token2=C\r\nTokenValue2=3\r\nToken3=D\r\nTokenValue3=4\r\n"));
    Preferences p = LoadPreferences(settings, dir.Path("NewClass.ucd"));
    ASSERT_EQ(p.tokens.size(), 4u);
    p.tokens.resize(2);
    p.headerTemplate = {"// <@CLASS>", "// by me"};
    SavePreferences(p, settings, dir.Path("NewClass.ucd"));
    const std::string file = dir.Read("Torvane.ini");
    EXPECT_NE(file.find("Token2=\r\nTokenValue2=\r\nToken3=D\r\nTokenValue3=4\r\n"), std::string::npos)
        << file;
    EXPECT_NE(file.find("AutoSaveDSK=true\r\n"), std::string::npos);
    const Preferences again = LoadPreferences(settings, dir.Path("NewClass.ucd"));
    EXPECT_EQ(again.tokens.size(), 2u);
    EXPECT_EQ(dir.Read("NewClass.ucd"), "// <@CLASS>\r\n// by me\r\n");
    EXPECT_EQ(again.headerTemplate, p.headerTemplate);
}

TEST(PreferencesTest, AddOrUpdateIgnoresCase) {
    std::vector<Token> tokens = {{"server", "old"}};
    EXPECT_EQ(AddOrUpdateToken(tokens, "SERVER", "new"), 0);
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].name, "server");
    EXPECT_EQ(tokens[0].value, "new");
    EXPECT_EQ(AddOrUpdateToken(tokens, "MAP", "DM-Deck16]["), 1);
    EXPECT_EQ(TokenLines(tokens), (std::vector<std::string>{"server=new", "MAP=DM-Deck16]["}));
}

}  // namespace
}  // namespace torvane::shell
