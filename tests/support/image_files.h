#pragma once

#include <cstdint>
#include <string>

// Small PCX and BMP files made by the tests. Pixel (x, y) holds PixelIndex(x, y) masked to the
// image's colours (for true colour: red x, green y, blue x + y, each modulo 256).
namespace torvane::testing {

inline int PixelIndex(int x, int y) { return (x * 7 + y * 3) % 256; }

// Palette entry i of the images made here.
inline std::uint32_t PaletteColour(int i) {
    return (std::uint32_t(i) << 16) | (std::uint32_t(255 - i) << 8) | std::uint32_t(i / 2);
}

// A run-length coded PCX file: 8 bits in 1 plane (256 colours, palette at the end), 8 bits in 3
// planes (true colour), or 1, 2 or 4 bits in the given planes (palette in the header).
std::string PcxBytes(int width, int height, int bitsPerPixel = 8, int planes = 1);

// A Windows bitmap: 1, 4 or 8 bits with a palette of colorsUsed entries (0: all), or 24 bits.
std::string BmpBytes(int width, int height, int bitCount = 8, int colorsUsed = 0);

}  // namespace torvane::testing
