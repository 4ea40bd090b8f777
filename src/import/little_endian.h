#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Little-endian fields of the image headers; the caller has checked that the bytes are there.
namespace torvane::imports::detail {

inline std::uint32_t U8(std::string_view b, std::size_t at) { return static_cast<std::uint8_t>(b[at]); }
inline std::uint32_t U16(std::string_view b, std::size_t at) { return U8(b, at) | U8(b, at + 1) << 8; }
inline std::uint32_t U32(std::string_view b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
inline std::int32_t I32(std::string_view b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }

}  // namespace torvane::imports::detail
