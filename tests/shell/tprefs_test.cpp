#include "shell/tprefs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "shell/settings_file.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::shell {
namespace {

class TPrefsTest : public ::testing::Test {
protected:
    testing::TempDir dir_;
    testing::ScriptedPrompter prompter_;
    TPrefs prefs_{prompter_};
};

TEST_F(TPrefsTest, TokenEditorRules) {
    SettingsFile settings(dir_.Write("Torvane.ini",
                                     "[Preferences]\r\nToken0=server\r\nTokenValue0=old\r\n"));
    prefs_.LoadPreferences(settings, dir_.Path("NewClass.ucd"));
    QTest::keyClicks(prefs_.TokenNameEdit(), "server");
    EXPECT_EQ(prefs_.TokenNameEdit()->text(), "SERVER");
    QTest::keyClicks(prefs_.TokenValueEdit(), "new");
    QTest::keyClick(prefs_.TokenValueEdit(), Qt::Key_Return);  // as Add / Update
    ASSERT_EQ(prefs_.TokenList()->topLevelItemCount(), 1);
    EXPECT_EQ(prefs_.TokenList()->topLevelItem(0)->text(0), "server");
    EXPECT_EQ(prefs_.TokenList()->topLevelItem(0)->text(1), "new");

    prefs_.TokenNameEdit()->setText("MAP");
    prefs_.TokenValueEdit()->setText("DM-Demo");
    QTest::mouseClick(prefs_.AddUpdateButton(), Qt::LeftButton);
    EXPECT_EQ(prefs_.TokenList()->topLevelItemCount(), 2);

    prompter_.QueueAnswer(core::Answer::No);
    QTest::mouseClick(prefs_.ClearButton(), Qt::LeftButton);
    EXPECT_EQ(prefs_.TokenList()->topLevelItemCount(), 2);
    EXPECT_EQ(prompter_.shown().back().text, "Clear the tokens... are you sure");
    prompter_.QueueAnswer(core::Answer::Yes);
    QTest::mouseClick(prefs_.ClearButton(), Qt::LeftButton);
    EXPECT_EQ(prefs_.TokenList()->topLevelItemCount(), 0);
}

TEST_F(TPrefsTest, SaveAndLoadRoundTrip) {
    SettingsFile settings(dir_.Path("Torvane.ini"));
    prefs_.LoadPreferences(settings, dir_.Path("NewClass.ucd"));
    EXPECT_EQ(prefs_.HeaderTemplate()->toPlainText().count('\n'), 5);
    prefs_.UTPath()->setText("/games/ut");
    prefs_.LimitPopups()->setChecked(true);
    prefs_.SavePreferences(settings, dir_.Path("NewClass.ucd"));
    TPrefs other(prompter_);
    other.LoadPreferences(settings, dir_.Path("NewClass.ucd"));
    EXPECT_EQ(other.UTPath()->text(), "/games/ut");
    EXPECT_TRUE(other.LimitPopups()->isChecked());
    EXPECT_EQ(other.HeaderTemplate()->toPlainText(), prefs_.HeaderTemplate()->toPlainText());
}

TEST_F(TPrefsTest, ShowInfoMessageHonoursLimitPopups) {
    prefs_.ShowInfoMessage("Class deleted!");
    prefs_.LimitPopups()->setChecked(true);
    prefs_.ShowInfoMessage("Aborted.");
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, "Class deleted!");
}

}  // namespace
}  // namespace torvane::shell
