#pragma once

#include <cstdint>

// The compact index: 1 to 5 bytes, signed. Byte 0: sign bit 7, "more" bit 6, 6 value bits;
// bytes 1-3: "more" bit 7, 7 value bits; byte 4: 8 value bits.
namespace torvane::unrealpkg {

// Decodes from a byte source (a function returning the next byte).
template <typename NextByte>
std::int32_t DecodeCompactIndexFrom(NextByte next) {
    const std::uint8_t b0 = next();
    std::uint32_t value = b0 & 0x3F;
    if (b0 & 0x40) {
        const std::uint8_t b1 = next();
        value |= static_cast<std::uint32_t>(b1 & 0x7F) << 6;
        if (b1 & 0x80) {
            const std::uint8_t b2 = next();
            value |= static_cast<std::uint32_t>(b2 & 0x7F) << 13;
            if (b2 & 0x80) {
                const std::uint8_t b3 = next();
                value |= static_cast<std::uint32_t>(b3 & 0x7F) << 20;
                if (b3 & 0x80) value |= static_cast<std::uint32_t>(next()) << 27;
            }
        }
    }
    return (b0 & 0x80) ? static_cast<std::int32_t>(0u - value) : static_cast<std::int32_t>(value);
}

}  // namespace torvane::unrealpkg
