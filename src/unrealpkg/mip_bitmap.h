#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "unrealpkg/ut_resource_objects.h"

// A decoded texture mip level as a device-independent bitmap: 8 bits per pixel with a 256-colour
// palette, or 24 bits per pixel. Pixels are stored top row first; a 24-bit pixel is red, green,
// blue.
namespace torvane::unrealpkg {

struct MipBitmap {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitsPerPixel = 24;                 // 8 or 24
    std::array<TUTColor, 256> palette{};   // used at 8 bits per pixel; black by default
    std::vector<std::uint8_t> pixels;      // width * height * (bitsPerPixel / 8), all zero: black

    MipBitmap() = default;
    MipBitmap(std::uint32_t w, std::uint32_t h, int bits);
};

// Texture formats of the "Format" property.
inline constexpr int kTextureFormatP8 = 0;
inline constexpr int kTextureFormatDxt1 = 3;

// 8-bit palettized: the rows of the mip's bytes, top row first. Data shorter than the image
// leaves the rest at palette index 0.
MipBitmap DecodeP8(const TUTMip& mip);
// DXT1: 4 x 4 blocks of two 5-6-5 colours and sixteen 2-bit indices; blocks reaching past the
// image (sizes that are not multiples of 4) are clipped. Missing blocks stay black.
MipBitmap DecodeDxt1(const TUTMip& mip);
// The bitmap of a mip of the given format; formats without a decoder give a black 24-bit image.
// A side longer than kMaxMipSide (a damaged file) throws std::runtime_error naming the size.
MipBitmap DecodeMip(const TUTMip& mip, int format);

inline constexpr std::uint32_t kMaxMipSide = 16384;

}  // namespace torvane::unrealpkg
