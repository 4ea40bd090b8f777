#include "unrealpkg/mip_bitmap.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace torvane::unrealpkg {
namespace {

constexpr std::size_t kDxt1BlockBytes = 8;

struct Rgb {
    int r = 0, g = 0, b = 0;
};

// 5 bits red in the top bits, 6 green, 5 blue in the low bits; each widened by a shift.
Rgb Expand565(std::uint16_t c) {
    return {((c >> 11) & 0x1F) << 3, ((c >> 5) & 0x3F) << 2, (c & 0x1F) << 3};
}

Rgb Mix(const Rgb& a, int wa, const Rgb& b, int wb) {
    const int sum = wa + wb;
    return {(wa * a.r + wb * b.r) / sum, (wa * a.g + wb * b.g) / sum, (wa * a.b + wb * b.b) / sum};
}

// The four colours of a block: with C1 below C0 the two in between at thirds, otherwise the
// middle colour and black.
std::array<Rgb, 4> BlockColours(std::uint16_t c0, std::uint16_t c1) {
    const Rgb a = Expand565(c0);
    const Rgb b = Expand565(c1);
    if (c1 < c0) return {a, b, Mix(a, 2, b, 1), Mix(a, 1, b, 2)};
    return {a, b, Mix(a, 1, b, 1), Rgb{}};
}

}  // namespace

MipBitmap::MipBitmap(std::uint32_t w, std::uint32_t h, int bits)
    : width(w), height(h), bitsPerPixel(bits),
      pixels(static_cast<std::size_t>(w) * h * static_cast<std::size_t>(bits / 8), 0) {}

MipBitmap DecodeP8(const TUTMip& mip) {
    MipBitmap bitmap(mip.USize, mip.VSize, 8);
    const std::size_t count = std::min(bitmap.pixels.size(), mip.data.size());
    std::copy_n(mip.data.begin(), count, bitmap.pixels.begin());
    return bitmap;
}

MipBitmap DecodeDxt1(const TUTMip& mip) {
    MipBitmap bitmap(mip.USize, mip.VSize, 24);
    const std::uint32_t across = std::max<std::uint32_t>(1, mip.USize / 4);
    const std::uint32_t down = std::max<std::uint32_t>(1, mip.VSize / 4);
    const std::vector<std::uint8_t>& data = mip.data;
    std::size_t at = 0;
    for (std::uint32_t by = 0; by < down; ++by) {
        for (std::uint32_t bx = 0; bx < across; ++bx, at += kDxt1BlockBytes) {
            if (at + kDxt1BlockBytes > data.size()) return bitmap;
            const auto c0 = static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
            const auto c1 = static_cast<std::uint16_t>(data[at + 2] | (data[at + 3] << 8));
            const std::array<Rgb, 4> colours = BlockColours(c0, c1);
            for (std::uint32_t row = 0; row < 4; ++row) {
                const std::uint8_t bits = data[at + 4 + row];
                const std::uint32_t y = by * 4 + row;
                for (std::uint32_t column = 0; column < 4; ++column) {
                    const std::uint32_t x = bx * 4 + column;
                    if (x >= bitmap.width || y >= bitmap.height) continue;
                    const Rgb& c = colours[(bits >> (2 * column)) & 3];
                    std::uint8_t* pixel = &bitmap.pixels[(static_cast<std::size_t>(y) * bitmap.width + x) * 3];
                    pixel[0] = static_cast<std::uint8_t>(c.r);
                    pixel[1] = static_cast<std::uint8_t>(c.g);
                    pixel[2] = static_cast<std::uint8_t>(c.b);
                }
            }
        }
    }
    return bitmap;
}

MipBitmap DecodeMip(const TUTMip& mip, int format) {
    if (mip.USize > kMaxMipSide || mip.VSize > kMaxMipSide) {
        throw std::runtime_error("Texture mip of " + std::to_string(mip.USize) + " x " +
                                 std::to_string(mip.VSize) + " pixels is too large");
    }
    switch (format) {
        case kTextureFormatP8: return DecodeP8(mip);
        case kTextureFormatDxt1: return DecodeDxt1(mip);
        default: return MipBitmap(mip.USize, mip.VSize, 24);
    }
}

}  // namespace torvane::unrealpkg
