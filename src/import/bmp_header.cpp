#include "import/bmp_header.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include "import/little_endian.h"

namespace torvane::imports {

using detail::I32;
using detail::U16;
using detail::U32;

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kOs2Header = 12;
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

}  // namespace

ImageInfo ReadBmpInfo(std::string_view bytes) {
    if (bytes.size() < kFileHeader + kOs2Header || bytes[0] != 'B' || bytes[1] != 'M') {
        throw ImageError("It is not a BMP file.");
    }
    const std::uint64_t size = bytes.size();
    const std::uint32_t dataOffset = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, 14);
    std::int64_t width = 0, height = 0;
    std::uint32_t planes = 0, bitCount = 0, compression = kRgb, imageSize = 0, colorsUsed = 0;
    std::uint32_t entrySize = 4;
    if (headerSize == kOs2Header) {
        width = U16(bytes, 18);
        height = U16(bytes, 20);
        planes = U16(bytes, 22);
        bitCount = U16(bytes, 24);
        entrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        if (kFileHeader + headerSize > size) throw ImageError("The bitmap header is cut off.");
        width = I32(bytes, 18);
        height = std::llabs(static_cast<long long>(I32(bytes, 22)));  // negative: rows top down
        planes = U16(bytes, 26);
        bitCount = U16(bytes, 28);
        compression = U32(bytes, 30);
        imageSize = U32(bytes, 34);
        colorsUsed = U32(bytes, 46);
    } else {
        throw ImageError("The bitmap header of " + std::to_string(headerSize) + " bytes is not read.");
    }
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) {
        throw ImageError("The bitmap declares a size of " + std::to_string(width) + " x " +
                         std::to_string(height) + ".");
    }
    if (planes != 1) throw ImageError("The bitmap declares " + std::to_string(planes) + " planes.");
    switch (bitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: throw ImageError("Bitmaps of " + std::to_string(bitCount) + " bits per pixel are not read.");
    }
    const bool known = compression == kRgb || (compression == kRle8 && bitCount == 8) ||
                       (compression == kRle4 && bitCount == 4) ||
                       (compression == kBitFields && (bitCount == 16 || bitCount == 32));
    if (!known) throw ImageError("The bitmap's compression " + std::to_string(compression) + " is not read.");

    int entries = 0;
    if (bitCount <= 8) {
        const std::uint32_t most = 1u << bitCount;
        if (colorsUsed > most) {
            throw ImageError("The bitmap declares " + std::to_string(colorsUsed) + " colours for " +
                             std::to_string(bitCount) + " bits per pixel.");
        }
        entries = static_cast<int>(colorsUsed != 0 ? colorsUsed : most);
    }
    // Three colour masks follow the basic header of a bit-field bitmap.
    const std::uint64_t masks = compression == kBitFields && headerSize == 40 ? 12 : 0;
    const std::uint64_t paletteEnd = kFileHeader + headerSize + masks + std::uint64_t(entries) * entrySize;
    if (paletteEnd > size) throw ImageError("The bitmap's palette is cut off.");
    if (dataOffset < kFileHeader + headerSize || dataOffset >= size) {
        throw ImageError("The bitmap's pixel data is missing.");
    }
    if (compression == kRgb || compression == kBitFields) {
        const std::uint64_t rowBytes = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
        if (dataOffset + rowBytes * std::uint64_t(height) > size) throw ImageError("The bitmap's pixel data is cut off.");
    } else if (imageSize != 0 && std::uint64_t(dataOffset) + imageSize > size) {
        throw ImageError("The bitmap's pixel data is cut off.");
    }
    ImageInfo info;
    info.kind = ImageKind::Bmp;
    info.width = static_cast<int>(width);
    info.height = static_cast<int>(height);
    info.paletteEntries = entries;
    return info;
}

}  // namespace torvane::imports
