#pragma once

#include <string>

// Device-independent bitmaps as Windows BMP files: an 8-bit image with its 256-entry palette or
// a 24-bit image, uncompressed, rows stored bottom-up as the format wants (the image shows
// right side up).
namespace torvane::unrealpkg {

struct MipBitmap;

// The bytes of the BMP file.
std::string EncodeBmp(const MipBitmap& bitmap);
// Writes the file (through a temporary file renamed into place); throws platform::FileError.
void SaveBmpFile(const MipBitmap& bitmap, const std::string& path);

}  // namespace torvane::unrealpkg
