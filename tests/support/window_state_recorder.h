#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <vector>

namespace torvane::testing {

// Whether the window was minimised after each change of its state.
class WindowStateRecorder final : public QObject {
public:
    explicit WindowStateRecorder(QWidget& window) : window_(window) { window.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange) minimized.push_back(window_.isMinimized());
        return false;
    }
    std::vector<bool> minimized;

private:
    QWidget& window_;
};

}  // namespace torvane::testing
