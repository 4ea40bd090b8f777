#include "widgets/window_placement.h"

#include <QScreen>
#include <QWidget>

namespace torvane::widgets {

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
}

}  // namespace torvane::widgets
