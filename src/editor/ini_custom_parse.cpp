#include "editor/ini_custom_parse.h"

namespace torvane::editor {

IniParseResult IniCustomParse(int parseState, std::string_view text, std::size_t position,
                              int runLength) {
    IniParseResult result{false, kIniKindDefault, position, runLength};
    if (parseState != 1) return result;
    result.acted = true;
    while (result.position < text.size() && text[result.position] != '\r' &&
           text[result.position] != '\n' && text[result.position] != '=') {
        ++result.position;
        ++result.runLength;
    }
    if (result.position >= text.size()) {
        result.kind = kIniKindDefault;
    } else if (text[result.position] == '=') {
        result.kind = kIniKindKey;
    } else if (result.runLength >= 2) {
        result.kind = kIniKindPlainLine;
        result.position = position;
        result.runLength = runLength;
    } else {
        result.kind = kIniKindDefault;
    }
    return result;
}

}  // namespace torvane::editor
