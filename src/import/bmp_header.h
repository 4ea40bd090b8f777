#pragma once

#include <string_view>

#include "import/image_info.h"

// Windows and OS/2 bitmap headers.
namespace torvane::imports {

// Size and palette of a BMP file, after checking that its palette and, for uncompressed
// bitmaps, every row of pixels are inside the file. Throws ImageError.
ImageInfo ReadBmpInfo(std::string_view bytes);

}  // namespace torvane::imports
