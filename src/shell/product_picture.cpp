#include "shell/product_picture.h"

#include "shell/icons.h"

namespace torvane::shell {

QPixmap ProductPicture(int size) { return ProgramIcon().pixmap(size, size); }

}  // namespace torvane::shell
