#pragma once

#include <Qt>

class QWidget;

// Minimises a window around a call that blocks until a started program has ended (a test run of
// the game), and restores it on every way out, in the state it had.
// Nothing happens when minimize is false.
namespace torvane::shell {

class MinimizeWhileRunning final {
public:
    MinimizeWhileRunning(QWidget& window, bool minimize);
    ~MinimizeWhileRunning();
    MinimizeWhileRunning(const MinimizeWhileRunning&) = delete;
    MinimizeWhileRunning& operator=(const MinimizeWhileRunning&) = delete;

private:
    QWidget& window_;
    bool minimized_ = false;
    Qt::WindowStates previous_;
};

}  // namespace torvane::shell
