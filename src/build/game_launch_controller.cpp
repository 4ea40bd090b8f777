#include "build/game_launch_controller.h"

#include <QLabel>
#include <chrono>
#include <thread>

#include "build/compile_controller.h"
#include "project/project_session.h"
#include "shell/command_ids.h"
#include "shell/minimize_while_running.h"
#include "shell/preferences.h"
#include "shell/tmain.h"
#include "shell/tprefs.h"
#include "workspace/tworkspace.h"

namespace torvane::build {

GameLaunchController::GameLaunchController(shell::TMain& main, workspace::TWorkspace& workspace,
                                           CompileController& compiles, shell::TPrefs& prefs)
    : QObject(&main), main_(main), workspace_(workspace), compiles_(compiles), prefs_(prefs) {
    shell::CommandRegistry& c = main_.Commands();
    using namespace shell::cmd;
    c.Connect(kRun, this, [this] { RunGame(false); });
    c.Connect(kCompileAndRun, this, [this] { RunGame(true); });
    c.SetAvailability(kRun, [this] { return main_.BusyReason(); });
    c.SetAvailability(kCompileAndRun, [this] { return main_.BusyReason(); });
}

// The compile lets window messages through, and so does minimising: a second Run or a compile
// started meanwhile is refused until the game has ended.
void GameLaunchController::RunGame(bool compileFirst) {
    if (main_.GameRoot().empty() || main_.Busy().Busy()) return;
    const shell::BusyState::Scope busy(main_.Busy());
    GameLaunchContext context;
    context.install = main_.Install();
    context.project = workspace_.Session() ? &workspace_.Session()->project() : nullptr;
    context.minimizeOnRun = prefs_.Current().minimizeOnRun;
    context.state = &compiles_.State();
    context.prompter = &main_.Prompter();
    context.status = workspace_.StatusSink();
    context.window = this;
    context.compile = [this] { return compiles_.CompileForLaunch(); };
    // The pause lets no window message through: "Launching Unreal Tournament" is painted first.
    context.pause = [this](int milliseconds) {
        workspace_.Status()->repaint();
        if (pause_) {
            pause_(milliseconds);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        }
    };
    build::RunGame(context, compileFirst);
}

void GameLaunchController::RunBlocking(bool minimize, const std::function<void()>& body) {
    const shell::MinimizeWhileRunning minimized(main_, minimize);
    body();
}

void GameLaunchController::ShowLog(const std::string& path) { main_.ViewGameFile(path, true); }

}  // namespace torvane::build
