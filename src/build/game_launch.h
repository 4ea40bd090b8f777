#pragma once

#include <functional>
#include <string>
#include <vector>

#include "build/compile_pipeline.h"
#include "platform/game_install.h"

namespace torvane::core {
class Prompter;
class StatusSink;
}
namespace torvane::project {
struct Project;
}

// Run and Compile & Run: start the game (or, for a project that asks for it, the game's tool, for
// example as a dedicated server) with the project's test parameters, wait until it has ended,
// then show the log it wrote.
namespace torvane::build {

// What a launch needs of the windows.
class GameLaunchWindow {
public:
    virtual ~GameLaunchWindow() = default;
    // Runs body, which blocks until the started program has ended, with the IDE minimised when
    // minimize is set; the IDE is restored on every way out.
    virtual void RunBlocking(bool minimize, const std::function<void()>& body) = 0;
    // Shows the log in an editor. Every editor of that file is closed first, so that the editor
    // shows what the program has just written.
    virtual void ShowLog(const std::string& path) = 0;
};

struct GameLaunchContext {
    platform::GameInstall install;
    const project::Project* project = nullptr;  // nullptr or not open: no project
    bool minimizeOnRun = true;                  // "Minimize Editor when running UT"
    CompileState* state = nullptr;              // RunFlag, and the last compile's error lines
    core::Prompter* prompter = nullptr;
    core::StatusSink* status = nullptr;
    GameLaunchWindow* window = nullptr;
    // Compile & Run's compile: the compile with AutoClose, so that it closes by itself when clean.
    std::function<CompileOutcome()> compile;
    // The pause before the start; nullptr: the thread sleeps, letting no window message through.
    std::function<void(int milliseconds)> pause;
};

// The pause between "Launching Unreal Tournament" and the start.
inline constexpr int kLaunchPauseMs = 1000;

// Whether Compile & Run goes on to start the game after its compile ended so. lastErrorLines are
// the error lines of the last compile that ran the tool: after "Nothing to compile." or a
// cancelled rebuild list the game starts when that compile had none. A compile that failed or
// that the user cancelled while the tool ran starts nothing.
bool LaunchFollowsCompile(CompileOutcome outcome, const std::vector<std::string>& lastErrorLines);

// Starts the program with the parameters (a command line of blank-separated words, double quotes
// grouping) in its working directory and waits until it has ended, however long that takes.
// Returns an empty text, or the message saying why it could not start.
std::string StartAndWait(const platform::GameTool& program, const std::string& parameters);

// Run (compileFirst false) and Compile & Run (compileFirst true).
void RunGame(const GameLaunchContext& context, bool compileFirst);

}  // namespace torvane::build
