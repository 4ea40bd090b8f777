#include "support/image_files.h"

#include <vector>

namespace torvane::testing {

namespace {

void Put16(std::string& s, std::size_t at, unsigned v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::size_t at, unsigned v) {
    Put16(s, at, v & 0xFFFF);
    Put16(s, at + 2, v >> 16);
}

// One line of a PCX file, run-length coded.
void EncodeLine(std::string& out, const std::vector<unsigned char>& line) {
    for (std::size_t i = 0; i < line.size();) {
        std::size_t run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i]) ++run;
        if (run > 1 || line[i] >= 0xC0) out += static_cast<char>(0xC0 | run);
        out += static_cast<char>(line[i]);
        i += run;
    }
}

std::uint8_t Channel(std::uint32_t colour, int shift) { return static_cast<std::uint8_t>((colour >> shift) & 0xFF); }

}  // namespace

std::string PcxBytes(int width, int height, int bitsPerPixel, int planes) {
    std::string file(128, '\0');
    file[0] = 0x0A;
    file[1] = 5;
    file[2] = 1;
    file[3] = static_cast<char>(bitsPerPixel);
    Put16(file, 8, static_cast<unsigned>(width - 1));
    Put16(file, 10, static_cast<unsigned>(height - 1));
    Put16(file, 12, 72);
    Put16(file, 14, 72);
    for (int i = 0; i < 16; ++i) {
        for (int c = 0; c < 3; ++c) file[16 + i * 3 + c] = static_cast<char>(Channel(PaletteColour(i), 16 - 8 * c));
    }
    file[65] = static_cast<char>(planes);
    int bytesPerLine = (width * bitsPerPixel + 7) / 8;
    bytesPerLine += bytesPerLine % 2;  // lines have an even length
    Put16(file, 66, static_cast<unsigned>(bytesPerLine));
    Put16(file, 68, 1);
    const bool trueColour = bitsPerPixel == 8 && planes >= 3;
    const int depth = bitsPerPixel * planes;
    for (int y = 0; y < height; ++y) {
        std::vector<unsigned char> line(static_cast<std::size_t>(bytesPerLine * planes), 0);
        for (int x = 0; x < width; ++x) {
            if (trueColour) {
                const int rgb[3] = {x % 256, y % 256, (x + y) % 256};
                for (int p = 0; p < 3; ++p) line[static_cast<std::size_t>(p * bytesPerLine + x)] = static_cast<unsigned char>(rgb[p]);
                continue;
            }
            const int index = depth >= 8 ? PixelIndex(x, y) : PixelIndex(x, y) % (1 << depth);
            for (int p = 0; p < planes; ++p) {
                const int value = (index >> (p * bitsPerPixel)) & ((1 << bitsPerPixel) - 1);
                const int bit = x * bitsPerPixel;
                line[static_cast<std::size_t>(p * bytesPerLine + bit / 8)] |=
                    static_cast<unsigned char>(value << (8 - bitsPerPixel - bit % 8));
            }
        }
        EncodeLine(file, line);
    }
    if (bitsPerPixel == 8 && planes == 1) {
        file += '\x0C';
        for (int i = 0; i < 256; ++i) {
            for (int shift : {16, 8, 0}) file += static_cast<char>(Channel(PaletteColour(i), shift));
        }
    }
    return file;
}

std::string BmpBytes(int width, int height, int bitCount, int colorsUsed) {
    const int entries = bitCount <= 8 ? (colorsUsed != 0 ? colorsUsed : 1 << bitCount) : 0;
    const int rowBytes = (width * bitCount + 31) / 32 * 4;
    const int offset = 14 + 40 + entries * 4;
    std::string file(static_cast<std::size_t>(offset), '\0');
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<unsigned>(offset + rowBytes * height));
    Put32(file, 10, static_cast<unsigned>(offset));
    Put32(file, 14, 40);
    Put32(file, 18, static_cast<unsigned>(width));
    Put32(file, 22, static_cast<unsigned>(height));
    Put16(file, 26, 1);
    Put16(file, 28, static_cast<unsigned>(bitCount));
    Put32(file, 34, static_cast<unsigned>(rowBytes * height));
    Put32(file, 46, static_cast<unsigned>(colorsUsed));
    for (int i = 0; i < entries; ++i) {
        const std::uint32_t colour = PaletteColour(i);
        file[static_cast<std::size_t>(54 + i * 4)] = static_cast<char>(Channel(colour, 0));
        file[static_cast<std::size_t>(54 + i * 4 + 1)] = static_cast<char>(Channel(colour, 8));
        file[static_cast<std::size_t>(54 + i * 4 + 2)] = static_cast<char>(Channel(colour, 16));
    }
    for (int row = height - 1; row >= 0; --row) {  // bottom row first
        std::vector<unsigned char> line(static_cast<std::size_t>(rowBytes), 0);
        for (int x = 0; x < width; ++x) {
            if (bitCount == 24) {
                line[static_cast<std::size_t>(x * 3)] = static_cast<unsigned char>((x + row) % 256);
                line[static_cast<std::size_t>(x * 3 + 1)] = static_cast<unsigned char>(row % 256);
                line[static_cast<std::size_t>(x * 3 + 2)] = static_cast<unsigned char>(x % 256);
                continue;
            }
            const int index = PixelIndex(x, row) % entries;
            const int bit = x * bitCount;
            line[static_cast<std::size_t>(bit / 8)] |= static_cast<unsigned char>(index << (8 - bitCount - bit % 8));
        }
        file.append(reinterpret_cast<const char*>(line.data()), line.size());
    }
    return file;
}

}  // namespace torvane::testing
