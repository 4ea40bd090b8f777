#include "fidelity/uscript_declarations.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

namespace torvane::fidelity {
namespace {

enum class Kind { Word, Number, String, Name, Symbol, Punct };

struct Token {
    Kind kind;
    std::string text;  // words lower-cased; strings and names as written
};

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsPunct(char c) { return std::string_view("(){}[];,").find(c) != std::string_view::npos; }

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Comments and "#exec" lines out; strings kept intact.
std::string StripComments(std::string_view in) {
    std::string out;
    bool lineStart = true;
    for (std::size_t i = 0; i < in.size();) {
        const char c = in[i];
        if (lineStart && (c == ' ' || c == '\t')) {
            out += c;
            ++i;
            continue;
        }
        if (lineStart && c == '#') {
            while (i < in.size() && in[i] != '\n') ++i;
            continue;
        }
        lineStart = false;
        if (c == '/' && i + 1 < in.size() && in[i + 1] == '/') {
            while (i < in.size() && in[i] != '\n') ++i;
            continue;
        }
        if (c == '/' && i + 1 < in.size() && in[i + 1] == '*') {
            const std::size_t end = in.find("*/", i + 2);
            i = end == std::string_view::npos ? in.size() : end + 2;
            out += ' ';
            continue;
        }
        if (c == '"' || c == '\'') {
            const std::size_t start = i++;
            while (i < in.size() && in[i] != c && in[i] != '\n') i += (in[i] == '\\' && i + 1 < in.size()) ? 2 : 1;
            if (i < in.size() && in[i] == c) ++i;
            out.append(in.substr(start, i - start));
            continue;
        }
        if (c == '\n') lineStart = true;
        out += c;
        ++i;
    }
    return out;
}

std::vector<Token> Tokenize(std::string_view text) {
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (IsWordStart(c)) {
            const std::size_t start = i;
            while (i < text.size() && IsWordChar(text[i])) ++i;
            tokens.push_back({Kind::Word, Lower(text.substr(start, i - start))});
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            const std::size_t start = i;
            while (i < text.size() && (IsWordChar(text[i]) || text[i] == '.')) ++i;
            tokens.push_back({Kind::Number, Lower(text.substr(start, i - start))});
        } else if (c == '"' || c == '\'') {
            const std::size_t start = i++;
            while (i < text.size() && text[i] != c) i += (text[i] == '\\' && i + 1 < text.size()) ? 2 : 1;
            i = std::min(i + 1, text.size());
            tokens.push_back({c == '"' ? Kind::String : Kind::Name, std::string(text.substr(start, i - start))});
        } else if (IsPunct(c)) {
            tokens.push_back({Kind::Punct, std::string(1, c)});
            ++i;
        } else {
            const std::size_t start = i;
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) && !IsPunct(text[i]) &&
                   !IsWordChar(text[i]) && text[i] != '"' && text[i] != '\'') {
                ++i;
            }
            tokens.push_back({Kind::Symbol, std::string(text.substr(start, i - start))});
        }
    }
    return tokens;
}

// Joined without blanks; names compared without regard to case.
std::string Join(const std::vector<Token>& tokens, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to && i < tokens.size(); ++i) {
        out += tokens[i].kind == Kind::Name ? Lower(tokens[i].text) : tokens[i].text;
    }
    return out;
}

std::string Sorted(std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    std::string out;
    for (const auto& w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}

std::string StripOuterParens(std::string text) {
    while (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        int depth = 0;
        bool wraps = true;
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] == '(') ++depth;
            if (text[i] == ')') --depth;
            if (depth == 0) {
                wraps = false;
                break;
            }
        }
        if (!wraps) break;
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

// A condition (written without blanks) with every binary operation in parentheses, so that
// parentheses the operators' precedence makes redundant do not count. Operands that are not
// operations (names, calls, literals) are kept as written; text that does not parse stays as it is.
class ConditionCanonicaliser {
public:
    explicit ConditionCanonicaliser(std::string text) : s_(std::move(text)) {}

    std::string Run() {
        std::string result;
        if (!Parse(99, result) || at_ != s_.size()) return StripOuterParens(s_);
        return result;
    }

private:
    // Binding strength as the language gives it: a lower number binds tighter.
    static int Precedence(const std::string& op) {
        if (op == "*" || op == "/") return 16;
        if (op == "+" || op == "-") return 20;
        if (op == "==" || op == "<" || op == ">" || op == "<=" || op == ">=" || op == "~=") return 24;
        if (op == "!=") return 26;
        if (op == "&" || op == "|" || op == "^") return 28;
        if (op == "&&" || op == "^^") return 30;
        if (op == "||") return 32;
        return -1;
    }

    std::string PeekOperator() const {
        for (const char* op : {"&&", "||", "^^", "==", "!=", "<=", ">=", "~=", "<", ">", "+", "-", "*", "/", "&", "|", "^"}) {
            if (s_.compare(at_, std::char_traits<char>::length(op), op) == 0) return op;
        }
        return {};
    }

    bool Operand(std::string& out) {
        if (at_ >= s_.size()) return false;
        if (s_[at_] == '!' || s_[at_] == '-') {
            const char sign = s_[at_++];
            std::string inner;
            if (!Operand(inner)) return false;
            out = std::string(1, sign) + inner;
            return true;
        }
        if (s_[at_] == '(') {
            ++at_;
            if (!Parse(99, out) || at_ >= s_.size() || s_[at_] != ')') return false;
            ++at_;
            return true;
        }
        const std::size_t start = at_;
        while (at_ < s_.size()) {
            const char c = s_[at_];
            if (c == '\'' || c == '"') {
                const std::size_t close = s_.find(c, at_ + 1);
                if (close == std::string::npos) return false;
                at_ = close + 1;
            } else if (c == '(') {  // a call: its arguments belong to the operand
                int depth = 0;
                for (; at_ < s_.size(); ++at_) {
                    depth += s_[at_] == '(' ? 1 : s_[at_] == ')' ? -1 : 0;
                    if (depth == 0) break;
                }
                if (at_ >= s_.size()) return false;
                ++at_;
            } else if (IsWordChar(c) || c == '.' || c == '[' || c == ']') {
                ++at_;
            } else {
                break;
            }
        }
        out = s_.substr(start, at_ - start);
        return at_ > start;
    }

    bool Parse(int limit, std::string& out) {
        if (!Operand(out)) return false;
        for (;;) {
            const std::string op = PeekOperator();
            const int precedence = op.empty() ? -1 : Precedence(op);
            if (precedence < 0 || precedence >= limit) return true;
            at_ += op.size();
            std::string right;
            if (!Parse(precedence, right)) return false;
            out = "(" + out + op + right + ")";
        }
    }

    std::string s_;
    std::size_t at_ = 0;
};

const std::set<std::string> kVariableWords = {
    "const", "input", "export", "exportobject", "editconst", "config", "globalconfig", "localized",
    "transient", "native", "private", "protected", "public", "travel", "skip", "out", "optional",
    "coerce", "editinline", "deprecated", "edfindable", "editinlineuse", "noexport", "ondemand",
    "new", "constref", "init"};

const std::set<std::string> kFunctionWords = {
    "native", "static", "final", "iterator", "latent", "singular", "simulated", "exec", "noexport",
    "const", "invariant", "private", "protected", "public", "reliable", "unreliable", "client", "server"};

class Reader {
public:
    Reader(std::vector<Token> tokens, ClassDeclarations& out) : t_(std::move(tokens)), out_(out) {}

    void Run() {
        // Constants first: static array sizes may name them.
        for (std::size_t i = 0; i + 1 < t_.size(); ++i) {
            if (IsWord(i, "const") && i + 3 < t_.size() && t_[i + 2].text == "=") {
                std::size_t end = i + 3;
                while (end < t_.size() && t_[end].text != ";") ++end;
                constValues_[t_[i + 1].text] = Join(t_, i + 3, end);
            }
        }
        while (p_ < t_.size()) Statement();
    }

private:
    bool IsWord(std::size_t i, std::string_view word) const {
        return i < t_.size() && t_[i].kind == Kind::Word && t_[i].text == word;
    }
    bool IsText(std::size_t i, std::string_view text) const { return i < t_.size() && t_[i].text == text; }

    // Index just past the bracket that closes the one at i.
    std::size_t SkipBalanced(std::size_t i) const {
        const std::string open = t_[i].text;
        const std::string close = open == "{" ? "}" : open == "(" ? ")" : "]";
        int depth = 0;
        for (; i < t_.size(); ++i) {
            if (t_[i].kind != Kind::Punct) continue;
            if (t_[i].text == open) ++depth;
            if (t_[i].text == close && --depth == 0) return i + 1;
        }
        return t_.size();
    }

    std::size_t StatementEnd(std::size_t i) const {
        while (i < t_.size() && !IsText(i, ";")) {
            if (IsText(i, "{") || IsText(i, "(")) {
                i = SkipBalanced(i);
            } else {
                ++i;
            }
        }
        return i;
    }

    void Statement() {
        if (IsText(p_, ";")) {
            ++p_;
        } else if (IsWord(p_, "class") && out_.header.empty()) {
            ClassHeader();
        } else if (IsWord(p_, "var")) {
            for (auto& [name, declaration] : Variable(p_ + 1)) out_.variables[name] = declaration;
        } else if (IsWord(p_, "const")) {
            const std::size_t end = StatementEnd(p_);
            if (p_ + 1 < t_.size()) out_.constants[t_[p_ + 1].text] = "const " + t_[p_ + 1].text + "=" + Join(t_, p_ + 3, end);
            p_ = end + 1;
        } else if (IsWord(p_, "enum")) {
            p_ = Enum(p_);
        } else if (IsWord(p_, "struct")) {
            p_ = Struct(p_);
        } else if (IsWord(p_, "replication") && IsText(p_ + 1, "{")) {
            Replication();
        } else if ((IsWord(p_, "defaultproperties") || IsWord(p_, "cpptext")) && IsText(p_ + 1, "{")) {
            p_ = SkipBalanced(p_ + 1);
        } else if (IsStateStart(p_)) {
            State();
        } else {
            std::string key, signature;
            p_ = Function(p_, key, signature);
            if (!key.empty()) out_.functions[key] = signature;
        }
    }

    void ClassHeader() {
        const std::size_t end = StatementEnd(p_);
        std::string header = "class " + t_[p_ + 1].text;
        className_ = t_[p_ + 1].text;
        std::vector<std::string> modifiers;
        for (std::size_t i = p_ + 2; i < end; ++i) {
            const std::string& w = t_[i].text;
            if ((w == "extends" || w == "expands" || w == "within") && i + 1 < end) {
                header += (w == "within" ? " within " : " extends ") + t_[++i].text;
            } else if (IsText(i + 1, "(")) {
                const std::size_t close = SkipBalanced(i + 1);
                const std::string argument = Join(t_, i + 1, close);
                modifiers.push_back(w == "config" && argument == "(system)" ? "config"
                                                                            : (w == "intrinsic" ? "native" : w) + argument);
                i = close - 1;
            } else {
                modifiers.push_back(w == "intrinsic" ? "native" : w);
            }
        }
        out_.header = header;
        out_.modifiers.insert(modifiers.begin(), modifiers.end());
        p_ = end + 1;
    }

    // A type that may be an inline enum or struct; returns the normalised type.
    std::string Type(std::size_t& i, std::size_t end) {
        if (IsWord(i, "enum") && i + 2 < end && IsText(i + 2, "{")) {
            const std::string name = t_[i + 1].text;
            i = Enum(i);
            return name;
        }
        if (IsWord(i, "struct")) {
            std::size_t brace = i;
            while (brace < end && !IsText(brace, "{")) ++brace;
            const std::string name = t_[brace - 1].text;
            i = Struct(i);
            return name;
        }
        std::size_t start = i;
        ++i;
        while (IsText(i, ".") && i + 1 < end && t_[i + 1].kind == Kind::Word) i += 2;  // Class.Type
        if (IsText(i, "<") || (i < end && t_[i].kind == Kind::Symbol && t_[i].text[0] == '<')) {
            int depth = 0;
            for (; i < end; ++i) {
                for (char c : t_[i].text) depth += c == '<' ? 1 : c == '>' ? -1 : 0;
                if (depth <= 0 && t_[i].text.find('>') != std::string::npos) {
                    ++i;
                    break;
                }
            }
        }
        return Join(t_, start, i);
    }

    // The variables of a "var" statement whose words start at first, in order; p_ moves past it.
    std::vector<std::pair<std::string, std::string>> Variable(std::size_t first, const std::string& owner = {}) {
        std::vector<std::pair<std::string, std::string>> into;
        const std::size_t end = StatementEnd(first);
        std::size_t i = first;
        std::string category;
        bool editable = false;
        if (IsText(i, "(")) {
            editable = true;
            const std::size_t close = SkipBalanced(i);
            category = Join(t_, i + 1, close - 1);
            if (category == (owner.empty() ? className_ : owner)) category.clear();
            i = close;
        }
        std::vector<std::string> words;
        while (i < end && t_[i].kind == Kind::Word && kVariableWords.count(t_[i].text) && !IsText(i + 1, ",") &&
               !IsText(i + 1, ";") && !IsText(i + 1, "[")) {
            words.push_back(t_[i].text);
            ++i;
        }
        if (i >= end) {
            p_ = end + 1;
            return into;
        }
        const std::string type = Type(i, end);
        const std::string prefix = std::string("var") + (editable ? "(" + category + ")" : "") + " [" + Sorted(words) + "] " + type + " ";
        while (i < end) {
            if (IsText(i, ",")) {
                ++i;
                continue;
            }
            const std::string name = t_[i].text;
            std::string dim;
            ++i;
            if (IsText(i, "[")) {
                const std::size_t close = SkipBalanced(i);
                std::string size = Join(t_, i + 1, close - 1);
                if (const auto it = constValues_.find(size); it != constValues_.end()) size = it->second;
                if (size.rfind("arraycount(", 0) == 0 && size.back() == ')') {
                    const auto it = dims_.find(size.substr(11, size.size() - 12));
                    if (it != dims_.end()) size = it->second;
                }
                dims_[name] = size;
                dim = "[" + size + "]";
                i = close;
            }
            into.emplace_back(name, prefix + name + dim);
        }
        p_ = end + 1;
        return into;
    }

    std::size_t Enum(std::size_t i) {
        const std::string name = t_[i + 1].text;
        std::size_t brace = i + 2;
        if (!IsText(brace, "{")) return StatementEnd(i) + 1;
        const std::size_t close = SkipBalanced(brace);
        std::string values = Join(t_, brace + 1, close - 1);
        if (!values.empty() && values.back() == ',') values.pop_back();
        out_.enums[name] = "enum " + name + " {" + values + "}";
        return close;
    }

    std::size_t Struct(std::size_t i) {
        std::size_t brace = i + 1;
        while (brace < t_.size() && !IsText(brace, "{") && !IsText(brace, ";")) ++brace;
        if (!IsText(brace, "{")) return brace + 1;
        std::string name, super;
        for (std::size_t k = i + 1; k < brace; ++k) {
            if ((t_[k].text == "extends" || t_[k].text == "expands") && k + 1 < brace) {
                super = t_[++k].text;
            } else {
                name = t_[k].text;
            }
        }
        const std::size_t close = SkipBalanced(brace);
        std::vector<std::string> order;
        const std::size_t saved = p_;
        for (std::size_t k = brace + 1; k + 1 < close;) {
            if (IsWord(k, "var")) {
                for (auto& [n, d] : Variable(k + 1, name)) order.push_back(d);
                k = p_;
            } else if (IsWord(k, "enum")) {
                k = Enum(k);
            } else {
                ++k;
            }
        }
        p_ = saved;
        std::string text = "struct " + name + (super.empty() ? "" : " extends " + super) + " {";
        for (const auto& d : order) text += d + ";";
        out_.structs[name] = text + "}";
        return close;
    }

    void Replication() {
        const std::size_t close = SkipBalanced(p_ + 1);
        std::size_t i = p_ + 2;
        while (i + 1 < close) {
            std::string reliability;
            if (IsWord(i, "reliable") || IsWord(i, "unreliable")) reliability = t_[i++].text;
            if (!IsWord(i, "if") || !IsText(i + 1, "(")) {
                ++i;
                continue;
            }
            const std::size_t condEnd = SkipBalanced(i + 1);
            const std::string condition = ConditionCanonicaliser(StripOuterParens(Join(t_, i + 1, condEnd))).Run();
            std::size_t k = condEnd;
            for (; k < close && !IsText(k, ";"); ++k) {
                if (IsText(k, ",")) continue;
                replicated_.push_back({t_[k].text, reliability, condition});
            }
            i = k + 1;
        }
        p_ = close;
    }

    bool IsStateStart(std::size_t i) const {
        while (IsWord(i, "auto") || IsWord(i, "simulated")) ++i;
        return IsWord(i, "state");
    }

    void State() {
        std::vector<std::string> words;
        while (!IsWord(p_, "state")) words.push_back(t_[p_++].text);
        std::string header = "state";
        ++p_;
        if (IsText(p_, "(")) {
            header += "()";
            p_ = SkipBalanced(p_);
        }
        const std::string name = t_[p_++].text;
        header += " " + name;
        if ((IsWord(p_, "extends") || IsWord(p_, "expands")) && p_ + 1 < t_.size()) {
            header += " extends " + t_[p_ + 1].text;
            p_ += 2;
        }
        while (p_ < t_.size() && !IsText(p_, "{")) ++p_;
        const std::size_t close = SkipBalanced(p_);
        std::vector<std::string> ignored;
        std::map<std::string, std::string> functions;
        std::size_t i = p_ + 1;
        while (i + 1 < close) {
            if (IsText(i, ";")) {
                ++i;
            } else if (IsWord(i, "ignores")) {
                for (++i; i < close && !IsText(i, ";"); ++i) {
                    if (!IsText(i, ",")) ignored.push_back(t_[i].text);
                }
            } else if (IsText(i + 1, ":")) {
                break;  // state code from the first label on
            } else {
                std::string key, signature;
                const std::size_t next = Function(i, key, signature);
                // A function declared without a body in a state is ignored there.
                if (!key.empty() && IsText(next - 1, ";")) {
                    ignored.push_back(key.substr(0, key.find('(')));
                } else if (!key.empty()) {
                    functions[key] = signature;
                }
                i = std::max(next, i + 1);
            }
        }
        std::string text = "[" + Sorted(words) + "] " + header + " ignores(" + Sorted(ignored) + ")";
        for (const auto& [k, s] : functions) text += " | " + s;
        out_.states[name] = text;
        p_ = close;
    }

    // A function declaration from i; returns the index after it. key stays empty for anything
    // that is not a function.
    std::size_t Function(std::size_t i, std::string& key, std::string& signature) {
        std::size_t headerEnd = i;
        while (headerEnd < t_.size() && !IsText(headerEnd, ";") && !IsText(headerEnd, "{")) {
            headerEnd = IsText(headerEnd, "(") ? SkipBalanced(headerEnd) : headerEnd + 1;
        }
        const std::size_t next = IsText(headerEnd, "{") ? SkipBalanced(headerEnd) : headerEnd + 1;
        std::size_t k = i;
        std::vector<std::string> modifiers;
        std::string keyword;
        for (; k < headerEnd; ++k) {
            const std::string& w = t_[k].text;
            if (w == "function" || w == "event") {
                keyword = "function";
                ++k;
                break;
            }
            if (w == "operator" || w == "preoperator" || w == "postoperator") {
                keyword = w;
                if (IsText(k + 1, "(")) {
                    const std::size_t close = SkipBalanced(k + 1);
                    keyword += Join(t_, k + 1, close);
                    k = close - 1;
                }
                ++k;
                break;
            }
            if (IsText(k + 1, "(")) {  // native(n) and the like
                const std::size_t close = SkipBalanced(k + 1);
                modifiers.push_back(w + Join(t_, k + 1, close));
                k = close - 1;
            } else {
                modifiers.push_back(w == "intrinsic" ? "native" : w);
            }
        }
        if (keyword.empty()) return next;
        // The parameters' "(" is the first one after the name.
        std::size_t open = k;
        while (open < headerEnd && !IsText(open, "(")) ++open;
        if (open >= headerEnd || open == k) return next;
        const std::string name = t_[open - 1].text;
        const std::string returnType = Join(t_, k, open - 1);
        const std::size_t close = SkipBalanced(open);
        std::string params, types;
        for (std::size_t a = open + 1; a < close - 1;) {
            std::size_t b = a;
            while (b < close - 1 && !IsText(b, ",")) {
                b = IsText(b, "(") ? SkipBalanced(b) : b + 1;
            }
            std::vector<std::string> words;
            std::size_t c = a;
            while (c < b && t_[c].kind == Kind::Word && kVariableWords.count(t_[c].text) && c + 1 < b &&
                   !IsText(c + 1, "[")) {
                words.push_back(t_[c++].text);
            }
            std::size_t nameAt = b - 1;
            std::string dim;
            if (IsText(nameAt, "]")) {
                std::size_t openDim = nameAt;
                while (openDim > c && !IsText(openDim, "[")) --openDim;
                dim = Join(t_, openDim, b);
                nameAt = openDim - 1;
            }
            const std::string type = Join(t_, c, nameAt);
            params += (params.empty() ? "" : ", ") + std::string("[") + Sorted(words) + "] " + type + " " +
                      t_[nameAt].text + dim;
            types += type + ",";
            a = b + 1;
        }
        key = name + "(" + types + ")";
        signature = "[" + Sorted(modifiers) + "] " + keyword + " " + returnType + " " + name + "(" + params + ")";
        return next;
    }

public:
    void Finish() {
        std::set<std::string> functionNames;
        for (const auto& [key, s] : out_.functions) functionNames.insert(key.substr(0, key.find('(')));
        for (const auto& r : replicated_) {
            const bool function = functionNames.count(r.name) != 0;
            out_.replication[r.name] = (function ? r.reliability + " " : std::string()) + "if (" + r.condition + ")";
        }
    }

private:
    struct Replicated {
        std::string name, reliability, condition;
    };

    std::vector<Token> t_;
    ClassDeclarations& out_;
    std::size_t p_ = 0;
    std::string className_;
    std::map<std::string, std::string> constValues_;
    std::map<std::string, std::string> dims_;  // static array sizes by variable name
    std::vector<Replicated> replicated_;
};

// --- default properties -------------------------------------------------------------------------

std::string NormaliseValue(std::string_view value);

// "(A=1,B=(X=2))" member by member, sorted by member name.
std::string NormaliseStruct(std::string_view value) {
    std::map<std::string, std::string> members;
    std::size_t start = 1;
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = 1; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if ((c == ',' && depth == 0) || (c == ')' && depth < 0)) {
            const std::string_view member = value.substr(start, i - start);
            const std::size_t eq = member.find('=');
            if (eq != std::string_view::npos) {
                members[Lower(member.substr(0, eq))] = NormaliseValue(member.substr(eq + 1));
            }
            start = i + 1;
        }
    }
    std::string out = "(";
    for (const auto& [k, v] : members) out += k + "=" + v + ",";
    return out + ")";
}

std::string NormaliseValue(std::string_view raw) {
    std::string value;
    bool quoted = false;
    for (char c : raw) {
        if (c == '"') quoted = !quoted;
        if (!quoted && (c == ' ' || c == '\t')) continue;
        value += c;
    }
    if (value.empty()) return value;
    if (value.front() == '"') {
        // A name may be written quoted; a backslash escapes the next character.
        std::string text;
        for (std::size_t i = 1; i + 1 < value.size(); ++i) {
            if (value[i] == '\\' && i + 2 < value.size() && value[i + 1] == '\\') ++i;
            text += value[i];
        }
        const bool identifier = !text.empty() && IsWordStart(text.front()) &&
                                std::all_of(text.begin(), text.end(), IsWordChar);
        return identifier ? Lower(text) : "\"" + text + "\"";
    }
    if (value.front() == '(') return NormaliseStruct(value);
    char* end = nullptr;
    const double number = std::strtod(value.c_str(), &end);
    if (end && *end == '\0' && end != value.c_str()) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.6g", number == 0 ? 0.0 : number);
        return buffer;
    }
    const std::size_t quote = value.find('\'');
    if (quote != std::string::npos && quote > 0) {  // Class'Package.Group.Name'
        std::string path = value.substr(quote + 1);
        if (!path.empty() && path.back() == '\'') path.pop_back();
        const std::size_t dot = path.rfind('.');
        return Lower(value.substr(0, quote)) + "'" + Lower(dot == std::string::npos ? path : path.substr(dot + 1)) + "'";
    }
    return Lower(value);
}

// The value a variable has without a default: the compiler stores no line for it. Inside a
// struct an enum value name may be the first value (the tree's exporter writes those out).
bool IsZeroValue(const std::string& value, const std::set<std::string>& firstEnumValues) {
    if (value.empty() || firstEnumValues.count(value)) return true;
    if (value == "0" || value == "\"\"" || value == "false" || value == "none" || value == "()") return true;
    if (value.size() < 2 || value.front() != '(') return false;
    int depth = 0;
    std::size_t start = 1;
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] == '(') ++depth;
        if (value[i] == ')') --depth;
        if ((value[i] == ',' && depth == 0) || depth < 0) {
            const std::string member = value.substr(start, i - start);
            const std::size_t eq = member.find('=');
            if (!member.empty() && (eq == std::string::npos || !IsZeroValue(member.substr(eq + 1), firstEnumValues))) return false;
            start = i + 1;
        }
    }
    return true;
}

void ReadDefaults(std::string_view text, ClassDeclarations& out, const std::set<std::string>& firstEnumValues) {
    const std::string lower = Lower(text);
    std::size_t at = lower.find("defaultproperties");
    while (at != std::string::npos && at > 0 && IsWordChar(lower[at - 1])) at = lower.find("defaultproperties", at + 1);
    if (at == std::string::npos) return;
    const std::size_t open = text.find('{', at);
    if (open == std::string::npos) return;
    out.hasDefaults = true;
    std::size_t line = open + 1;
    while (line < text.size()) {
        std::size_t end = text.find('\n', line);
        if (end == std::string::npos) end = text.size();
        std::string_view entry = text.substr(line, end - line);
        line = end + 1;
        while (!entry.empty() && std::isspace(static_cast<unsigned char>(entry.front()))) entry.remove_prefix(1);
        while (!entry.empty() && std::isspace(static_cast<unsigned char>(entry.back()))) entry.remove_suffix(1);
        if (entry == "}") break;
        const std::size_t eq = entry.find('=');
        if (entry.empty() || eq == std::string_view::npos) continue;
        std::string key = Lower(entry.substr(0, eq));
        key.erase(std::remove_if(key.begin(), key.end(), [](char c) { return c == ' ' || c == '\t'; }), key.end());
        std::replace(key.begin(), key.end(), '[', '(');
        std::replace(key.begin(), key.end(), ']', ')');
        const std::string value = NormaliseValue(entry.substr(eq + 1));
        if (!IsZeroValue(value, firstEnumValues)) out.defaults[key] = key + "=" + value;
    }
}

}  // namespace

void DropImpliedModifiers(ClassDeclarations& d, std::uint32_t parentFlags, const std::string& parentConfigName) {
    if (parentFlags & 0x8) d.modifiers.erase("transient");
    if (parentFlags & 0x40) d.modifiers.erase("safereplace");
    if (parentFlags & 0x400) d.modifiers.erase("perobjectconfig");
    if (parentFlags & 0x4) {
        const std::string name = Lower(parentConfigName);
        d.modifiers.erase("config(" + name + ")");
        if (name == "system") d.modifiers.erase("config");
    }
    for (const auto& [name, text] : d.variables) {
        const std::size_t open = text.find('[');
        const std::string words = " " + text.substr(open + 1, text.find(']') - open - 1) + " ";
        if (words.find(" config ") != std::string::npos || words.find(" globalconfig ") != std::string::npos) {
            d.modifiers.erase("config");
            break;
        }
    }
}

ClassDeclarations ReadClassDeclarations(std::string_view source, const std::set<std::string>& firstEnumValues) {
    ClassDeclarations out;
    const std::string text = StripComments(source);
    Reader reader(Tokenize(text), out);
    reader.Run();
    reader.Finish();
    ReadDefaults(text, out, firstEnumValues);
    return out;
}

}  // namespace torvane::fidelity
