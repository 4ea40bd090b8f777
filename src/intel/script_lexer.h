#pragma once

#include <cstdint>
#include <string_view>

// The tokens of UnrealScript source text: identifiers, numbers, string and name literals and
// operator symbols. Comments, blanks and "#exec" lines are skipped. Lines end at CR LF, at a lone
// CR or at a lone LF (as the editor counts them); lines and columns count from 1, a tab is one
// column.
namespace torvane::intel {

enum class TokenKind : std::uint8_t {
    End,         // no more tokens
    Identifier,  // letters, digits and '_' (bytes above 127 count as letters)
    Number,      // 12, 0x1F, 1.5, .5, 1e-3
    String,      // "..." with its quotes
    Name,        // '...' with its quotes
    Symbol,      // an operator or punctuation, the longest that matches ("==", ">>>", "{")
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::uint32_t offset = 0;  // byte offset in the text
    std::uint32_t length = 0;
    int line = 1;
    int column = 1;
};

// A line and column (from 1) of a byte offset.
struct TextPosition {
    int line = 1;
    int column = 1;
};

// The position of offset in text, counting lines as the lexer does.
TextPosition PositionOfOffset(std::string_view text, std::size_t offset);
// The byte offset of a line and column (both from 1); a column past the line's end gives the
// line's end; a line past the text's end gives the text's size.
std::size_t OffsetOfPosition(std::string_view text, int line, int column);
// The text of one line (from 1) without its line end; empty past the end.
std::string_view LineText(std::string_view text, int line);

class ScriptLexer final {
public:
    // Tokens of text[begin, end); the position of begin is computed unless given.
    explicit ScriptLexer(std::string_view text, std::size_t begin = 0, std::size_t end = std::string_view::npos);
    ScriptLexer(std::string_view text, std::size_t begin, std::size_t end, TextPosition beginPosition);

    Token Next();
    // Inside depth open braces (after the '{' just read: 1): skips to the '}' that closes the
    // outermost (strings, names and comments respected), reads that brace and returns its offset;
    // the end offset when there is none.
    std::uint32_t SkipBlock(int depth = 1);
    // The offset where the next token will be looked for.
    std::uint32_t offset() const { return static_cast<std::uint32_t>(pos_); }

    std::string_view text() const { return text_; }
    std::string_view TextOf(const Token& token) const { return text_.substr(token.offset, token.length); }

private:
    void NewLine(std::size_t nextLineStart);
    void SkipBlanksAndComments();
    void SkipToLineEnd();

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    int line_ = 1;
    std::size_t lineStart_ = 0;
};

// Whether token is an identifier spelled word without regard to case (word in lower case).
bool IsWord(std::string_view tokenText, std::string_view lowerWord);

}  // namespace torvane::intel
