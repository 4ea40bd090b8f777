#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "import/image_info.h"

// PCX images: the header, and the run-length coded pixels. No library the program can use reads
// this format, so this is the program's own small decoder.
namespace torvane::imports {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

// Decoded pixels of (the top-left part of) an image.
struct Raster {
    int width = 0;
    int height = 0;
    bool trueColour = false;            // pixels are r, g, b byte triples; else palette indices
    std::vector<std::uint8_t> pixels;   // rows top down, no padding
    std::vector<Rgb> palette;           // the image's palette (empty for true colour)
};

// Size and palette of a PCX file, after checking that its run-length data gives every row the
// header declares (and, for 256 colours, that the palette follows it). Throws ImageError.
ImageInfo ReadPcxInfo(std::string_view bytes);

// The top-left part of the image, at most maxWidth x maxHeight pixels. Memory follows that part
// and time the file's size, whatever size the header declares. Throws ImageError.
Raster DecodePcx(std::string_view bytes, int maxWidth, int maxHeight);

}  // namespace torvane::imports
