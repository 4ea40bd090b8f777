#pragma once

#include <string>
#include <string_view>

// Windows-1252, the 8-bit code page of the game's files, to and from UTF-8. The five bytes the
// code page leaves undefined map to the C1 control characters of the same value, so every byte
// sequence survives a round trip unchanged.
namespace torvane::core {

std::string Cp1252ToUtf8(std::string_view text);
// Characters the code page cannot hold become '?'. Malformed UTF-8 bytes become '?' as well.
std::string Utf8ToCp1252(std::string_view text);

// The Unicode code point of one byte, and the byte of a code point (or -1 when unmappable).
char32_t Cp1252ToCodePoint(unsigned char byte);
int CodePointToCp1252(char32_t codePoint);

}  // namespace torvane::core
