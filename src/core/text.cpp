#include "core/text.h"

namespace torvane::core {
namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

}  // namespace

char ToUpper(char c) {
    const unsigned char b = Byte(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 0x20);
    switch (b) {
        case 0x9A: return static_cast<char>(0x8A);  // s caron
        case 0x9C: return static_cast<char>(0x8C);  // oe
        case 0x9E: return static_cast<char>(0x8E);  // z caron
        case 0xFF: return static_cast<char>(0x9F);  // y diaeresis
        default: return c;
    }
}

char ToLower(char c) {
    const unsigned char b = Byte(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 0x20);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 0x20);
    switch (b) {
        case 0x8A: return static_cast<char>(0x9A);
        case 0x8C: return static_cast<char>(0x9C);
        case 0x8E: return static_cast<char>(0x9E);
        case 0x9F: return static_cast<char>(0xFF);
        default: return c;
    }
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = ToUpper(c);
    return result;
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = ToLower(c);
    return result;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

bool ContainsIgnoringCase(const std::vector<std::string>& list, std::string_view name) {
    for (const auto& entry : list) {
        if (EqualsIgnoringCase(entry, name)) return true;
    }
    return false;
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (EqualsIgnoringCase(text.substr(i, needle.size()), needle)) return i;
    }
    return std::string_view::npos;
}

std::string_view TrimLeft(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && Byte(text[start]) <= ' ') ++start;
    return text.substr(start);
}

std::string_view TrimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && Byte(text[end - 1]) <= ' ') --end;
    return text.substr(0, end);
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<TextLine> SplitTextLines(std::string_view text) {
    std::vector<TextLine> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        TextLine line{std::string(text.substr(start, i - start)), {}};
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            line.ending = "\r\n";
            ++i;
        } else {
            line.ending = std::string(1, text[i]);
        }
        lines.push_back(std::move(line));
        start = i + 1;
    }
    if (start < text.size()) lines.push_back({std::string(text.substr(start)), {}});
    return lines;
}

std::string JoinTextLines(const std::vector<TextLine>& lines) {
    std::string result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        result += lines[i].text;
        result += lines[i].ending.empty() && i + 1 < lines.size() ? std::string("\r\n") : lines[i].ending;
    }
    return result;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string result;
    for (const auto& line : lines) {
        result += line;
        result += "\r\n";
    }
    return result;
}

}  // namespace torvane::core
