#include "intel/script_lexer.h"

#include <cstring>

namespace torvane::intel {
namespace {

bool IsIdentifierStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool IsIdentifierPart(unsigned char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The operators and punctuation longer than one byte, longest first.
constexpr std::string_view kLongSymbols[] = {
    ">>>", "==", "!=", "<=", ">=", "~=", "&&", "||", "^^", "++", "--", "+=", "-=", "*=", "/=",
    "$=",  "@=", "**", "<<", ">>",
};

}  // namespace

TextPosition PositionOfOffset(std::string_view text, std::size_t offset) {
    if (offset > text.size()) offset = text.size();
    TextPosition position;
    std::size_t lineStart = 0;
    const char* data = text.data();
    for (std::size_t i = 0; i < offset; ++i) {
        const char c = data[i];
        if (c == '\n') {
            ++position.line;
            lineStart = i + 1;
        } else if (c == '\r' && (i + 1 >= text.size() || data[i + 1] != '\n')) {
            ++position.line;
            lineStart = i + 1;
        }
    }
    position.column = static_cast<int>(offset - lineStart) + 1;
    return position;
}

namespace {

// The offsets where line `line` starts and ends (before its line end); npos start past the end.
std::pair<std::size_t, std::size_t> LineRange(std::string_view text, int line) {
    std::size_t start = 0;
    int current = 1;
    std::size_t i = 0;
    while (current < line) {
        if (i >= text.size()) return {std::string_view::npos, std::string_view::npos};
        const char c = text[i++];
        if (c == '\n' || (c == '\r' && (i >= text.size() || text[i] != '\n'))) {
            ++current;
            start = i;
        }
    }
    std::size_t end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    return {start, end};
}

}  // namespace

std::size_t OffsetOfPosition(std::string_view text, int line, int column) {
    if (line < 1) line = 1;
    const auto [start, end] = LineRange(text, line);
    if (start == std::string_view::npos) return text.size();
    const std::size_t wanted = start + static_cast<std::size_t>(column < 1 ? 0 : column - 1);
    return wanted < end ? wanted : end;
}

std::string_view LineText(std::string_view text, int line) {
    if (line < 1) return {};
    const auto [start, end] = LineRange(text, line);
    if (start == std::string_view::npos) return {};
    return text.substr(start, end - start);
}

bool IsWord(std::string_view tokenText, std::string_view lowerWord) {
    if (tokenText.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < tokenText.size(); ++i) {
        char c = tokenText[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerWord[i]) return false;
    }
    return true;
}

ScriptLexer::ScriptLexer(std::string_view text, std::size_t begin, std::size_t end)
    : ScriptLexer(text, begin, end, PositionOfOffset(text, begin)) {}

ScriptLexer::ScriptLexer(std::string_view text, std::size_t begin, std::size_t end, TextPosition beginPosition)
    : text_(text) {
    end_ = end > text.size() ? text.size() : end;
    pos_ = begin > end_ ? end_ : begin;
    line_ = beginPosition.line;
    const std::size_t back = static_cast<std::size_t>(beginPosition.column - 1);
    lineStart_ = back <= pos_ ? pos_ - back : 0;
}

void ScriptLexer::NewLine(std::size_t nextLineStart) {
    ++line_;
    lineStart_ = nextLineStart;
}

void ScriptLexer::SkipToLineEnd() {
    while (pos_ < end_ && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
}

void ScriptLexer::SkipBlanksAndComments() {
    while (pos_ < end_) {
        const char c = text_[pos_];
        if (c == '\n') {
            ++pos_;
            NewLine(pos_);
        } else if (c == '\r') {
            ++pos_;
            if (pos_ < end_ && text_[pos_] == '\n') ++pos_;
            NewLine(pos_);
        } else if (static_cast<unsigned char>(c) <= ' ') {
            ++pos_;
        } else if (c == '/' && pos_ + 1 < end_ && text_[pos_ + 1] == '/') {
            SkipToLineEnd();
        } else if (c == '/' && pos_ + 1 < end_ && text_[pos_ + 1] == '*') {
            pos_ += 2;
            while (pos_ < end_ && !(text_[pos_] == '*' && pos_ + 1 < end_ && text_[pos_ + 1] == '/')) {
                const char d = text_[pos_++];
                if (d == '\n') {
                    NewLine(pos_);
                } else if (d == '\r') {
                    if (pos_ < end_ && text_[pos_] == '\n') ++pos_;
                    NewLine(pos_);
                }
            }
            pos_ = pos_ + 2 <= end_ ? pos_ + 2 : end_;
        } else if (c == '#') {  // a directive ("#exec ...") runs to the line end
            SkipToLineEnd();
        } else {
            return;
        }
    }
}

Token ScriptLexer::Next() {
    SkipBlanksAndComments();
    Token token;
    token.offset = static_cast<std::uint32_t>(pos_);
    token.line = line_;
    token.column = static_cast<int>(pos_ - lineStart_) + 1;
    if (pos_ >= end_) return token;
    const auto c = static_cast<unsigned char>(text_[pos_]);
    const std::size_t start = pos_;
    if (IsIdentifierStart(c)) {
        token.kind = TokenKind::Identifier;
        ++pos_;
        while (pos_ < end_ && IsIdentifierPart(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    } else if (IsDigit(c) || (c == '.' && pos_ + 1 < end_ && IsDigit(static_cast<unsigned char>(text_[pos_ + 1])))) {
        token.kind = TokenKind::Number;
        if (c == '0' && pos_ + 1 < end_ && (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X')) {
            pos_ += 2;
            while (pos_ < end_ && IsIdentifierPart(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        } else {
            while (pos_ < end_ && IsDigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
            if (pos_ < end_ && text_[pos_] == '.') {
                ++pos_;
                while (pos_ < end_ && IsDigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
            }
            if (pos_ < end_ && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
                std::size_t p = pos_ + 1;
                if (p < end_ && (text_[p] == '-' || text_[p] == '+')) ++p;
                if (p < end_ && IsDigit(static_cast<unsigned char>(text_[p]))) {
                    pos_ = p;
                    while (pos_ < end_ && IsDigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
                }
            }
            while (pos_ < end_ && IsIdentifierStart(static_cast<unsigned char>(text_[pos_]))) ++pos_;  // 1.0f
        }
    } else if (c == '"' || c == '\'') {
        token.kind = c == '"' ? TokenKind::String : TokenKind::Name;
        ++pos_;
        while (pos_ < end_ && text_[pos_] != static_cast<char>(c) && text_[pos_] != '\n' && text_[pos_] != '\r') {
            if (c == '"' && text_[pos_] == '\\' && pos_ + 1 < end_ && text_[pos_ + 1] != '\n' && text_[pos_ + 1] != '\r') {
                ++pos_;
            }
            ++pos_;
        }
        if (pos_ < end_ && text_[pos_] == static_cast<char>(c)) ++pos_;  // an unclosed literal ends with its line
    } else {
        token.kind = TokenKind::Symbol;
        const std::string_view rest = text_.substr(pos_, end_ - pos_);
        std::size_t length = 1;
        for (std::string_view symbol : kLongSymbols) {
            if (rest.size() >= symbol.size() && rest.compare(0, symbol.size(), symbol) == 0) {
                length = symbol.size();
                break;
            }
        }
        pos_ += length;
    }
    token.length = static_cast<std::uint32_t>(pos_ - start);
    return token;
}

std::uint32_t ScriptLexer::SkipBlock(int depth) {
    while (pos_ < end_) {
        const char c = text_[pos_];
        switch (c) {
            case '{':
                ++depth;
                ++pos_;
                break;
            case '}':
                if (--depth == 0) {
                    const auto at = static_cast<std::uint32_t>(pos_);
                    ++pos_;
                    return at;
                }
                ++pos_;
                break;
            case '\n':
                ++pos_;
                NewLine(pos_);
                break;
            case '\r':
                ++pos_;
                if (pos_ < end_ && text_[pos_] == '\n') ++pos_;
                NewLine(pos_);
                break;
            case '/':
            case '#':
                SkipBlanksAndComments();
                if (pos_ < end_ && text_[pos_] == c) ++pos_;  // a lone '/' (division)
                break;
            case '"':
            case '\'':
                Next();
                break;
            default: {
                // Runs of ordinary bytes: find the next byte that matters.
                std::size_t p = pos_ + 1;
                while (p < end_) {
                    const char d = text_[p];
                    if (d == '{' || d == '}' || d == '\n' || d == '\r' || d == '/' || d == '#' || d == '"' || d == '\'') break;
                    ++p;
                }
                pos_ = p;
                break;
            }
        }
    }
    return static_cast<std::uint32_t>(end_);
}

}  // namespace torvane::intel
