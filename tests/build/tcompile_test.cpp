// Compiles from the windows: the progress dialog, the jump to the first error, the log.
#include "build/tcompile.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "build/compile_controller.h"
#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::build {
namespace {

class TCompileTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = testing::CopySampleGame(dir_);
        platform::CreateDirectories(dir_.Path("prog"));
        dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n");
        shell::TMainOptions options;
        options.paths = {dir_.Path("prog"), dir_.Path("prog")};
        options.prompter = &prompter_;
        options.terminate = [](int) {};
        windows_ = std::make_unique<shell::AppWindows>(std::move(options));
        windows_->main().Timer1Timer();
        windows_->compiles().SetRebuildConfirmation([this](const std::vector<std::string>& packages) {
            rebuilt_ = packages;
            return true;
        });
    }
    TCompile& Progress() { return *static_cast<TCompile*>(windows_->Window(QStringLiteral("TCompile"))); }
    // Presses OK once the tool has finished (the dialog waits when there were errors).
    void PressOkWhenFinished() {
        auto* timer = new QTimer(&windows_->main());
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer] {
            if (!Progress().Running() && Progress().Button1()->text() == "OK" && Progress().isVisible()) {
                Progress().Button1()->click();
                timer->deleteLater();
            }
        });
        timer->start(50);
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<shell::AppWindows> windows_;
    std::vector<std::string> rebuilt_;
};

TEST_F(TCompileTest, CleanCompileClosesByItself) {
    windows_->main().Commands().Command(shell::cmd::kCompile)->trigger();
    EXPECT_EQ(rebuilt_, (std::vector<std::string>{"DemoLib", "DemoMod"}));
    EXPECT_EQ(Progress().CurrentTitle()->text(), "Finished!");
    EXPECT_EQ(Progress().UCErrors()->text(), "0 Errors");
    EXPECT_EQ(Progress().Button1()->text(), "OK");
    EXPECT_FALSE(Progress().isVisible());
    QListWidget* log = windows_->main().OutputLogWidget();
    EXPECT_EQ(log->item(log->count() - 1)->text(), "Success - 0 error(s), 0 warnings");
    EXPECT_TRUE(platform::FileExists(game_ + "/System/DemoMod.u"));
    EXPECT_EQ(windows_->compiles().State().errorCount, 0);
}

TEST_F(TCompileTest, ErrorsKeepTheDialogAndOpenTheFirstAtItsLine) {
    dir_.Write("game/DemoMod/Classes/DemoPickup.uc",
               "class DemoPickup extends Inventory;\r\n\r\n// STANDIN: Error, first\r\n"
               "// STANDIN: Error, second\r\n// STANDIN: Error, third\r\n");
    PressOkWhenFinished();
    windows_->main().Commands().Command(shell::cmd::kCompile)->trigger();
    EXPECT_EQ(Progress().CurrentTitle()->text(), "Finished, but there were errors!");
    EXPECT_EQ(Progress().UCErrors()->text(), "3 Errors");
    EXPECT_EQ(Progress().Status()->text(), " first");
    EXPECT_EQ(windows_->compiles().State().errorCount, 3);
    editor::TEditor* editor = windows_->main().ActiveEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->ClassName(), "DemoPickup");
    int line = 0, index = 0;
    editor->Memo1()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 2);
    QListWidget* log = windows_->main().OutputLogWidget();
    ASSERT_NE(log->currentItem(), nullptr);
    EXPECT_EQ(log->currentItem()->text(), "DemoMod\\Classes\\DemoPickup.uc(3) : Error, first");

    // A double-click on the second error goes to its line.
    for (int i = 0; i < log->count(); ++i) {
        if (log->item(i)->text().contains("second")) windows_->compiles().OutputLogDblClick(log->item(i));
    }
    windows_->main().ActiveEditor()->Memo1()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 3);
}

TEST_F(TCompileTest, OtherToolsFileLineFormOpensTheFile) {
    dir_.Write("game/notes.txt", "one\r\ntwo\r\nthree\r\n");
    windows_->main().AddLogLine("notes.txt(3): something happened");
    QListWidget* log = windows_->main().OutputLogWidget();
    windows_->compiles().OutputLogDblClick(log->item(log->count() - 1));
    ASSERT_NE(windows_->main().ActiveEditor(), nullptr);
    EXPECT_EQ(windows_->main().ActiveEditor()->Caption(), game_ + "/notes.txt");
    int lineFrom = 0, indexFrom = 0, lineTo = 0, indexTo = 0;
    windows_->main().ActiveEditor()->Memo1()->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    EXPECT_EQ(lineFrom, 2);  // the selection starts at line 3
    EXPECT_EQ(indexFrom, 0);
}

}  // namespace
}  // namespace torvane::build
