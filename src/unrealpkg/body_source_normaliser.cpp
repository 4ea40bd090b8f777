#include "unrealpkg/body_source_normaliser.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/text.h"

namespace torvane::unrealpkg {
namespace {

enum class Kind { kIdent, kNumber, kString, kName, kObject, kPunct, kEnd };

struct Token {
    Kind kind = Kind::kEnd;
    std::string text;  // canonical spelling
};

bool IsIdentStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }

std::string CanonicalFloat(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

// Numbers compare by value: integers as decimal, floats as the shortest text of the 32-bit
// value (so an integral float reads like the integer).
std::string CanonicalNumber(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return std::to_string(std::strtoll(std::string(text.substr(2)).c_str(), nullptr, 16));
    }
    if (text.find_first_of(".eE") == std::string_view::npos) {
        return std::to_string(std::strtoll(std::string(text).c_str(), nullptr, 10));
    }
    const float value = std::strtof(std::string(text).c_str(), nullptr);
    return CanonicalFloat(value);
}

// Multi-character operators, longest first.
constexpr std::string_view kOperators[] = {
    ">>>", "==", "!=", "<=", ">=", "&&", "||", "^^", "++", "--", "+=", "-=", "*=", "/=",
    "$=", "@=", "<<", ">>", "**", "~=",
};

bool IsKeyword(const std::string& word) {
    static const char* const kKeywords[] = {"return", "case", "goto", "else", "do", "until", "stop"};
    for (const char* keyword : kKeywords) {
        if (word == keyword) return true;
    }
    return false;
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    std::vector<Token> Tokens() {
        std::vector<Token> tokens;
        for (;;) {
            Token token = Next();
            const bool end = token.kind == Kind::kEnd;
            if (token.kind == Kind::kName && !tokens.empty() && tokens.back().kind == Kind::kIdent &&
                !IsKeyword(tokens.back().text)) {
                // Class 'Name' with a blank is an object literal too.
                std::string path = token.text.substr(1, token.text.size() - 2);
                const std::size_t dot = path.rfind('.');
                if (dot != std::string::npos) path.erase(0, dot + 1);
                tokens.back() = {Kind::kObject, tokens.back().text + "'" + path + "'"};
                continue;
            }
            tokens.push_back(std::move(token));
            if (end) return tokens;
        }
    }

private:
    void SkipBlanksAndComments() {
        for (;;) {
            while (at_ < text_.size() && static_cast<unsigned char>(text_[at_]) <= ' ') ++at_;
            if (text_.substr(at_, 2) == "//") {
                while (at_ < text_.size() && text_[at_] != '\n') ++at_;
            } else if (text_.substr(at_, 2) == "/*") {
                const std::size_t end = text_.find("*/", at_ + 2);
                at_ = end == std::string_view::npos ? text_.size() : end + 2;
            } else {
                return;
            }
        }
    }

    std::string Quoted(char quote) {
        std::string value;
        ++at_;
        while (at_ < text_.size() && text_[at_] != quote) {
            if (text_[at_] == '\\' && at_ + 1 < text_.size()) ++at_;
            value += text_[at_++];
        }
        if (at_ >= text_.size()) throw BodySyntaxError("unterminated literal");
        ++at_;
        return value;
    }

    Token Next() {
        SkipBlanksAndComments();
        if (at_ >= text_.size()) return {Kind::kEnd, ""};
        const char c = text_[at_];
        if (IsIdentStart(c)) {
            const std::size_t start = at_;
            while (at_ < text_.size() && IsIdentChar(text_[at_])) ++at_;
            std::string word = core::LowerCase(text_.substr(start, at_ - start));
            if (at_ < text_.size() && text_[at_] == '\'') {
                // Class'Package.Group.Name': only the object's own name counts.
                std::string path = core::LowerCase(Quoted('\''));
                const std::size_t dot = path.rfind('.');
                if (dot != std::string::npos) path.erase(0, dot + 1);
                return {Kind::kObject, word + "'" + path + "'"};
            }
            return {Kind::kIdent, std::move(word)};
        }
        if (IsDigit(c) || (c == '.' && at_ + 1 < text_.size() && IsDigit(text_[at_ + 1]))) {
            const std::size_t start = at_;
            if (text_.substr(at_, 2) == "0x" || text_.substr(at_, 2) == "0X") {
                at_ += 2;
                while (at_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
            } else {
                while (at_ < text_.size() && (IsDigit(text_[at_]) || text_[at_] == '.')) ++at_;
                if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
                    ++at_;
                    if (at_ < text_.size() && (text_[at_] == '-' || text_[at_] == '+')) ++at_;
                    while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
                }
                if (at_ < text_.size() && (text_[at_] == 'f' || text_[at_] == 'F')) {
                    const std::string number = CanonicalNumber(std::string(text_.substr(start, at_ - start)) + ".");
                    ++at_;
                    return {Kind::kNumber, number};
                }
            }
            return {Kind::kNumber, CanonicalNumber(text_.substr(start, at_ - start))};
        }
        if (c == '"') return {Kind::kString, "\"" + Quoted('"') + "\""};
        if (c == '\'') {
            std::string name = core::LowerCase(Quoted('\''));
            if (name.empty()) name = "none";  // '' is the None name
            return {Kind::kName, "'" + name + "'"};
        }
        for (const std::string_view op : kOperators) {
            if (text_.substr(at_, op.size()) == op) {
                at_ += op.size();
                return {Kind::kPunct, std::string(op)};
            }
        }
        ++at_;
        return {Kind::kPunct, std::string(1, c)};
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// Binary operators and their precedence (a lower number binds tighter); assignment is lowest.
int BinaryPrecedence(const Token& token) {
    static const std::map<std::string, int, std::less<>> kPrecedence = {
        {"**", 12}, {"*", 16},  {"/", 16},  {"dot", 16}, {"cross", 16}, {"%", 18}, {"+", 20},
        {"-", 20},  {"<<", 22}, {">>", 22}, {">>>", 22}, {"<", 24},     {">", 24}, {"<=", 24},
        {">=", 24}, {"==", 24}, {"~=", 24}, {"!=", 26},  {"&", 28},     {"^", 28}, {"|", 28},
        {"&&", 30}, {"^^", 30}, {"||", 32}, {"*=", 34},  {"/=", 34},    {"+=", 34}, {"-=", 34},
        {"$=", 34}, {"@=", 34}, {"$", 40},  {"@", 40},   {"=", 50},     {"clockwisefrom", 24},
    };
    if (token.kind != Kind::kPunct && token.kind != Kind::kIdent) return 0;
    const auto it = kPrecedence.find(token.text);
    return it == kPrecedence.end() ? 0 : it->second;
}

class Parser {
public:
    Parser(std::vector<Token> tokens, const BodyNormaliseOptions& options)
        : tokens_(std::move(tokens)), options_(options) {}

    std::vector<std::string> Body() {
        while (Peek().kind != Kind::kEnd) Statement();
        return std::move(lines_);
    }

private:
    const Token& Peek(std::size_t ahead = 0) const {
        const std::size_t at = std::min(at_ + ahead, tokens_.size() - 1);
        return tokens_[at];
    }
    bool Is(std::string_view text, std::size_t ahead = 0) const {
        const Token& t = Peek(ahead);
        return (t.kind == Kind::kPunct || t.kind == Kind::kIdent) && t.text == text;
    }
    Token Take() {
        Token t = Peek();
        if (at_ < tokens_.size() - 1) ++at_;
        return t;
    }
    void Expect(std::string_view text) {
        if (!Is(text)) {
            throw BodySyntaxError("expected '" + std::string(text) + "' before '" + Peek().text + "'");
        }
        Take();
    }
    void Emit(std::string line) { lines_.push_back(std::move(line)); }
    void SkipPast(std::string_view text) {
        while (Peek().kind != Kind::kEnd && !Is(text)) Take();
        Take();
    }
    void SkipBraced() {  // from before '{' to after its matching '}'
        SkipPast("{");
        int depth = 1;
        while (depth > 0 && Peek().kind != Kind::kEnd) {
            if (Is("{")) ++depth;
            if (Is("}")) --depth;
            Take();
        }
    }

    // A statement's body, always printed as a braced block.
    void Block() {
        if (Is("{")) {
            Take();
            while (!Is("}") && Peek().kind != Kind::kEnd) Statement();
            Expect("}");
        } else {
            Statement();
        }
    }

    bool IsDeclarationStart() const {
        static const char* const kWords[] = {"function", "event",     "simulated", "final",
                                             "native",   "singular",  "latent",    "iterator",
                                             "static",   "exec",      "private",   "protected"};
        for (const char* word : kWords) {
            if (Is(word)) return true;
        }
        return false;
    }

    void Statement() {
        if (Is(";")) { Take(); return; }
        if (Is("{")) {
            Take();
            while (!Is("}") && Peek().kind != Kind::kEnd) Statement();
            Expect("}");
            return;
        }
        if (Is("local") || Is("ignores") || Is("const")) { SkipPast(";"); return; }
        if (IsDeclarationStart()) {
            // A function inside state code: a body or a bare declaration.
            while (Peek().kind != Kind::kEnd && !Is("{") && !Is(";")) Take();
            if (Is("{")) SkipBraced(); else Take();
            return;
        }
        if (Peek().kind == Kind::kIdent && Is(":", 1) && !Is("default")) {
            Emit(Take().text + ":");
            Take();
            return;
        }
        if (Is("if")) {
            Take();
            Emit("if " + Parenthesised() + " {");
            Block();
            if (Is("else")) {
                Take();
                Emit("} else {");
                Block();
            }
            Emit("}");
            return;
        }
        if (Is("while")) {
            Take();
            Emit("while " + Parenthesised() + " {");
            Block();
            Emit("}");
            return;
        }
        if (Is("do")) {
            Take();
            Emit("do {");
            Block();
            Expect("until");
            Emit("} until " + Parenthesised());
            if (Is(";")) Take();
            return;
        }
        if (Is("for")) {
            Take();
            Expect("(");
            const std::string init = Is(";") ? "" : Expression();
            Expect(";");
            const std::string condition = Is(";") ? "" : Expression();
            Expect(";");
            const std::string step = Is(")") ? "" : Expression();
            Expect(")");
            // The same bytecode as the while loop with the step at its end.
            if (!init.empty()) Emit(init);
            Emit("while (" + (condition.empty() ? std::string("true") : condition) + ") {");
            Block();
            if (!step.empty()) Emit(step);
            Emit("}");
            return;
        }
        if (Is("foreach")) {
            Take();
            Emit("foreach " + Expression() + " {");
            Block();
            Emit("}");
            return;
        }
        if (Is("switch")) {
            Take();
            Emit("switch " + Parenthesised() + " {");
            Expect("{");
            while (!Is("}") && Peek().kind != Kind::kEnd) Statement();
            Expect("}");
            Emit("}");
            return;
        }
        if (Is("case")) {
            Take();
            const std::string value = Expression();
            Expect(":");
            Emit("case " + value + ":");
            return;
        }
        if (Is("default") && Is(":", 1)) {
            Take();
            Take();
            Emit("default:");
            return;
        }
        if (Is("return")) {
            Take();
            Emit(Is(";") ? "return" : "return " + Expression());
            EndOfStatement();
            return;
        }
        if (Is("break") || Is("continue") || Is("stop")) {
            Emit(Take().text);
            EndOfStatement();
            return;
        }
        if (Is("goto")) {
            Take();
            Emit("goto " + Expression());
            EndOfStatement();
            return;
        }
        if (Is("assert")) {
            Take();
            Emit("assert " + Parenthesised());
            EndOfStatement();
            return;
        }
        Emit(Expression());
        EndOfStatement();
    }

    void EndOfStatement() {
        if (Is(";")) Take();
        else if (!Is("}") && Peek().kind != Kind::kEnd) Expect(";");
    }

    std::string Parenthesised() {
        Expect("(");
        std::string inner = Expression();
        Expect(")");
        return "(" + inner + ")";
    }

    std::string Expression(int maxPrecedence = 50) {
        std::string left = Unary();
        for (;;) {
            const int precedence = BinaryPrecedence(Peek());
            if (precedence == 0 || precedence > maxPrecedence) return left;
            const std::string op = Take().text;
            // Left-associative, except assignment.
            const std::string right = Expression(op == "=" ? precedence : precedence - 1);
            left = "(" + left + " " + op + " " + right + ")";
        }
    }

    std::string Unary() {
        if (Is("+")) {
            Take();
            return Unary();
        }
        if (Is("!") || Is("-") || Is("~") || Is("++") || Is("--")) {
            const std::string op = Take().text;
            const std::string operand = Unary();
            if (op == "-" && !operand.empty() && operand[0] != '-' &&
                (IsDigit(operand[0]) || operand[0] == '.')) {
                return "-" + operand;  // a negative literal
            }
            return "(" + op + " " + operand + ")";
        }
        std::string operand = Postfix();
        while (Is("++") || Is("--")) operand = "(" + operand + " " + Take().text + ")";
        return operand;
    }

    std::string Arguments() {  // after '(' up to and including ')'
        std::vector<std::string> arguments;
        std::string current;
        bool any = false;
        while (!Is(")")) {
            if (Peek().kind == Kind::kEnd) throw BodySyntaxError("unclosed argument list");
            if (Is(",")) {
                Take();
                arguments.push_back(current);
                current.clear();
                any = true;
                continue;
            }
            current = Expression();
            any = true;
        }
        Take();
        if (any) arguments.push_back(current);
        while (!arguments.empty() && arguments.back().empty()) arguments.pop_back();
        std::string text = "(";
        for (std::size_t i = 0; i < arguments.size(); ++i) text += (i ? ", " : "") + arguments[i];
        return text + ")";
    }

    std::string Postfix() {
        std::string text = Primary();
        for (;;) {
            if (Is(".")) {
                Take();
                const std::string member = Take().text;
                if (!Is("(")) {
                    // A constant (or EnumName.Value) reached through an object or a type: the
                    // bytecode holds only its value.
                    if (const std::string* value = ConstantValue(member)) {
                        text = *value;
                        continue;
                    }
                    if (const auto* values = EnumValues(text.substr(text.rfind('.') + 1))) {
                        const auto value = values->find(member);
                        if (value != values->end()) {
                            text = std::to_string(value->second);
                            continue;
                        }
                    }
                }
                text += "." + member;
            } else if (Is("(")) {
                Take();
                if (text == "arraycount") {
                    Arguments();
                    text = std::string(kArrayCountMarker);
                } else {
                    text += Arguments();
                }
            } else if (Is("[")) {
                Take();
                text += "[" + Expression() + "]";
                Expect("]");
            } else {
                return text;
            }
        }
    }

    std::string Primary() {
        const Token& token = Peek();
        if (Is("(")) {
            Take();
            std::string inner = Expression();
            Expect(")");
            return inner;
        }
        if (Is("new")) {
            Take();
            std::string text = "new";
            if (Is("(")) {
                Take();
                const std::string arguments = Arguments();
                if (arguments != "()") text += arguments;  // new () Class is new Class
            }
            return text + " " + Postfix();
        }
        if (Is("class") && Is("<", 1)) {
            Take();
            Take();
            const std::string name = Take().text;
            Expect(">");
            return "class<" + name + ">";
        }
        if (token.kind == Kind::kIdent) {
            std::string word = Take().text;
            // A constant's name (not a member, not a call) reads as its value.
            const bool member = at_ >= 2 && tokens_[at_ - 2].text == ".";
            if (!member && !Is("(")) {
                if (const std::string* value = ConstantValue(word)) return *value;
            }
            return word;
        }
        if (token.kind == Kind::kPunct || token.kind == Kind::kEnd) {
            throw BodySyntaxError("unexpected '" + token.text + "'");
        }
        return Take().text;
    }

    // The canonical value of a constant of that name, nullptr when it is none or not a number.
    const std::string* ConstantValue(const std::string& name) {
        const auto constant = options_.constants.find(name);
        if (constant == options_.constants.end()) return nullptr;
        auto known = constantValues_.find(name);
        if (known == constantValues_.end()) {
            std::string canonical;
            try {
                std::vector<Token> value = Lexer(constant->second).Tokens();
                if (value.size() == 2 && value[0].kind != Kind::kIdent) canonical = value[0].text;
                if (value.size() == 3 && value[0].text == "-") canonical = "-" + value[1].text;
            } catch (const BodySyntaxError&) {
            }
            known = constantValues_.emplace(name, canonical).first;
        }
        return known->second.empty() ? nullptr : &known->second;
    }

    const std::map<std::string, int>* EnumValues(const std::string& enumName) const {
        const auto it = options_.enums.find(enumName);
        return it == options_.enums.end() ? nullptr : &it->second;
    }

    std::map<std::string, std::string> constantValues_;
    std::vector<Token> tokens_;
    const BodyNormaliseOptions& options_;
    std::size_t at_ = 0;
    std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> NormaliseBody(std::string_view text, const BodyNormaliseOptions& options) {
    return Parser(Lexer(text).Tokens(), options).Body();
}

std::string BodySourceAt(std::string_view classSource, std::size_t position) {
    int depth = 1;
    std::size_t at = std::min(position, classSource.size());
    while (at < classSource.size()) {
        const char c = classSource[at];
        if (c == '"' || c == '\'') {
            ++at;
            while (at < classSource.size() && classSource[at] != c && classSource[at] != '\n') {
                if (classSource[at] == '\\') ++at;
                ++at;
            }
        } else if (classSource.substr(at, 2) == "//") {
            while (at < classSource.size() && classSource[at] != '\n') ++at;
        } else if (classSource.substr(at, 2) == "/*") {
            const std::size_t end = classSource.find("*/", at + 2);
            at = end == std::string_view::npos ? classSource.size() : end + 1;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) break;
        }
        ++at;
    }
    return std::string(classSource.substr(std::min(position, classSource.size()),
                                          at - std::min(position, classSource.size())));
}

bool CanonicalLinesMatch(std::string_view sourceLine, std::string_view decompiledLine) {
    const std::size_t marker = sourceLine.find(kArrayCountMarker);
    if (marker == std::string_view::npos) return sourceLine == decompiledLine;
    if (decompiledLine.substr(0, marker) != sourceLine.substr(0, marker)) return false;
    std::size_t digits = marker;
    if (digits < decompiledLine.size() && decompiledLine[digits] == '-') ++digits;
    const std::size_t first = digits;
    while (digits < decompiledLine.size() && IsDigit(decompiledLine[digits])) ++digits;
    if (digits == first) return false;
    return CanonicalLinesMatch(sourceLine.substr(marker + kArrayCountMarker.size()),
                               decompiledLine.substr(digits));
}

}  // namespace torvane::unrealpkg
