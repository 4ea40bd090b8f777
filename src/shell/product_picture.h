#pragma once

#include <QPixmap>

namespace torvane::shell {

inline constexpr const char* kProductVersion = "Version 4.1.6.01";

// The program picture (its icon) shown by the splash window and the about box.
QPixmap ProductPicture(int size);

}  // namespace torvane::shell
