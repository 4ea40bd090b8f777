// Compiles from the windows: the progress dialog, the jump to the first error, the log.
#include "build/tcompile.h"
#include "build/press_ok_when_finished.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "build/compile_controller.h"
#include "build/game_launch_controller.h"
#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "platform/file_ops.h"
#include "platform/locale_formats.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "workspace/tworkspace.h"
#include "shell/tmain.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::build {
namespace {

class TCompileTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = LayOutGame();
        platform::CreateDirectories(dir_.Path("prog"));
        dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n");
        Start();
    }
    // The game tree the test runs on: the Windows install of the sample game.
    virtual std::string LayOutGame() { return testing::CopySampleGame(dir_); }
    void Start() {
        windows_.reset();
        shell::TMainOptions options;
        options.paths = {dir_.Path("prog"), dir_.Path("prog")};
        options.prompter = &prompter_;
        options.terminate = [](int) {};
        windows_ = std::make_unique<shell::AppWindows>(std::move(options));
        windows_->main().Timer1Timer();
        windows_->compiles().SetRebuildConfirmation([this](const std::vector<std::string>& packages) {
            rebuilt_ = packages;
            ++rebuildQuestions_;
            return true;
        });
    }
    shell::TMain& main() { return windows_->main(); }
    QAction* Command(const char* id) { return main().Commands().Command(id); }
    workspace::TWorkspace& workspace() {
        return *static_cast<workspace::TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace")));
    }
    TCompile& Progress() { return *static_cast<TCompile*>(windows_->Window(QStringLiteral("TCompile"))); }
    void PressOkWhenFinished() { build::PressOkWhenFinished(Progress(), windows_->main()); }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<shell::AppWindows> windows_;
    std::vector<std::string> rebuilt_;
    int rebuildQuestions_ = 0;
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
    EXPECT_EQ(workspace().Status()->text(), "") << "the status line still says a compile runs";
}

// After a compile the log shows its last line whole, however many lines came before it.
TEST_F(TCompileTest, TheLogShowsItsLastLineWholeAfterACompile) {
    for (int i = 0; i < 40; ++i) main().AddLogLine("earlier line " + std::to_string(i));
    main().AddLogLine(std::string(400, 'w'));  // wider than the log: a horizontal scroll bar comes
    Command(shell::cmd::kCompile)->trigger();
    QListWidget* log = main().OutputLogWidget();
    QApplication::processEvents();
    ASSERT_EQ(log->item(log->count() - 1)->text(), "Success - 0 error(s), 0 warnings");
    const QRect last = log->visualItemRect(log->item(log->count() - 1));
    EXPECT_TRUE(log->viewport()->rect().contains(last)) << last.top() << ".." << last.bottom() << " in 0.."
                                                        << log->viewport()->height();

    // A last line wider than the log brings the horizontal scroll bar, which takes a row away.
    main().Log().Clear();
    for (int i = 0; i < 40; ++i) main().AddLogLine("line " + std::to_string(i));
    main().AddLogLine(std::string(400, 'w'));
    QApplication::processEvents();
    const QRect wide = log->visualItemRect(log->item(log->count() - 1));
    EXPECT_TRUE(wide.top() >= 0 && wide.bottom() < log->viewport()->height()) << wide.top() << ".." << wide.bottom() << " in 0.."
                                                        << log->viewport()->height();
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

// A compile or a script lets window messages through while it runs. What the user (or a signal)
// starts then is refused: the compile commands are disabled and their entry points say no, so the
// running compile keeps its pipeline and script and puts the configuration back.
TEST_F(TCompileTest, CompileOrScriptStartedWhileOneRunsIsRefused) {
    const std::string iniBefore = dir_.Read("game/System/UnrealTournament.ini");
    // The pre-compile script runs a program: every line it prints lets window messages through.
    workspace().LoadProject(dir_.Write(
        "prog/Busy.tvx",
        "[Project]\r\nName=Busy\r\nUserInclude=True\r\nDoPostBatch=True\r\nDoPreBatch=True\r\n"
        "[IncludePacks]\r\nUserInclude0=DemoMod\r\n[PostBatch]\r\nCommand0=ECHO after\r\n"
        "[PreBatch]\r\nCommand0=/bin/echo before\r\n[Packages]\r\nPackage0=DemoMod\r\n"));
    ASSERT_TRUE(workspace().ProjectOpen());
    const char* const refused[] = {shell::cmd::kCompile, shell::cmd::kCompileAndRun, shell::cmd::kRun, shell::cmd::kDoPreBatch,
                                   shell::cmd::kPostBatchSuccess, shell::cmd::kPostBatchFailure,
                                   shell::cmd::kRebuildClassTree, shell::cmd::kCloseProject};
    for (const char* id : refused) EXPECT_TRUE(Command(id)->isEnabled()) << id;
    bool ranDuringScript = false;
    std::vector<std::string> enabledWhileBusy;
    QTimer::singleShot(0, &main(), [&] {
        ranDuringScript = main().Busy().Busy();
        for (const char* id : refused) {
            if (Command(id)->isEnabled()) enabledWhileBusy.emplace_back(id);
        }
        Command(shell::cmd::kCompile)->trigger();
        windows_->compiles().Compile(false);  // as a signal would, past the disabled action
        windows_->compiles().DoPreBatch();
        windows_->compiles().DoPostBatch(true);
        windows_->launches().RunGame(false);
        windows_->launches().RunGame(true);
    });
    Command(shell::cmd::kCompile)->trigger();
    EXPECT_TRUE(ranDuringScript);
    EXPECT_TRUE(enabledWhileBusy.empty()) << enabledWhileBusy.front();
    EXPECT_EQ(rebuildQuestions_, 1);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), iniBefore);
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.torvane"));
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.log"));  // no game started
    QListWidget* log = main().OutputLogWidget();
    EXPECT_EQ(log->findItems("before", Qt::MatchExactly).size(), 1);
    EXPECT_EQ(log->findItems("after", Qt::MatchExactly).size(), 1);
    EXPECT_FALSE(main().Busy().Busy());
    for (const char* id : refused) EXPECT_TRUE(Command(id)->isEnabled()) << id;
}

// Answering No to the start-up repair question keeps the compile copy; a compile then refuses
// to overwrite it until the configuration is restored from it.
TEST_F(TCompileTest, CompileRefusesToOverwriteTheCopyOfAnInterruptedCompile) {
    const std::string good = dir_.Read("game/System/UnrealTournament.ini");
    const std::string rewritten = good + "[Prepared]\r\nForTheCompile=True\r\n";
    dir_.Write("game/System/UnrealTournament.torvane", good);
    dir_.Write("game/System/UnrealTournament.ini", rewritten);
    prompter_.QueueAnswer(core::Answer::No);  // the start-up question
    Start();
    ASSERT_TRUE(main().Started());
    prompter_.QueueAnswer(core::Answer::No);  // the compile's question
    Command(shell::cmd::kCompile)->trigger();
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_EQ(prompter_.shown().back().text.rfind("Nothing was compiled.", 0), 0u);
    EXPECT_EQ(rebuildQuestions_, 0);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.torvane"), good);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), rewritten);

    prompter_.QueueAnswer(core::Answer::Yes);
    Command(shell::cmd::kCompile)->trigger();
    EXPECT_EQ(rebuildQuestions_, 1);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), good);
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.torvane"));
}

// The current patch's Linux install: the tool in System64 keeps its packages in ~/.utpg/System.
class TCompileLinuxLayoutTest : public TCompileTest {
protected:
    std::string LayOutGame() override { return testing::CopyLinuxSampleGame(dir_); }
    testing::TempHome home_;
};

TEST_F(TCompileLinuxLayoutTest, EditedClassIsCompiledAgainAndTheSystemPageShowsIt) {
    Command(shell::cmd::kCompile)->trigger();
    EXPECT_EQ(Progress().CurrentTitle()->text(), "Finished!");
    const std::string package = home_.PreferenceDirectory() + "/DemoMod.u";
    ASSERT_TRUE(platform::FileExists(package));
    const std::string first = platform::ReadWholeFile(package);
    platform::SetFileModifiedTime(package, 1000);  // the edit comes later

    workspace().OpenClass(workspace().FindClass("DemoPickup", ""));
    editor::TEditor* editor = main().ActiveEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor->Memo1(), "// edited ");
    Command(shell::cmd::kCompile)->trigger();  // saves the editor first
    EXPECT_EQ(rebuilt_, (std::vector<std::string>{"DemoMod"}));
    EXPECT_EQ(Progress().CurrentTitle()->text(), "Finished!");
    EXPECT_FALSE(main().OutputLogWidget()->findItems("Compiling DemoPickup", Qt::MatchExactly).isEmpty());
    EXPECT_NE(platform::ReadWholeFile(package), first);
    QTreeWidget* editPackages = workspace().EditPackages();
    ASSERT_EQ(editPackages->topLevelItemCount(), 4);
    EXPECT_EQ(editPackages->topLevelItem(3)->text(1),
              QString::fromStdString(platform::FormatDateTime(*platform::FileModifiedTime(package))));
    EXPECT_EQ(workspace().AvailablePackages()->topLevelItemCount(), 4);
}

TEST_F(TCompileLinuxLayoutTest, ToolReadingAnotherIniShowsAFailedCompile) {
    // The game made a per-user ini after Torvane looked at the install.
    const std::string userIni = testing::WriteFile(home_.PreferenceDirectory() + "/UnrealTournament.ini",
                                                   dir_.Read("game/System64/UnrealTournament.ini"));
    PressOkWhenFinished();
    Command(shell::cmd::kCompile)->trigger();
    EXPECT_EQ(Progress().CurrentTitle()->text(), "Finished, but there were errors!");
    EXPECT_EQ(Progress().UCErrors()->text(), "1 Errors");
    const std::string mismatch = ConfigMismatchLine(userIni, game_ + "/System64/UnrealTournament.ini");
    EXPECT_EQ(Progress().Status()->text(), QString::fromStdString(mismatch));
    EXPECT_FALSE(main().OutputLogWidget()->findItems(QString::fromStdString(mismatch), Qt::MatchExactly).isEmpty());
    EXPECT_EQ(windows_->compiles().State().errorCount, 1);
}

}  // namespace
}  // namespace torvane::build
