// Run and Compile & Run as a user reaches them: the Project menu, the compile tool bar and the
// keys of the real main window; the stand-in game and tool started and waited for.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <cstdlib>

#include "build/compile_controller.h"
#include "build/game_launch_controller.h"
#include "build/tcompile.h"
#include "build/press_ok_when_finished.h"
#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/qt_wait.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "support/window_state_recorder.h"
#include "workspace/tworkspace.h"

namespace torvane::build {
namespace {

class GameLaunchWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = LayOutGame();
        windows_ = std::make_unique<shell::AppWindows>(testing::GameOptions(dir_, prompter_, game_, preferences_));
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
        windows_->compiles().SetRebuildConfirmation([](const std::vector<std::string>&) { return true; });
        windows_->launches().SetPause([this](int milliseconds) {
            pauses_.push_back(milliseconds);
            statusAtPause_ = workspace().Status()->text();
        });
        states_ = std::make_unique<testing::WindowStateRecorder>(main());
        Activate();
    }
    void TearDown() override { ::unsetenv("UCC_STANDIN_SERVER_MS"); }
    // The game tree the test runs on: the Windows install of the sample game.
    virtual std::string LayOutGame() { return testing::CopySampleGame(dir_); }
    void Activate() {
        main().activateWindow();
        ASSERT_TRUE(testing::WaitUntil([this] { return QApplication::activeWindow() == &main(); }));
    }
    shell::TMain& main() { return windows_->main(); }
    QAction* Command(const char* id) { return main().Commands().Command(id); }
    workspace::TWorkspace& workspace() {
        return *static_cast<workspace::TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace")));
    }
    TCompile& Progress() { return *static_cast<TCompile*>(windows_->Window(QStringLiteral("TCompile"))); }
    QAction* ProjectMenuEntry(const QString& caption) {
        for (QAction* menu : main().menuBar()->actions()) {
            if (!menu->menu() || menu->text() != "&Project") continue;
            for (QAction* action : menu->menu()->actions()) {
                if (action->text() == caption) return action;
            }
        }
        return nullptr;
    }
    QWidget* CompileToolBarButton(const char* id) {
        return main().findChild<QToolBar*>(QStringLiteral("CompileToolBar"))->widgetForAction(Command(id));
    }
    void LoadProject(const std::string& settings) {
        workspace().LoadProject(dir_.Write("prog/Demo.tvx", "[Project]\r\nName=Demo\r\n" + settings +
                                                                "[Packages]\r\nPackage0=DemoMod\r\n"));
        ASSERT_TRUE(workspace().ProjectOpen());
    }
    void PressOkWhenFinished() { build::PressOkWhenFinished(Progress(), main()); }
    std::string GameLog() const { return game_ + "/System/UnrealTournament.log"; }
    std::string ReadOr(const std::string& path) const {
        return platform::FileExists(path) ? platform::ReadWholeFile(path) : std::string("(missing)");
    }
    std::vector<std::string> Errors() const {
        std::vector<std::string> errors;
        for (const auto& shown : prompter_.shown()) {
            if (shown.kind == testing::ShownMessage::Kind::Error) errors.push_back(shown.text);
        }
        return errors;
    }
    std::vector<editor::TEditor*> EditorsOf(const std::string& path) {
        std::vector<editor::TEditor*> editors;
        for (editor::TEditor* editor : main().Editors()) {
            if (editor->Caption() == path) editors.push_back(editor);
        }
        return editors;
    }

    testing::TempDir dir_;
    std::string game_;
    std::string preferences_;  // more lines for [Preferences]
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<shell::AppWindows> windows_;
    std::unique_ptr<testing::WindowStateRecorder> states_;
    std::vector<int> pauses_;
    QString statusAtPause_;
};

TEST_F(GameLaunchWindowTest, RunWithoutAProjectStartsTheGameInSystemWithoutParameters) {
    EXPECT_TRUE(Command(shell::cmd::kRun)->isEnabled());
    QTest::keyClick(&main(), Qt::Key_F9);
    const std::string log = ReadOr(GameLog());
    EXPECT_NE(log.find("Log: Command line: \r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Log: Working directory: " + game_ + "/System\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Exit: Exiting."), std::string::npos) << log;  // waited for
    EXPECT_EQ(pauses_, std::vector<int>{1000});
    EXPECT_EQ(statusAtPause_, "Launching Unreal Tournament");
    EXPECT_EQ(states_->minimized, (std::vector<bool>{true, false}));  // minimised, then restored
    EXPECT_FALSE(main().isMinimized());
    EXPECT_TRUE(main().Editors().empty());  // no project: no log opened
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(windows_->compiles().State().runFlag, 1);
    EXPECT_FALSE(main().Busy().Busy());
}

class GameLaunchNoMinimizeTest : public GameLaunchWindowTest {
protected:
    void SetUp() override {
        preferences_ = "MinimizeOnRun=False\r\n";
        GameLaunchWindowTest::SetUp();
    }
};

// The tool started as a server with the project's parameters, its log shown afterwards; the
// preference keeps the IDE as it is.
TEST_F(GameLaunchNoMinimizeTest, RunWithUseUccStartsTheToolWithTheTestParameters) {
    LoadProject("TestParams=server\r\nUseUCC=True\r\nOpenLog=True\r\n");
    ::setenv("UCC_STANDIN_SERVER_MS", "200", 1);
    QTest::mouseClick(CompileToolBarButton(shell::cmd::kRun), Qt::LeftButton);
    EXPECT_EQ(ReadOr(game_ + "/System/ucc.log"), "Server started: server\r\nServer ended.\r\n");
    EXPECT_FALSE(platform::FileExists(GameLog()));
    EXPECT_TRUE(states_->minimized.empty());
    editor::TEditor* editor = main().ActiveEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Caption(), game_ + "/System/ucc.log");
    EXPECT_TRUE(editor->Memo1()->text().contains("Server started: server"));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(GameLaunchWindowTest, CompileAndRunWithOneErrorOpensItAndStartsNothing) {
    dir_.Write("game/DemoMod/Classes/DemoPickup.uc",
               "class DemoPickup extends Inventory;\r\n\r\n// STANDIN: Error, broken\r\n");
    PressOkWhenFinished();
    QAction* compileAndRun = ProjectMenuEntry("Compile && Run");
    ASSERT_EQ(compileAndRun, Command(shell::cmd::kCompileAndRun));
    // The compile lets window messages through: Compile & Run holds the busy state meanwhile, so
    // Run and the compile commands are disabled and Run's entry point refuses as well.
    bool busyDuringCompile = false;
    std::vector<std::string> enabledDuringCompile;
    const char* const refused[] = {shell::cmd::kCompile, shell::cmd::kCompileAndRun, shell::cmd::kRun};
    QTimer::singleShot(0, &main(), [&] {
        busyDuringCompile = main().Busy().Busy();
        for (const char* id : refused) {
            if (Command(id)->isEnabled()) enabledDuringCompile.emplace_back(id);
        }
        windows_->launches().RunGame(false);  // as a signal would, past the disabled action
    });
    compileAndRun->trigger();
    EXPECT_TRUE(busyDuringCompile);
    EXPECT_TRUE(enabledDuringCompile.empty()) << enabledDuringCompile.front();
    EXPECT_EQ(Progress().CurrentTitle()->text(), "Finished, but there were errors!");
    editor::TEditor* editor = main().ActiveEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->ClassName(), "DemoPickup");
    int line = 0, index = 0;
    editor->Memo1()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 2);
    EXPECT_FALSE(platform::FileExists(GameLog()));
    EXPECT_TRUE(pauses_.empty());
    EXPECT_TRUE(states_->minimized.empty());
    EXPECT_EQ(windows_->compiles().State().runFlag, 1);
    for (const char* id : refused) EXPECT_TRUE(Command(id)->isEnabled()) << id;
}

class GameLaunchManualCloseTest : public GameLaunchWindowTest {
protected:
    void SetUp() override {
        preferences_ = "AutoCloseCompile=False\r\n";
        GameLaunchWindowTest::SetUp();
    }
};

// Compile & Run closes a clean compile's dialog whatever the preference says and starts the game;
// with nothing left to compile it says so and starts the game, the last compile having been clean.
TEST_F(GameLaunchManualCloseTest, CompileAndRunStartsTheGameAfterACleanCompileAndWithNothingToCompile) {
    QTest::keyClick(&main(), Qt::Key_F7, Qt::ControlModifier);
    EXPECT_EQ(Progress().CurrentTitle()->text(), "Finished!");
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_TRUE(platform::FileExists(game_ + "/System/DemoMod.u"));
    EXPECT_NE(ReadOr(GameLog()).find("Exit: Exiting."), std::string::npos);
    EXPECT_EQ(pauses_.size(), 1u);

    platform::DeleteFile(GameLog());
    Activate();
    QTest::keyClick(&main(), Qt::Key_F7, Qt::ControlModifier);
    ASSERT_FALSE(prompter_.shown().empty());
    EXPECT_EQ(prompter_.shown().back().text, "Nothing to compile.");
    EXPECT_NE(ReadOr(GameLog()).find("Exit: Exiting."), std::string::npos);
    EXPECT_EQ(pauses_.size(), 2u);
    EXPECT_TRUE(Errors().empty());
}

// The log editor shows what the game has just written: the open one is closed and the file read
// again.
TEST_F(GameLaunchWindowTest, OpenLogReopensAnAlreadyOpenGameLog) {
    LoadProject("TestParams=DM-Deck16 -log\r\nOpenLog=True\r\n");
    dir_.Write("game/System/UnrealTournament.log", "Log: an earlier game\r\n");
    Command(shell::cmd::kViewGameLog)->trigger();
    QPointer<editor::TEditor> before = main().ActiveEditor();
    ASSERT_FALSE(before.isNull());
    ASSERT_EQ(before->Caption(), GameLog());
    ASSERT_TRUE(before->Memo1()->text().contains("an earlier game"));

    ProjectMenuEntry("Run")->trigger();
    ASSERT_TRUE(testing::WaitUntil([&] { return before.isNull() || before->IsClosed(); }, 1000));
    const auto editors = EditorsOf(GameLog());
    ASSERT_EQ(editors.size(), 1u);
    EXPECT_NE(editors[0], before.data());
    EXPECT_EQ(main().ActiveEditor(), editors[0]);
    const QString text = editors[0]->Memo1()->text();
    EXPECT_TRUE(text.contains("Log: Command line: DM-Deck16 -log")) << text.toStdString();
    EXPECT_FALSE(text.contains("an earlier game"));
}

// One clear error; the IDE is restored, the log opened as asked, and the next Run works.
TEST_F(GameLaunchWindowTest, LauncherThatCannotStart) {
    LoadProject("OpenLog=True\r\n");
    dir_.Write("game/System/UnrealTournament.log", "Log: an earlier game\r\n");
    const std::string program = game_ + "/System/UnrealTournament.exe";
    ASSERT_EQ(::chmod(program.c_str(), 0644), 0);
    QTest::keyClick(&main(), Qt::Key_F9);
    EXPECT_EQ(Errors(), std::vector<std::string>{"Could not start " + program + ": Permission denied."});
    EXPECT_EQ(states_->minimized, (std::vector<bool>{true, false}));
    ASSERT_EQ(EditorsOf(GameLog()).size(), 1u);
    EXPECT_TRUE(EditorsOf(GameLog())[0]->Memo1()->text().contains("an earlier game"));
    EXPECT_FALSE(main().Busy().Busy());
    EXPECT_TRUE(Command(shell::cmd::kRun)->isEnabled());

    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
    Activate();
    QTest::keyClick(&main(), Qt::Key_F9);
    EXPECT_EQ(Errors().size(), 1u);
    ASSERT_EQ(EditorsOf(GameLog()).size(), 1u);
    EXPECT_TRUE(EditorsOf(GameLog())[0]->Memo1()->text().contains("Exit: Exiting."));
}

// The current patch's Linux install: its launcher in System64, the log in ~/.utpg/System.
class GameLaunchLinuxLayoutTest : public GameLaunchWindowTest {
protected:
    std::string LayOutGame() override { return testing::CopyLinuxSampleGame(dir_); }
    testing::TempHome home_;
};

TEST_F(GameLaunchLinuxLayoutTest, RunStartsTheLauncherAndOpensTheLogItWrote) {
    LoadProject("TestParams=DM-Deck16\r\nOpenLog=True\r\n");
    dir_.Write("game/System/UnrealTournament.log", "Log: an earlier game\r\n");
    QTest::keyClick(&main(), Qt::Key_F9);
    const std::string log = home_.PreferenceDirectory() + "/UnrealTournament.log";
    const std::string written = ReadOr(log);
    EXPECT_NE(written.find("Log: Command line: DM-Deck16\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("Log: Working directory: " + game_ + "/System64\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("Log: Library path: " + game_ + "/System64"), std::string::npos) << written;
    QPointer<editor::TEditor> editor = main().ActiveEditor();
    ASSERT_FALSE(editor.isNull());
    EXPECT_EQ(editor->Caption(), log);
    EXPECT_TRUE(Errors().empty());

    // View | Edit UnrealTournament.log looks in the per-user directory first as well.
    editor->close();
    ASSERT_TRUE(testing::WaitUntil([&] { return editor.isNull() || editor->IsClosed(); }, 1000));
    Command(shell::cmd::kViewGameLog)->trigger();
    EXPECT_EQ(EditorsOf(log).size(), 1u);
    EXPECT_TRUE(EditorsOf(game_ + "/System/UnrealTournament.log").empty());
}

// A server runs as the compile's tool runs (the 64-bit tool of System64), and its ucc.log is
// looked for where that tool writes it, in ~/.utpg/System.
TEST_F(GameLaunchLinuxLayoutTest, RunWithUseUccStartsTheLinuxToolAndOpensItsLog) {
    LoadProject("TestParams=server\r\nUseUCC=True\r\nOpenLog=True\r\n");
    dir_.Write("game/System/ucc.log", "an earlier run\r\n");
    ::setenv("UCC_STANDIN_SERVER_MS", "100", 1);
    ProjectMenuEntry("Run")->trigger();
    const std::string log = home_.PreferenceDirectory() + "/ucc.log";
    EXPECT_EQ(ReadOr(log), "Server started: server\r\nServer ended.\r\n");
    EXPECT_FALSE(platform::FileExists(home_.PreferenceDirectory() + "/UnrealTournament.log"));
    editor::TEditor* editor = main().ActiveEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Caption(), log);
    EXPECT_TRUE(Errors().empty());
}

}  // namespace
}  // namespace torvane::build
