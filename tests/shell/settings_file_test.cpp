#include "shell/settings_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace torvane::shell {
namespace {

TEST(SettingsFileTest, BooleansAreTrueOnlyForTrueInAnyCase) {
    testing::TempDir dir;
    SettingsFile settings(dir.Write("Torvane.ini",
                                    "[IDE]\r\nA=TRUE\r\nB=True\r\nC=yes\r\nD=1\r\nE=false\r\n"));
    EXPECT_TRUE(settings.ReadIniBool("IDE", "A", false));
    EXPECT_TRUE(settings.ReadIniBool("IDE", "B", false));
    EXPECT_FALSE(settings.ReadIniBool("IDE", "C", true));
    EXPECT_FALSE(settings.ReadIniBool("IDE", "D", true));
    EXPECT_FALSE(settings.ReadIniBool("IDE", "E", true));
    EXPECT_TRUE(settings.ReadIniBool("IDE", "Missing", true));
    EXPECT_FALSE(settings.ReadIniBool("IDE", "Missing", false));
}

TEST(SettingsFileTest, IntegersUseTheStandardConversion) {
    testing::TempDir dir;
    SettingsFile settings(dir.Write("Torvane.ini", "[W]\r\nTab=-3\r\nHex=$1F\r\nBad=12px\r\n"));
    EXPECT_EQ(settings.ReadIniInteger("W", "Tab", 0), -3);
    EXPECT_EQ(settings.ReadIniInteger("W", "Hex", 0), 31);
    EXPECT_EQ(settings.ReadIniInteger("W", "Missing", 290), 290);
    try {
        settings.ReadIniInteger("W", "Bad", 0);
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'12px' is not a valid integer value");
    }
    for (const char* bad : {"", " ", "1.5", "abc", "99999999999", "+"}) {
        EXPECT_THROW(StrToInt(bad), ConversionError) << bad;
    }
    EXPECT_EQ(StrToInt(" 42 "), 42);
    EXPECT_EQ(StrToInt("0x10"), 16);
}

TEST(SettingsFileTest, WritesDecimalAndLowerCaseBooleans) {
    testing::TempDir dir;
    SettingsFile settings(dir.Path("Torvane.ini"));
    settings.WriteIniInteger("IDE", "Left", -1);
    settings.WriteIniBool("IDE", "Maximized", true);
    settings.WriteIniString("Preferences", "UTPath", "/games/ut");
    EXPECT_EQ(dir.Read("Torvane.ini"),
              "[IDE]\r\nLeft=-1\r\nMaximized=true\r\n[Preferences]\r\nUTPath=/games/ut\r\n");
    EXPECT_EQ(settings.ReadIniString("preferences", "utpath", ""), "/games/ut");
}

}  // namespace
}  // namespace torvane::shell
