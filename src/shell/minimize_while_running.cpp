#include "shell/minimize_while_running.h"

#include <QGuiApplication>
#include <QWidget>

namespace torvane::shell {

MinimizeWhileRunning::MinimizeWhileRunning(QWidget& window, bool minimize)
    : window_(window), minimized_(minimize), previous_(window.windowState()) {
    if (!minimized_) return;
    window_.showMinimized();
    // The call that follows lets no window message through: the window system must see the
    // request now.
    QGuiApplication::sync();
}

MinimizeWhileRunning::~MinimizeWhileRunning() {
    if (!minimized_) return;
    window_.setWindowState(previous_ & ~Qt::WindowMinimized);
    window_.show();
    window_.raise();
    window_.activateWindow();
}

}  // namespace torvane::shell
