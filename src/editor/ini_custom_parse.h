#pragma once

#include <cstddef>
#include <string_view>

// The custom tokenizing of INI and log files: in parse state 1 the run up to the line end or
// "=" is scanned. A run ending at "=" is the key of a "key=value" line (kind 3); a line without
// "=" of at least two characters is kind 8 and the scan is put back; the end of the text, or a
// shorter run, is kind 0.
namespace torvane::editor {

inline constexpr int kIniKindDefault = 0;
inline constexpr int kIniKindKey = 3;
inline constexpr int kIniKindPlainLine = 8;

struct IniParseResult {
    bool acted = false;  // only parse state 1 acts
    int kind = kIniKindDefault;
    std::size_t position = 0;
    int runLength = 0;
};

IniParseResult IniCustomParse(int parseState, std::string_view text, std::size_t position,
                              int runLength);

}  // namespace torvane::editor
