#pragma once

class QWidget;

namespace torvane::widgets {

// Moves the window to the middle of its screen's available area.
void CentreOnScreen(QWidget& window);

}  // namespace torvane::widgets
