#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// What the import and the viewer need to know of an image file before drawing it: its kind, its
// size and its palette. Damaged files are refused here, before anything is allocated for them.
namespace torvane::imports {

enum class ImageKind { None, Pcx, Bmp };

// By the extension of a file name without regard to case: ".PCX", ".BMP", anything else None.
ImageKind ImageKindOfName(std::string_view name);

struct ImageInfo {
    ImageKind kind = ImageKind::None;
    int width = 0;
    int height = 0;
    // 256 for a 256-colour palette, fewer for a smaller one, 0 for a true-colour image.
    int paletteEntries = 0;
};

// A file that is no readable image of its kind: too short, damaged, its pixel data cut off, a
// size no real image has, or a variant of the format that is not read. The text says which.
class ImageError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// No side of a readable image is longer than this (the most a PCX header can declare).
inline constexpr int kMaxImageSide = 65536;

// The header of a PCX or BMP file held in bytes, after checking that the pixel data it declares
// is there. Throws ImageError.
ImageInfo ReadImageInfo(ImageKind kind, std::string_view bytes);

// The same for a file, by its extension; a file of another extension gives kind None and a size
// of 0. Throws ImageError naming the file, or platform::FileError when it cannot be read.
ImageInfo ReadImageFileInfo(const std::string& path);

}  // namespace torvane::imports
