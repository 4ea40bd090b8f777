#pragma once

#include <string>
#include <string_view>
#include <vector>

// Helpers for 8-bit (Windows-1252) text held in std::string.
namespace torvane::core {

// Upper-case / lower-case of one Windows-1252 character (letters of ASCII and Latin-1 and the
// few extra letters of the code page).
char ToUpper(char c);
char ToLower(char c);
// The case-folded form used for comparisons without regard to case.
inline char FoldCase(char c) { return ToUpper(c); }

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix);
// Whether list holds name without regard to case.
bool ContainsIgnoringCase(const std::vector<std::string>& list, std::string_view name);

// Position of needle in text without regard to case, or npos.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from = 0);

// Blanks and control characters (<= ' ') removed from both ends / the left / the right.
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);

// Splits text into lines at CR LF, LF or a lone CR; a final line end yields no empty last line.
std::vector<std::string> SplitLines(std::string_view text);

// Lines joined, each followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// A line with the bytes that ended it, so that a file can be edited line by line and written
// back with every untouched line exactly as it was.
struct TextLine {
    std::string text;
    std::string ending;  // "\r\n", "\n", "\r", or empty for a last line without one
};

// Splits as SplitLines does, keeping each line's ending.
std::vector<TextLine> SplitTextLines(std::string_view text);
// The lines with their endings; a line followed by another but without an ending (a former last
// line) gets CR LF.
std::string JoinTextLines(const std::vector<TextLine>& lines);

}  // namespace torvane::core
