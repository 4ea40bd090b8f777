#include "import/pcx_image.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "import/little_endian.h"

namespace torvane::imports {

using detail::U16;
using detail::U8;

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteSize = 769;  // 0x0C, then 256 RGB triples
constexpr std::size_t kHeaderPalette = 16;

struct PcxLayout {
    ImageInfo info;
    int bitsPerPixel = 0;
    int planes = 0;
    std::size_t bytesPerLine = 0;
    std::size_t dataEnd = 0;  // the run-length data ends here (the 256-colour palette follows)
};

bool KnownVariant(int bits, int planes) {
    if (bits == 8) return planes == 1 || planes == 3 || planes == 4;
    if (bits == 1) return planes >= 1 && planes <= 4;
    return (bits == 2 || bits == 4) && planes == 1;
}

PcxLayout ReadLayout(std::string_view bytes) {
    if (bytes.size() < kHeaderSize || U8(bytes, 0) != 0x0A) throw ImageError("It is not a PCX file.");
    if (U8(bytes, 2) != 1) throw ImageError("PCX files without run-length coding are not read.");
    PcxLayout layout;
    layout.bitsPerPixel = static_cast<int>(U8(bytes, 3));
    layout.planes = static_cast<int>(U8(bytes, 65));
    layout.bytesPerLine = U16(bytes, 66);
    const int xMin = static_cast<int>(U16(bytes, 4)), yMin = static_cast<int>(U16(bytes, 6));
    const int xMax = static_cast<int>(U16(bytes, 8)), yMax = static_cast<int>(U16(bytes, 10));
    if (xMax < xMin || yMax < yMin) throw ImageError("The PCX header declares no pixels.");
    layout.info.kind = ImageKind::Pcx;
    layout.info.width = xMax - xMin + 1;
    layout.info.height = yMax - yMin + 1;
    if (!KnownVariant(layout.bitsPerPixel, layout.planes)) {
        throw ImageError("PCX images of " + std::to_string(layout.bitsPerPixel) + " bits in " +
                         std::to_string(layout.planes) + " planes are not read.");
    }
    if (layout.bytesPerLine * 8 < std::size_t(layout.info.width) * std::size_t(layout.bitsPerPixel)) {
        throw ImageError("The PCX header's line length is too short for its width.");
    }
    layout.dataEnd = bytes.size();
    if (layout.bitsPerPixel == 8 && layout.planes == 1) {
        if (bytes.size() < kHeaderSize + kPaletteSize || U8(bytes, bytes.size() - kPaletteSize) != 0x0C) {
            throw ImageError("The PCX file's 256-colour palette is missing.");
        }
        layout.dataEnd = bytes.size() - kPaletteSize;
        layout.info.paletteEntries = 256;
    } else if (layout.bitsPerPixel == 8) {
        layout.info.paletteEntries = 0;  // one plane each of red, green and blue (and alpha)
    } else {
        layout.info.paletteEntries = 1 << (layout.bitsPerPixel * layout.planes);
    }
    return layout;
}

// The run-length coded stream: a byte with both top bits set repeats the next byte (its low six
// bits times); any other byte stands for itself. Runs may cross the end of a line.
class RunReader {
public:
    RunReader(std::string_view bytes, std::size_t begin, std::size_t end) : bytes_(bytes), at_(begin), end_(end) {}

    // Fills out with the next bytes of the image; false when the data ends first.
    bool Read(std::uint8_t* out, std::size_t count) {
        while (count > 0) {
            if (left_ == 0 && !NextRun()) return false;
            const std::size_t n = std::min<std::size_t>(count, left_);
            if (out) {
                std::fill_n(out, n, value_);
                out += n;
            }
            left_ -= n;
            count -= n;
        }
        return true;
    }

private:
    bool NextRun() {
        while (at_ < end_) {
            const std::uint8_t b = static_cast<std::uint8_t>(bytes_[at_++]);
            if ((b & 0xC0) != 0xC0) {
                value_ = b;
                left_ = 1;
                return true;
            }
            if (at_ >= end_) return false;
            value_ = static_cast<std::uint8_t>(bytes_[at_++]);
            left_ = b & 0x3F;
            if (left_ > 0) return true;
        }
        return false;
    }

    std::string_view bytes_;
    std::size_t at_;
    std::size_t end_;
    std::uint8_t value_ = 0;
    std::size_t left_ = 0;
};

void CheckAllRows(std::string_view bytes, const PcxLayout& layout) {
    RunReader reader(bytes, kHeaderSize, layout.dataEnd);
    const std::size_t line = layout.bytesPerLine * std::size_t(layout.planes);
    for (int y = 0; y < layout.info.height; ++y) {
        if (!reader.Read(nullptr, line)) throw ImageError("The PCX file's pixel data is cut off.");
    }
}

std::vector<Rgb> PaletteOf(std::string_view bytes, const PcxLayout& layout) {
    std::vector<Rgb> palette;
    if (layout.info.paletteEntries == 0) return palette;
    if (layout.info.paletteEntries == 2 && layout.planes == 1) return {{0, 0, 0}, {255, 255, 255}};
    const std::size_t at = layout.info.paletteEntries == 256 ? layout.dataEnd + 1 : kHeaderPalette;
    for (int i = 0; i < layout.info.paletteEntries; ++i) {
        const std::size_t p = at + std::size_t(i) * 3;
        palette.push_back({static_cast<std::uint8_t>(U8(bytes, p)), static_cast<std::uint8_t>(U8(bytes, p + 1)),
                           static_cast<std::uint8_t>(U8(bytes, p + 2))});
    }
    return palette;
}

}  // namespace

ImageInfo ReadPcxInfo(std::string_view bytes) {
    const PcxLayout layout = ReadLayout(bytes);
    CheckAllRows(bytes, layout);
    return layout.info;
}

Raster DecodePcx(std::string_view bytes, int maxWidth, int maxHeight) {
    const PcxLayout layout = ReadLayout(bytes);
    Raster raster;
    raster.width = std::clamp(layout.info.width, 0, std::max(0, maxWidth));
    raster.height = std::clamp(layout.info.height, 0, std::max(0, maxHeight));
    raster.trueColour = layout.info.paletteEntries == 0;
    raster.palette = PaletteOf(bytes, layout);
    const std::size_t channels = raster.trueColour ? 3 : 1;
    raster.pixels.assign(std::size_t(raster.width) * std::size_t(raster.height) * channels, 0);

    RunReader reader(bytes, kHeaderSize, layout.dataEnd);
    std::vector<std::uint8_t> line(layout.bytesPerLine * std::size_t(layout.planes));
    const int bits = layout.bitsPerPixel;
    for (int y = 0; y < raster.height; ++y) {
        if (!reader.Read(line.data(), line.size())) throw ImageError("The PCX file's pixel data is cut off.");
        std::uint8_t* row = raster.pixels.data() + std::size_t(y) * std::size_t(raster.width) * channels;
        for (int x = 0; x < raster.width; ++x) {
            if (raster.trueColour) {
                for (std::size_t c = 0; c < 3; ++c) row[std::size_t(x) * 3 + c] = line[c * layout.bytesPerLine + std::size_t(x)];
                continue;
            }
            // The bits of a pixel, plane by plane from the lowest.
            int index = 0;
            for (int p = 0; p < layout.planes; ++p) {
                const std::size_t bit = std::size_t(x) * std::size_t(bits);
                const std::uint8_t byte = line[std::size_t(p) * layout.bytesPerLine + bit / 8];
                const int value = (byte >> (8 - bits - static_cast<int>(bit % 8))) & ((1 << bits) - 1);
                index |= value << (p * bits);
            }
            row[x] = static_cast<std::uint8_t>(index);
        }
    }
    return raster;
}

}  // namespace torvane::imports
