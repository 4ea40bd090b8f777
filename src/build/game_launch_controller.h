#pragma once

#include <QObject>
#include <functional>

#include "build/game_launch.h"

namespace torvane::shell {
class TMain;
class TPrefs;
}
namespace torvane::workspace {
class TWorkspace;
}

namespace torvane::build {

class CompileController;

// Project > Run (F9) and Compile && Run (Ctrl+F7), from the menu, the compile tool bar and the
// editor's menu: starts the game for a test and shows its log afterwards. Refused while a
// compile or script runs; while the game runs the IDE is busy and blocked.
class GameLaunchController final : public QObject, private GameLaunchWindow {
    Q_OBJECT

public:
    GameLaunchController(shell::TMain& main, workspace::TWorkspace& workspace, CompileController& compiles,
                         shell::TPrefs& prefs);

    void RunGame(bool compileFirst);
    // Replaces the one-second pause before the start (tests).
    void SetPause(std::function<void(int milliseconds)> pause) { pause_ = std::move(pause); }

private:
    void RunBlocking(bool minimize, const std::function<void()>& body) override;
    void ShowLog(const std::string& path) override;

    shell::TMain& main_;
    workspace::TWorkspace& workspace_;
    CompileController& compiles_;
    shell::TPrefs& prefs_;
    std::function<void(int milliseconds)> pause_;
};

}  // namespace torvane::build
