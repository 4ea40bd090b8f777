#include "unrealpkg/bmp_writer.h"

#include "platform/file_ops.h"
#include "unrealpkg/mip_bitmap.h"

namespace torvane::unrealpkg {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::string EncodeBmp(const MipBitmap& bitmap) {
    const std::uint32_t bytesPerPixel = static_cast<std::uint32_t>(bitmap.bitsPerPixel / 8);
    const std::uint32_t rowBytes = bitmap.width * bytesPerPixel;
    const std::uint32_t stride = (rowBytes + 3) & ~3u;
    const std::uint32_t paletteBytes = bitmap.bitsPerPixel == 8 ? 256 * 4 : 0;
    const std::uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes + paletteBytes;
    const std::uint32_t imageBytes = stride * bitmap.height;

    std::string out;
    out.reserve(pixelOffset + imageBytes);
    out += "BM";
    Put32(out, pixelOffset + imageBytes);
    Put32(out, 0);  // reserved
    Put32(out, pixelOffset);

    Put32(out, kInfoHeaderBytes);
    Put32(out, bitmap.width);
    Put32(out, bitmap.height);  // positive: bottom-up rows
    Put16(out, 1);              // planes
    Put16(out, static_cast<std::uint32_t>(bitmap.bitsPerPixel));
    Put32(out, 0);  // no compression
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, bitmap.bitsPerPixel == 8 ? 256 : 0);
    Put32(out, 0);

    if (bitmap.bitsPerPixel == 8) {
        for (const TUTColor& c : bitmap.palette) {
            out += static_cast<char>(c.b);
            out += static_cast<char>(c.g);
            out += static_cast<char>(c.r);
            out += '\0';
        }
    }
    const std::string padding(stride - rowBytes, '\0');
    for (std::uint32_t row = bitmap.height; row-- > 0;) {
        const std::uint8_t* pixel = bitmap.pixels.data() + static_cast<std::size_t>(row) * rowBytes;
        if (bytesPerPixel == 1) {
            out.append(reinterpret_cast<const char*>(pixel), rowBytes);
        } else {
            for (std::uint32_t x = 0; x < bitmap.width; ++x, pixel += 3) {
                out += static_cast<char>(pixel[2]);
                out += static_cast<char>(pixel[1]);
                out += static_cast<char>(pixel[0]);
            }
        }
        out += padding;
    }
    return out;
}

void SaveBmpFile(const MipBitmap& bitmap, const std::string& path) {
    platform::WriteFileAtomic(path, EncodeBmp(bitmap));
}

}  // namespace torvane::unrealpkg
