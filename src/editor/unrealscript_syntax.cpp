#include "editor/unrealscript_syntax.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "core/text.h"

namespace torvane::editor {
namespace {

constexpr const char* kKeywords[] = {
    "abstract", "always", "array", "auto", "bool", "break", "byte", "case", "class", "coerce",
    "collapsecategories", "config", "const", "continue", "cpptext", "default",
    "defaultproperties", "dependson", "do", "editconst", "editinline", "else", "enum", "event",
    "exec", "expands", "extends", "false", "final", "float", "for", "foreach", "function",
    "global", "globalconfig", "goto", "if", "ignores", "input", "int", "iterator", "latent",
    "local", "localized", "name", "native", "nativereplication", "new", "noexport", "none",
    "nousercreate", "operator", "optional", "out", "perobjectconfig", "placeable", "postoperator",
    "preoperator", "private", "protected", "reliable", "replication", "return", "safereplace",
    "self", "simulated", "singular", "skip", "state", "static", "stop", "string", "struct",
    "super", "switch", "transient", "true", "unreliable", "until", "var", "vect", "rot",
    "vector", "rotator", "while", "within", "invariant", "export", "editinlinenew", "intrinsic",
    "instanced", "travel"};

bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

void Push(std::vector<StyledRun>& runs, std::size_t length, int style) {
    if (length == 0) return;
    if (!runs.empty() && runs.back().style == style) {
        runs.back().length += length;
    } else {
        runs.push_back({length, style});
    }
}

}  // namespace

bool IsUnrealScriptKeyword(std::string_view word) {
    const std::string lower = core::LowerCase(word);
    return std::any_of(std::begin(kKeywords), std::end(kKeywords),
                       [&](const char* keyword) { return lower == keyword; });
}

std::vector<StyledRun> StyleUnrealScriptLine(std::string_view line, int& state) {
    std::vector<StyledRun> runs;
    const std::string_view trimmed = core::TrimLeft(line);
    if (state == kInCode && core::StartsWithIgnoringCase(trimmed, "#exec")) {
        Push(runs, line.size(), kUsDirective);
        return runs;
    }
    std::size_t i = 0;
    while (i < line.size()) {
        if (state == kInBlockComment) {
            const std::size_t end = line.find("*/", i);
            const std::size_t stop = end == std::string_view::npos ? line.size() : end + 2;
            Push(runs, stop - i, kUsComment);
            if (end != std::string_view::npos) state = kInCode;
            i = stop;
            continue;
        }
        const char c = line[i];
        const int codeStyle = state == kInDefaultProps ? kUsDefaultProps : kUsDefault;
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            Push(runs, line.size() - i, kUsComment);
            break;
        }
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
            state = kInBlockComment;
            Push(runs, 2, kUsComment);
            i += 2;
            continue;
        }
        if (c == '"' || c == '\'') {
            std::size_t j = i + 1;
            while (j < line.size() && line[j] != c) j += line[j] == '\\' ? 2 : 1;
            j = std::min(j + 1, line.size());
            Push(runs, j - i, c == '"' ? kUsString : kUsName);
            i = j;
            continue;
        }
        if (c >= '0' && c <= '9') {
            std::size_t j = i;
            while (j < line.size() && (IsWordChar(line[j]) || line[j] == '.')) ++j;
            Push(runs, j - i, kUsNumber);
            i = j;
            continue;
        }
        if (IsWordChar(c)) {
            std::size_t j = i;
            while (j < line.size() && IsWordChar(line[j])) ++j;
            const std::string_view word = line.substr(i, j - i);
            if (core::EqualsIgnoringCase(word, "defaultproperties")) state = kInDefaultProps;
            Push(runs, j - i, IsUnrealScriptKeyword(word) ? kUsKeyword : codeStyle);
            i = j;
            continue;
        }
        if (state == kInDefaultProps && c == '}') {
            Push(runs, 1, kUsDefaultProps);
            state = kInCode;
            ++i;
            continue;
        }
        Push(runs, 1, codeStyle);
        ++i;
    }
    return runs;
}

}  // namespace torvane::editor
