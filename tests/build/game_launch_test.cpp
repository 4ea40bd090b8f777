// A test run of the game without windows: the decision after a compile, the order of the steps,
// the stand-in game started and waited for, and a program that cannot start.
#include "build/game_launch.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/file_ops.h"
#include "project/project.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::build {
namespace {

TEST(GameLaunchTest, CompileAndRunStartsTheGameOnlyAfterACleanCompile) {
    const std::vector<std::string> none;
    const std::vector<std::string> one = {"DemoMod\\Classes\\DemoPickup.uc(3) : Error, first"};
    const struct {
        CompileOutcome outcome;
        const std::vector<std::string>& lastErrors;
        bool launches;
    } cases[] = {
        {CompileOutcome::ToolRan, none, true},
        {CompileOutcome::ToolRan, one, false},
        {CompileOutcome::NothingToCompile, none, true},   // the last compile had no errors
        {CompileOutcome::NothingToCompile, one, false},
        {CompileOutcome::Declined, none, true},
        {CompileOutcome::Declined, one, false},
        {CompileOutcome::Failed, none, false},            // an error ended it, or the tool did not start
        {CompileOutcome::Aborted, none, false},           // Cancel while the tool ran
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LaunchFollowsCompile(c.outcome, c.lastErrors), c.launches)
            << static_cast<int>(c.outcome) << " with " << c.lastErrors.size() << " error lines";
    }
}

// Records what the launch asks of the windows, in order.
class RecordingWindow final : public GameLaunchWindow {
public:
    explicit RecordingWindow(std::vector<std::string>& steps) : steps_(steps) {}
    void RunBlocking(bool minimize, const std::function<void()>& body) override {
        steps_.push_back(minimize ? "minimise" : "stay");
        body();
        steps_.push_back("restore");
    }
    void ShowLog(const std::string& path) override { steps_.push_back("log " + path); }

private:
    std::vector<std::string>& steps_;
};

class RecordingStatus final : public core::StatusSink {
public:
    explicit RecordingStatus(std::vector<std::string>& steps) : steps_(steps) {}
    void SetWorkspaceStatus(std::string_view text) override { steps_.push_back("status " + std::string(text)); }
    void SetSplashStatus(std::string_view) override {}

private:
    std::vector<std::string>& steps_;
};

class GameLaunchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = testing::CopySampleGame(dir_);
        project_.name = "Demo";
        project_.testParams = "DM-Deck16 -log";
        project_.openLog = true;
        context_.install = platform::GameInstall::Detect(game_);
        context_.project = &project_;
        context_.state = &state_;
        context_.prompter = &prompter_;
        context_.status = &status_;
        context_.window = &window_;
        context_.pause = [this](int ms) { steps_.push_back("pause " + std::to_string(ms)); };
        context_.compile = [this] {
            steps_.push_back("compile");
            return CompileOutcome::NothingToCompile;
        };
    }
    std::string GameLog() const { return game_ + "/System/UnrealTournament.log"; }

    testing::TempDir dir_;
    std::string game_;
    project::Project project_;
    CompileState state_;
    testing::ScriptedPrompter prompter_;
    std::vector<std::string> steps_;
    RecordingWindow window_{steps_};
    RecordingStatus status_{steps_};
    GameLaunchContext context_;
};

TEST_F(GameLaunchRunTest, StepsInOrderAndTheGameWaitedFor) {
    ::setenv("GAME_STANDIN_RUN_MS", "300", 1);
    RunGame(context_, true);
    ::unsetenv("GAME_STANDIN_RUN_MS");
    EXPECT_EQ(steps_, (std::vector<std::string>{"compile", "status Launching Unreal Tournament", "pause 1000",
                                                "minimise", "restore", "log " + GameLog()}));
    EXPECT_EQ(state_.runFlag, 1);
    EXPECT_TRUE(prompter_.shown().empty());
    // Only a game that has ended writes its last line.
    const std::string log = platform::ReadWholeFile(GameLog());
    EXPECT_NE(log.find("Log: Command line: DM-Deck16 -log\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Log: Working directory: " + game_ + "/System\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Exit: Exiting.\r\n"), std::string::npos) << log;
}

// Run empties the error list of the last compile; Compile & Run keeps it and after "Nothing to
// compile." starts nothing when that compile had errors.
TEST_F(GameLaunchRunTest, LastCompilesErrorsStopCompileAndRunButNotRun) {
    state_.errorLines = {"DemoMod\\Classes\\DemoPickup.uc(3) : Error, first"};
    context_.minimizeOnRun = false;
    RunGame(context_, true);
    EXPECT_EQ(steps_, std::vector<std::string>{"compile"});
    EXPECT_FALSE(platform::FileExists(GameLog()));
    EXPECT_EQ(state_.runFlag, 1);

    steps_.clear();
    RunGame(context_, false);
    EXPECT_TRUE(state_.errorLines.empty());
    EXPECT_EQ(steps_, (std::vector<std::string>{"status Launching Unreal Tournament", "pause 1000", "stay",
                                                "restore", "log " + GameLog()}));
    EXPECT_TRUE(platform::FileExists(GameLog()));
}

// One clear error; the IDE is restored and the log still shown when the project asks for it.
TEST_F(GameLaunchRunTest, ProgramThatCannotStart) {
    const std::string program = game_ + "/System/UnrealTournament.exe";
    ASSERT_EQ(::chmod(program.c_str(), 0644), 0);
    context_.install = platform::GameInstall::Detect(game_);
    RunGame(context_, false);
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].kind, testing::ShownMessage::Kind::Error);
    EXPECT_EQ(prompter_.shown()[0].text, "Could not start " + program + ": Permission denied.");
    EXPECT_EQ(steps_, (std::vector<std::string>{"status Launching Unreal Tournament", "pause 1000", "minimise",
                                                "restore", "log " + GameLog()}));
}

}  // namespace
}  // namespace torvane::build
