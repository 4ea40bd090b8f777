#pragma once

#include <QPushButton>
#include <QTimer>

#include "build/tcompile.h"

namespace torvane::build {

// Presses the progress dialog's OK once the tool has finished (the dialog waits when there were
// errors); the timer goes with owner.
inline void PressOkWhenFinished(TCompile& progress, QObject& owner) {
    auto* timer = new QTimer(&owner);
    QObject::connect(timer, &QTimer::timeout, timer, [&progress, timer] {
        if (!progress.Running() && progress.Button1()->text() == "OK" && progress.isVisible()) {
            progress.Button1()->click();
            timer->deleteLater();
        }
    });
    timer->start(50);
}

}  // namespace torvane::build
