// The user's own tools as a user reaches them: the Tools menu of the real main window, the
// tools dialog with its context menu, and the add dialog; real programs started and waited for.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/settings_file.h"
#include "shell/tadd_edit_tool.h"
#include "shell/tconfig_ext_tools.h"
#include "shell/tmain.h"
#include "shell/tprefs.h"
#include "support/qt_wait.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "support/window_state_recorder.h"
#include "workspace/tworkspace.h"

namespace torvane::shell {
namespace {

// Runs act on the modal dialog of type T once its exec() shows it.
template <class T>
void WhenShown(std::function<void(T&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        T* dialog = nullptr;
        const bool shown = testing::WaitUntil([&] {
            dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            return dialog && dialog->isVisible();
        });
        ASSERT_TRUE(shown);
        act(*dialog);
    });
}

class ToolsMenuTest : public ::testing::Test {
protected:
    void SetUp() override { game_ = testing::CopySampleGame(dir_); }

    // preferences: more lines of [Preferences]; sections: what follows it and [IDE]. Sections
    // the start-up adds go to the end of the file.
    void Start(const std::string& sections, const std::string& preferences = "") {
        windows_ = std::make_unique<AppWindows>(
            testing::GameOptions(dir_, prompter_, game_, preferences + "[IDE]\r\nMaximized=false\r\n" + sections));
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
    }
    TMain& main() { return windows_->main(); }
    SettingsFile& Settings() { return main().Settings(); }
    std::string Ini() const { return dir_.Read("prog/Torvane.ini"); }
    // The settings file before its Tools section (what the start-up wrote), and the Tools
    // section up to the [Notes] section that follows it.
    std::string BeforeTools() const {
        const std::string ini = Ini();
        return ini.substr(0, ini.find("[Tools]"));
    }
    std::string ToolsUpToNotes() const {
        const std::string ini = Ini();
        const std::size_t tools = ini.find("[Tools]");
        const std::size_t notes = ini.find("[Notes]\r\nKeep=3\r\n");
        if (tools == std::string::npos || notes == std::string::npos || notes < tools) return "(sections lost)";
        return ini.substr(tools, notes - tools);
    }
    // The Tools menu's captions, separators as "-".
    std::vector<QString> ToolsMenuCaptions() {
        std::vector<QString> captions;
        for (QAction* item : main().ToolsMenu()->actions()) {
            captions.push_back(item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        return captions;
    }
    QAction* ToolItem(int index) { return main().ToolsMenu()->actions().value(5 + index); }
    // A program that writes its parameters, one per line, to out.txt beside it.
    std::string RecordingProgram(const std::string& relative) {
        const std::string out = dir_.Path("out.txt");
        const std::string path =
            dir_.Write(relative, "#!/bin/sh\nsleep 0.1\nprintf '%s\\n' \"$@\" > '" + out + "'\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    std::string Recorded() const {
        return platform::FileExists(dir_.Path("out.txt")) ? dir_.Read("out.txt") : std::string("(not run)");
    }
    TConfigExtTools& ConfigTools() {
        return *static_cast<TConfigExtTools*>(windows_->Window(QStringLiteral("TConfigExtTools")));
    }
    TAddEditTool& AddEditTool() {
        return *static_cast<TAddEditTool*>(windows_->Window(QStringLiteral("TAddEditTool")));
    }
    QAction* ConfigureCommand() { return main().Commands().Command(cmd::kConfigureTools); }
    std::vector<std::pair<QString, QString>> Rows(const TConfigExtTools& dialog) {
        std::vector<std::pair<QString, QString>> rows;
        QTreeWidget* list = dialog.ToolList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            rows.emplace_back(list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1));
        }
        return rows;
    }
    // Fills in the add dialog and presses its OK button.
    static void EnterTool(TAddEditTool& dialog, const QString& description, const QString& commandLine) {
        dialog.DescriptionEdit()->clear();
        QTest::keyClicks(dialog.DescriptionEdit(), description);
        dialog.ExecuteEdit()->clear();
        QTest::keyClicks(dialog.ExecuteEdit(), commandLine);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    }
    static QPushButton* Button(QDialog& dialog, const QString& text) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text().remove(QLatin1Char('&')) == text) return button;
        }
        return nullptr;
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<AppWindows> windows_;
};

TEST_F(ToolsMenuTest, StartUpListsTheToolsUpToTheFirstEmptyDescription) {
    Start("[Tools]\r\nTool0=Lint & Fix\r\nToolExec0=lint.sh\r\nTool1=Docs\r\nToolExec1=@MACRO ECHO x\r\n"
          "Tool3=Stale\r\nToolExec3=stale.sh\r\n");
    const std::vector<QString> expected = {"Editor Preferences...", "Enviroment Options...", "-",
                                           "Configure External Tools...", "-", "Lint && Fix", "Docs"};
    EXPECT_EQ(ToolsMenuCaptions(), expected);
    EXPECT_EQ(ToolItem(1)->statusTip(), "@MACRO ECHO x");
    EXPECT_TRUE(ConfigureCommand()->isEnabled());
    EXPECT_TRUE(ToolItem(0)->isEnabled());
}

TEST_F(ToolsMenuTest, AProgramRunsAsStoredAtTheClickWhileTheIdeIsMinimised) {
    RecordingProgram("my");
    Start("[Tools]\r\nTool0=Record\r\nToolExec0=" + dir_.Path("other") + "\r\n");
    testing::WindowStateRecorder states(main());
    // The command line is read when the item is chosen; the path with a blank is cut there.
    Settings().WriteIniString("Tools", "ToolExec0", dir_.Path("my tools/run.sh -x \"a b\""));
    ToolItem(0)->trigger();
    EXPECT_EQ(Recorded(), "tools/run.sh\n-x\na b\n");
    EXPECT_EQ(states.minimized, (std::vector<bool>{true, false}));
    EXPECT_FALSE(main().isMinimized());
    EXPECT_TRUE(prompter_.shown().empty());

    // Without "Minimize Editor when running UT" the window stays as it is.
    Preferences preferences = windows_->prefs().Current();
    preferences.minimizeOnRun = false;
    windows_->prefs().Apply(preferences);
    platform::DeleteFile(dir_.Path("out.txt"));
    states.minimized.clear();
    ToolItem(0)->trigger();
    EXPECT_EQ(Recorded(), "tools/run.sh\n-x\na b\n");
    EXPECT_TRUE(states.minimized.empty());
}

TEST_F(ToolsMenuTest, AProgramThatCannotStartAndAnEmptyCommandShowNothing) {
    Start("[Tools]\r\nTool0=Missing\r\nToolExec0=" + dir_.Path("no/such/program") +
          " x\r\nTool1=Empty\r\nToolExec1=\r\n");
    const int logLines = main().OutputLogWidget()->count();
    ToolItem(0)->trigger();
    ToolItem(1)->trigger();
    EXPECT_TRUE(prompter_.shown().empty());
    EXPECT_EQ(main().OutputLogWidget()->count(), logLines);
    EXPECT_FALSE(main().Busy().Busy());
    EXPECT_FALSE(main().isMinimized());
}

TEST_F(ToolsMenuTest, AMacroRunsItsLineThroughTheScriptInterpreterWithTheTokens) {
    Start("[Tools]\r\nTool0=Where\r\nToolExec0=@macro ECHO %UTPATH% %GREETING%\r\n"
          "Tool1=Broken\r\nToolExec1=@MACRO SLEEP soon\r\n",
          "Token0=GREETING\r\nTokenValue0=hello\r\nToken1=\r\nTokenValue1=\r\n");
    auto& workspace = *static_cast<workspace::TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace")));
    ToolItem(0)->trigger();
    QListWidget* log = main().OutputLogWidget();
    ASSERT_GT(log->count(), 0);
    EXPECT_EQ(log->item(log->count() - 1)->text().toStdString(), game_ + " HELLO");
    EXPECT_EQ(workspace.Status()->text(), "Performing Macro");
    EXPECT_TRUE(prompter_.shown().empty());

    // An error that ends the script ends the command with the error box.
    ToolItem(1)->trigger();
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].kind, testing::ShownMessage::Kind::Error);
    EXPECT_EQ(prompter_.shown()[0].text, "'soon' is not a valid integer value");
    EXPECT_FALSE(main().Busy().Busy());
}

TEST_F(ToolsMenuTest, ToolsAreRefusedWhileACompileOrScriptRuns) {
    RecordingProgram("record.sh");
    Start("[Tools]\r\nTool0=Record\r\nToolExec0=" + dir_.Path("record.sh") +
          " now\r\nTool1=Macro\r\nToolExec1=@MACRO ECHO macro ran\r\n");
    const int logLines = main().OutputLogWidget()->count();
    {
        const BusyState::Scope busy(main().Busy());
        EXPECT_FALSE(ToolItem(0)->isEnabled());
        EXPECT_FALSE(ToolItem(1)->isEnabled());
        // Reached without the menu (a signal), they refuse as well.
        main().ToolLaunch(0);
        main().ToolLaunch(1);
        EXPECT_EQ(Recorded(), "(not run)");
        EXPECT_EQ(main().OutputLogWidget()->count(), logLines);
    }
    EXPECT_TRUE(ToolItem(0)->isEnabled());
    ToolItem(0)->trigger();
    EXPECT_EQ(Recorded(), "now\n");
}

TEST_F(ToolsMenuTest, TheDialogAddsEditsAndRemovesRowsAndOkRewritesTheSection) {
    Start("[Tools]\r\nTool0=Lint\r\nToolExec0=lint.sh -q\r\nTool1=Docs\r\nToolExec1=docs.sh\r\n"
          "Tool2=Old\r\nToolExec2=old.sh\r\n\r\n[Notes]\r\nKeep=3\r\n");
    std::vector<std::pair<QString, QString>> loaded;
    WhenShown<TConfigExtTools>([&](TConfigExtTools& dialog) {
        loaded = Rows(dialog);
        QTreeWidget* list = dialog.ToolList();
        EXPECT_EQ(list->headerItem()->text(0), "Description");
        EXPECT_EQ(list->headerItem()->text(1), "Execute");
        // Add: the add dialog comes preset; OK appends the row.
        WhenShown<TAddEditTool>([](TAddEditTool& add) {
            EXPECT_EQ(add.windowTitle(), "Add | Edit Tool...");
            EXPECT_EQ(add.DescriptionEdit()->text(), "<Enter Description>");
            EXPECT_EQ(add.ExecuteEdit()->text(), "<Enter Filepath + CommandLine>");
            EnterTool(add, "Echo root", "@macro ECHO %UTPATH%");
        });
        dialog.AddAction()->trigger();
        // Edit the first row (double-click), then remove the two rows after it.
        WhenShown<TAddEditTool>([](TAddEditTool& edit) {
            EXPECT_EQ(edit.DescriptionEdit()->text(), "Lint");
            EXPECT_EQ(edit.ExecuteEdit()->text(), "lint.sh -q");
            EnterTool(edit, "Lint all", "lint.sh -a");
        });
        // A double-click as the window system delivers it: press, release, double-click, release.
        const QPoint first = list->visualItemRect(list->topLevelItem(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, first);
        list->clearSelection();
        list->topLevelItem(1)->setSelected(true);
        list->topLevelItem(2)->setSelected(true);
        EXPECT_FALSE(dialog.EditAction()->isEnabled());  // edits one row at a time
        ASSERT_TRUE(dialog.RemoveAction()->isEnabled());
        dialog.RemoveAction()->trigger();
        QTest::mouseClick(Button(dialog, "OK"), Qt::LeftButton);
    });
    const std::string head = BeforeTools();
    ConfigureCommand()->trigger();
    const std::vector<std::pair<QString, QString>> stored = {
        {"Lint", "lint.sh -q"}, {"Docs", "docs.sh"}, {"Old", "old.sh"}};
    EXPECT_EQ(loaded, stored);
    EXPECT_FALSE(ConfigTools().isVisible());
    EXPECT_EQ(BeforeTools(), head);
    EXPECT_EQ(ToolsUpToNotes(), "[Tools]\r\nTool0=Lint all\r\nToolExec0=lint.sh -a\r\n"
                                "Tool1=Echo root\r\nToolExec1=@macro ECHO %UTPATH%\r\n\r\n");
    const std::vector<QString> menu = {"Editor Preferences...", "Enviroment Options...", "-",
                                       "Configure External Tools...", "-", "Lint all", "Echo root"};
    EXPECT_EQ(ToolsMenuCaptions(), menu);
    // The new macro runs from its menu item.
    ToolItem(1)->trigger();
    QListWidget* log = main().OutputLogWidget();
    EXPECT_EQ(log->item(log->count() - 1)->text().toStdString(), game_);
    EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(ToolsMenuTest, CancelKeepsTheFileAndTheNextOpeningReloadsIt) {
    Start("[Tools]\r\nTool0=Lint\r\nToolExec0=lint.sh\r\n");
    const std::string before = Ini();
    WhenShown<TConfigExtTools>([](TConfigExtTools& dialog) {
        dialog.ToolList()->topLevelItem(0)->setSelected(true);
        dialog.RemoveAction()->trigger();
        EXPECT_EQ(dialog.ToolList()->topLevelItemCount(), 0);
        EXPECT_FALSE(dialog.RemoveAction()->isEnabled());  // nothing left to remove
        QTest::mouseClick(Button(dialog, "Cancel"), Qt::LeftButton);
    });
    ConfigureCommand()->trigger();
    EXPECT_EQ(Ini(), before);
    EXPECT_EQ(ToolsMenuCaptions().size(), 6u);
    int rows = -1;
    WhenShown<TConfigExtTools>([&](TConfigExtTools& dialog) {
        rows = dialog.ToolList()->topLevelItemCount();
        dialog.reject();
    });
    ConfigureCommand()->trigger();
    EXPECT_EQ(rows, 1);
}

TEST_F(ToolsMenuTest, RemovingEveryToolLeavesTheHeaderAndOneEmptyLine) {
    Start("[Tools]\r\nTool0=A\r\nToolExec0=a\r\nTool1=B\r\nToolExec1=b\r\n[Notes]\r\nKeep=3\r\n");
    WhenShown<TConfigExtTools>([](TConfigExtTools& dialog) {
        dialog.ToolList()->selectAll();
        dialog.RemoveAction()->trigger();
        dialog.accept();
    });
    const std::string head = BeforeTools();
    ConfigureCommand()->trigger();
    EXPECT_EQ(BeforeTools(), head);
    EXPECT_EQ(ToolsUpToNotes(), "[Tools]\r\n\r\n");
    EXPECT_EQ(ToolsMenuCaptions().size(), 5u);
}

TEST_F(ToolsMenuTest, TheContextMenuOffersAddEditAndRemove) {
    Start("[Tools]\r\nTool0=A\r\nToolExec0=a\r\n");
    QStringList captions;
    WhenShown<TConfigExtTools>([&](TConfigExtTools& dialog) {
        QTreeWidget* list = dialog.ToolList();
        EXPECT_EQ(dialog.windowTitle(), "Configure External Tools...");
        EXPECT_TRUE(dialog.findChild<QLabel*>() != nullptr);
        EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Right-Click for Add/Edit/Remove options");
        // The columns follow the list's width on every resize.
        dialog.resize(640, 360);
        ASSERT_TRUE(testing::WaitUntil([&] { return list->columnWidth(0) == list->width() / 4; }));
        EXPECT_EQ(list->columnWidth(1), (list->width() / 4) * 3 - 15);
        // A right-click on the list shows its menu; Escape closes it.
        QTimer::singleShot(0, [&captions] {
            ASSERT_TRUE(testing::WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* item : menu->actions()) captions << item->text();
            QTest::keyClick(menu, Qt::Key_Escape);
        });
        const QPoint at = list->visualItemRect(list->topLevelItem(0)).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &click);
        dialog.reject();
    });
    ConfigureCommand()->trigger();
    EXPECT_EQ(captions, (QStringList{"Add New Tool", "Edit Tool", "Remove Tool"}));
}

TEST_F(ToolsMenuTest, AFileThatCannotBeWrittenIsReportedAndTheRowsStay) {
    Start("[Tools]\r\nTool0=A\r\nToolExec0=a\r\n");
    bool stillOpen = false;
    int rows = 0;
    WhenShown<TConfigExtTools>([&](TConfigExtTools& dialog) {
        // The settings file is replaced by a directory of that name: it can be neither read
        // as text nor replaced.
        platform::DeleteFile(dir_.Path("prog/Torvane.ini"));
        platform::CreateDirectories(dir_.Path("prog/Torvane.ini"));
        dialog.accept();
        stillOpen = dialog.isVisible();
        rows = dialog.ToolList()->topLevelItemCount();
        dialog.reject();
    });
    ConfigureCommand()->trigger();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(rows, 1);
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].kind, testing::ShownMessage::Kind::Error);
    EXPECT_TRUE(platform::DirectoryExists(dir_.Path("prog/Torvane.ini")));
    EXPECT_EQ(ToolsMenuCaptions().size(), 6u);  // the menu was not rebuilt
}

TEST_F(ToolsMenuTest, TheAddDialogNeedsADescriptionAndBrowsesTheGamesSystemDirectory) {
    Start("");
    const std::string system = game_ + "/System";
    testing::WriteFile(system + "/Setup.EXE", "MZ");
    WhenShown<TConfigExtTools>([&](TConfigExtTools& dialog) {
        WhenShown<TAddEditTool>([&](TAddEditTool& add) {
            // A blank description would end the stored list there.
            add.DescriptionEdit()->clear();
            QTest::keyClicks(add.DescriptionEdit(), "   ");
            EXPECT_FALSE(add.OkButton()->isEnabled());
            QTest::keyClicks(add.DescriptionEdit(), "Setup");
            EXPECT_TRUE(add.OkButton()->isEnabled());
            // No longer than the settings file reads back.
            add.ExecuteEdit()->clear();
            QTest::keyClicks(add.ExecuteEdit(), QString(300, QLatin1Char('x')));
            EXPECT_EQ(add.ExecuteEdit()->text().size(), 254);
            // The browse button's open dialog starts in System and lists Windows programs in
            // any letter case.
            WhenShown<QFileDialog>([&](QFileDialog& open) {
                EXPECT_EQ(open.directory().absolutePath().toStdString(), system);
                EXPECT_EQ(open.nameFilters(), TAddEditTool::BrowseFilters());
                EXPECT_EQ(open.nameFilters().value(0), "Executables (*.EXE)");
                EXPECT_FALSE(open.filter().testFlag(QDir::CaseSensitive));
                open.selectFile(QString::fromStdString(system + "/Setup.EXE"));
                static_cast<QDialog&>(open).accept();  // QFileDialog checks the choice
            });
            QTest::mouseClick(add.BrowseButton(), Qt::LeftButton);
            EXPECT_EQ(add.ExecuteEdit()->text().toStdString(), system + "/Setup.EXE");
            QTest::mouseClick(add.OkButton(), Qt::LeftButton);
        });
        dialog.AddAction()->trigger();
        dialog.accept();
    });
    ConfigureCommand()->trigger();
    EXPECT_EQ(Settings().ReadIniString("Tools", "Tool0", ""), "Setup");
    EXPECT_EQ(Settings().ReadIniString("Tools", "ToolExec0", ""), system + "/Setup.EXE");
    EXPECT_EQ(ToolsMenuCaptions().back(), "Setup");
}

}  // namespace
}  // namespace torvane::shell
