#include "intel/declaration_parser.h"

#include <array>

#include "intel/script_lexer.h"

namespace torvane::intel {
namespace {

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> lowerWords) {
    for (std::string_view word : lowerWords) {
        if (IsWord(text, word)) return true;
    }
    return false;
}

bool IsFunctionKeyword(std::string_view word) {
    return IsOneOf(word, {"function", "event", "operator", "preoperator", "postoperator", "delegate"});
}

// Words that may stand before "function" or "state".
bool IsFunctionModifier(std::string_view word) {
    return IsOneOf(word, {"native", "intrinsic", "static", "final", "simulated", "singular", "latent", "iterator",
                          "exec", "private", "protected", "public", "reliable", "unreliable", "noexport", "const",
                          "invariant", "auto", "transient", "server", "client", "editable"});
}

bool IsVariableModifier(std::string_view word) {
    return IsOneOf(word, {"const",       "config",       "globalconfig", "localized",   "native",
                          "private",     "protected",    "public",       "transient",   "travel",
                          "editconst",   "input",        "export",       "noexport",    "edfindable",
                          "editinline",  "editinlinenotify", "deprecated", "skip",      "duplicatetransient",
                          "noimport",    "cache",        "automated",    "editconstarray", "editinlineuse",
                          "exportobject", "interp",      "repnotify"});
}

bool IsParameterModifier(std::string_view word) {
    return IsOneOf(word, {"optional", "out", "coerce", "skip", "const", "init"});
}

// Type names of the language itself, which refer to no declaration.
bool IsBuiltinType(std::string_view word) {
    return IsOneOf(word, {"byte", "int", "bool", "float", "string", "name", "pointer", "class", "array", "map",
                          "void", "button"});
}

class Parser final {
public:
    Parser(std::string_view text, std::vector<DeclarationReference>* references)
        : lexer_(text), references_(references) {}

    ClassSymbols Parse() {
        while (true) {
            const Token token = Take();
            if (token.kind == TokenKind::End) break;
            if (token.kind == TokenKind::Symbol) {
                if (Is(token, "{")) SkipBlock();
                continue;
            }
            if (token.kind != TokenKind::Identifier) continue;
            const std::string_view word = Text(token);
            if (IsWord(word, "class") && !sawClass_) {
                ParseClassHeader();
            } else if (IsWord(word, "var")) {
                ParseVariable({}, UINT32_MAX);
            } else if (IsWord(word, "const")) {
                ParseConstant({});
            } else if (IsWord(word, "enum")) {
                ParseEnum();
                SkipSemicolon();
            } else if (IsWord(word, "struct")) {
                ParseStruct();
                SkipSemicolon();
            } else if (IsWord(word, "replication")) {
                BlockRange(symbols_.replicationBegin, symbols_.replicationEnd);
            } else if (IsWord(word, "defaultproperties")) {
                BlockRange(symbols_.defaultsBegin, symbols_.defaultsEnd);
            } else if (IsOneOf(word, {"cpptext", "structcpptext", "cppstruct"})) {
                std::uint32_t begin = 0, end = 0;
                BlockRange(begin, end);
            } else if (IsWord(word, "state") || IsFunctionKeyword(word) || IsFunctionModifier(word)) {
                ParseFunctionOrState(token, {}, UINT32_MAX);
            }
        }
        return std::move(symbols_);
    }

private:
    // --- tokens --------------------------------------------------------------------------------
    Token Take() {
        if (count_ > 0) {
            const Token token = buffer_[0];
            for (int i = 1; i < count_; ++i) buffer_[i - 1] = buffer_[i];
            --count_;
            return token;
        }
        return lexer_.Next();
    }
    const Token& Peek(int n = 0) {
        while (count_ <= n) buffer_[count_++] = lexer_.Next();
        return buffer_[n];
    }
    std::string_view Text(const Token& token) const { return lexer_.TextOf(token); }
    bool Is(const Token& token, std::string_view symbol) const {
        return token.kind == TokenKind::Symbol && Text(token) == symbol;
    }
    bool PeekIs(std::string_view symbol) { return Is(Peek(), symbol); }
    bool PeekWord(std::string_view lowerWord) {
        return Peek().kind == TokenKind::Identifier && IsWord(Text(Peek()), lowerWord);
    }
    // Takes tokens up to and including the next ';' at this level; stops before a '}' and skips
    // a '{' block on the way.
    void SkipStatement() {
        while (true) {
            const Token& next = Peek();
            if (next.kind == TokenKind::End || Is(next, "}")) return;
            const Token token = Take();
            if (Is(token, ";")) return;
            if (Is(token, "{")) {
                SkipBlock();
                return;
            }
        }
    }
    // After a '{' just taken: up to and including its matching '}', whose offset is returned.
    // Tokens already looked at count too.
    std::uint32_t SkipBlock() {
        int depth = 1;
        while (count_ > 0) {
            const Token token = Take();
            if (Is(token, "{")) ++depth;
            if (Is(token, "}") && --depth == 0) return token.offset;
            if (token.kind == TokenKind::End) return token.offset;
        }
        return lexer_.SkipBlock(depth);
    }
    void SkipSemicolon() {
        if (PeekIs(";")) Take();
    }
    // After a keyword: the block that follows, as the range between its braces.
    void BlockRange(std::uint32_t& begin, std::uint32_t& end) {
        if (!PeekIs("{")) return;
        const Token open = Take();
        begin = open.offset + 1;
        end = SkipBlock();
    }
    // "extends Parent" (or "expands") of a struct or state: the member's type, and a reference.
    void ReadParent(std::uint32_t index, DeclarationReference::Kind kind) {
        if (!PeekWord("extends") && !PeekWord("expands")) return;
        Take();
        if (Peek().kind != TokenKind::Identifier) return;
        const Token parent = Take();
        symbols_.members[index].type = std::string(Text(parent));
        Reference(kind, parent, index);
    }
    void Reference(DeclarationReference::Kind kind, const Token& token, std::uint32_t scope) {
        if (!references_) return;
        DeclarationReference reference;
        reference.kind = kind;
        reference.offset = token.offset;
        reference.length = token.length;
        reference.line = token.line;
        reference.column = token.column;
        reference.scopeMember = scope;
        references_->push_back(reference);
    }
    // Token text joined as declarations are written: "config(User)", "native(129)".
    static void AppendToken(std::string& out, std::string_view text) {
        const bool glue = text == "(" || text == ")" || text == "," || (!out.empty() && out.back() == '(');
        if (!out.empty() && !glue) out += ' ';
        out += text;
    }
    // A parenthesised group after the word just taken ("(129)", "(User)"), appended to out.
    void TakeGroup(std::string& out) {
        if (!PeekIs("(")) return;
        int depth = 0;
        while (Peek().kind != TokenKind::End) {
            const Token token = Take();
            AppendToken(out, Text(token));
            if (Is(token, "(")) ++depth;
            if (Is(token, ")") && --depth == 0) return;
            if (Is(token, ";") || Is(token, "{")) return;  // damaged: let the caller resynchronise
        }
    }
    Symbol& Add(SymbolKind kind, const Token& name, std::string scope) {
        Symbol& symbol = symbols_.members.emplace_back();
        symbol.kind = kind;
        symbol.name = std::string(Text(name));
        symbol.scope = std::move(scope);
        symbol.line = name.line;
        symbol.column = name.column;
        return symbol;
    }
    std::uint32_t LastIndex() const { return static_cast<std::uint32_t>(symbols_.members.size() - 1); }

    // --- declarations --------------------------------------------------------------------------
    void ParseClassHeader() {
        sawClass_ = true;
        if (Peek().kind != TokenKind::Identifier) return;
        const Token name = Take();
        symbols_.name = std::string(Text(name));
        symbols_.line = name.line;
        symbols_.column = name.column;
        if (PeekWord("extends") || PeekWord("expands")) {
            Take();
            if (Peek().kind == TokenKind::Identifier) {
                const Token parent = Take();
                symbols_.parent = std::string(Text(parent));
                Reference(DeclarationReference::Kind::Type, parent, UINT32_MAX);
            }
        }
        while (true) {
            const Token& next = Peek();
            if (next.kind == TokenKind::End || Is(next, "{") || Is(next, "}")) return;
            const Token token = Take();
            if (Is(token, ";")) return;
            if (token.kind == TokenKind::Identifier && IsWord(Text(token), "within") &&
                Peek().kind == TokenKind::Identifier) {
                const Token within = Take();
                symbols_.within = std::string(Text(within));
                Reference(DeclarationReference::Kind::Type, within, UINT32_MAX);
                AppendToken(symbols_.modifiers, "within");
                AppendToken(symbols_.modifiers, Text(within));
                continue;
            }
            AppendToken(symbols_.modifiers, Text(token));
        }
    }

    // Closes a "<...>" group: takes a '>' or half of a '>>'.
    void TakeClosingAngle() {
        if (pendingAngles_ > 0) {
            --pendingAngles_;
            return;
        }
        if (PeekIs(">")) {
            Take();
        } else if (PeekIs(">>")) {
            Take();
            pendingAngles_ = 1;
        } else if (PeekIs(">>>")) {
            Take();
            pendingAngles_ = 2;
        }
    }

    // A type; inline enums and structs are declared on the way. Empty when none stands here.
    std::string ParseType(std::uint32_t scope, std::vector<Token>* typeNames = nullptr) {
        if (Peek().kind != TokenKind::Identifier) return {};
        const Token first = Take();
        const std::string_view word = Text(first);
        if (IsWord(word, "enum") && Peek().kind == TokenKind::Identifier) return ParseEnum();
        if (IsWord(word, "struct") && Peek().kind == TokenKind::Identifier) return ParseStruct();
        std::string type(word);
        if ((IsWord(word, "class") || IsWord(word, "array")) && PeekIs("<")) {
            Take();
            type += "<";
            type += ParseType(scope, typeNames);
            type += ">";
            TakeClosingAngle();
            return type;
        }
        if (IsWord(word, "string") && PeekIs("[")) {  // an old fixed-length string
            while (Peek().kind != TokenKind::End) {
                const Token token = Take();
                type += Text(token);
                if (Is(token, "]") || Is(token, ";")) break;
            }
            return type;
        }
        if (!IsBuiltinType(word)) {
            if (typeNames) {
                typeNames->push_back(first);
            } else {
                Reference(DeclarationReference::Kind::Type, first, scope);
            }
            // A type of another class: "Class.Type".
            if (PeekIs(".") && Peek(1).kind == TokenKind::Identifier) {
                Take();
                const Token second = Take();
                type += ".";
                type += Text(second);
                if (typeNames) {
                    typeNames->push_back(second);
                } else {
                    Reference(DeclarationReference::Kind::Type, second, scope);
                }
            }
        }
        return type;
    }

    // "[size]" after a name: the text between the brackets.
    std::string ArraySize() {
        if (!PeekIs("[")) return {};
        Take();
        std::string size;
        while (Peek().kind != TokenKind::End && !PeekIs("]") && !PeekIs(";")) AppendToken(size, Text(Take()));
        if (PeekIs("]")) Take();
        return size;
    }

    void ParseVariable(const std::string& scope, std::uint32_t scopeIndex) {
        std::string modifiers;
        if (PeekIs("(")) TakeGroup(modifiers);
        while (Peek().kind == TokenKind::Identifier && IsVariableModifier(Text(Peek())) &&
               Peek(1).kind == TokenKind::Identifier) {
            AppendToken(modifiers, Text(Take()));
        }
        const std::string type = ParseType(scopeIndex);
        if (type.empty()) {
            SkipStatement();
            return;
        }
        while (Peek().kind == TokenKind::Identifier) {
            const Token name = Take();
            Symbol& variable = Add(SymbolKind::Variable, name, scope);
            variable.type = type;
            variable.modifiers = modifiers;
            variable.arraySize = ArraySize();
            if (!PeekIs(",")) break;
            Take();
        }
        SkipStatement();
    }

    void ParseConstant(const std::string& scope) {
        if (Peek().kind != TokenKind::Identifier) {
            SkipStatement();
            return;
        }
        const Token name = Take();
        std::string value;
        if (PeekIs("=")) {
            Take();
            const std::uint32_t begin = Peek().offset;
            std::uint32_t end = begin;
            while (Peek().kind != TokenKind::End && !PeekIs(";") && !PeekIs("}")) {
                const Token token = Take();
                end = token.offset + token.length;
            }
            value = std::string(lexer_.text().substr(begin, end - begin));
        }
        Add(SymbolKind::Constant, name, scope).type = std::move(value);
        SkipSemicolon();
    }

    // After "enum": the name, the values; returns the name.
    std::string ParseEnum() {
        if (Peek().kind != TokenKind::Identifier) return {};
        const Token name = Take();
        const std::string enumName(Text(name));
        Add(SymbolKind::Enum, name, {});
        if (!PeekIs("{")) return enumName;
        Take();
        while (Peek().kind != TokenKind::End) {
            const Token token = Take();
            if (Is(token, "}")) break;
            if (token.kind == TokenKind::Identifier) Add(SymbolKind::EnumValue, token, enumName).type = enumName;
        }
        return enumName;
    }

    // After "struct": its modifiers, name, parent and members; returns the name.
    std::string ParseStruct() {
        std::string modifiers;
        Token name{};
        while (Peek().kind == TokenKind::Identifier) {
            if (name.kind == TokenKind::Identifier) AppendToken(modifiers, Text(name));
            name = Take();
            if (PeekIs("{") || PeekWord("extends") || PeekWord("expands") || PeekIs(";")) break;
        }
        if (name.kind != TokenKind::Identifier) return {};
        const std::string structName(Text(name));
        Symbol& symbol = Add(SymbolKind::Struct, name, {});
        symbol.modifiers = modifiers;
        const std::uint32_t index = LastIndex();
        ReadParent(index, DeclarationReference::Kind::Type);
        if (!PeekIs("{")) return structName;
        Take();
        while (true) {
            const Token token = Take();
            if (token.kind == TokenKind::End || Is(token, "}")) break;
            if (token.kind != TokenKind::Identifier) {
                if (Is(token, "{")) SkipBlock();
                continue;
            }
            const std::string_view word = Text(token);
            if (IsWord(word, "var")) {
                ParseVariable(structName, index);
            } else if (IsWord(word, "enum")) {
                ParseEnum();
                SkipSemicolon();
            } else if (IsWord(word, "struct")) {
                ParseStruct();
                SkipSemicolon();
            } else if (IsWord(word, "const")) {
                ParseConstant(structName);
            } else if (PeekIs("{")) {  // structdefaultproperties, structcpptext
                Take();
                SkipBlock();
            }
        }
        return structName;
    }

    // first: the word just taken (a modifier, "state" or a function keyword).
    void ParseFunctionOrState(const Token& first, const std::string& scope, std::uint32_t scopeIndex) {
        const std::uint32_t begin = first.offset;
        std::string modifiers;
        Token word = first;
        while (true) {
            const std::string_view text = Text(word);
            if (IsWord(text, "state")) {
                ParseState(modifiers, begin);
                return;
            }
            AppendToken(modifiers, text);
            if (IsWord(text, "native") || IsWord(text, "intrinsic") || IsWord(text, "operator")) TakeGroup(modifiers);
            if (IsFunctionKeyword(text)) {
                ParseFunction(modifiers, begin, scope, scopeIndex);
                return;
            }
            if (Peek().kind != TokenKind::Identifier) {
                SkipStatement();
                return;
            }
            word = Take();
        }
    }

    void ParseFunction(const std::string& modifiers, std::uint32_t declarationBegin, const std::string& scope,
                       std::uint32_t scopeIndex) {
        // The return type, unless the next token is the name: "function Foo(", "operator(16) float * (".
        std::vector<Token> typeNames;
        std::string returnType;
        Token name{};
        if (Peek().kind == TokenKind::Symbol && !PeekIs("(")) {
            name = Take();
        } else {
            const Token typeStart = Peek();
            returnType = ParseType(scopeIndex, &typeNames);
            if (PeekIs("(")) {
                // What was read is the name.
                if (typeNames.size() == 1 || (returnType.size() == typeStart.length && typeStart.kind == TokenKind::Identifier)) {
                    name = typeStart;
                }
                returnType.clear();
                typeNames.clear();
            } else if (Peek().kind == TokenKind::Identifier || Peek().kind == TokenKind::Symbol) {
                name = Take();
            }
        }
        if (name.kind == TokenKind::End || !PeekIs("(")) {
            SkipStatement();
            return;
        }
        for (const Token& type : typeNames) Reference(DeclarationReference::Kind::Type, type, scopeIndex);
        Symbol& function = Add(SymbolKind::Function, name, scope);
        function.modifiers = modifiers;
        function.type = returnType;
        function.declarationBegin = declarationBegin;
        const std::uint32_t index = LastIndex();
        Take();  // (
        while (Peek().kind != TokenKind::End && !PeekIs(")")) {
            Parameter parameter;
            while (Peek().kind == TokenKind::Identifier && IsParameterModifier(Text(Peek())) &&
                   Peek(1).kind == TokenKind::Identifier) {
                AppendToken(parameter.modifiers, Text(Take()));
            }
            parameter.type = ParseType(index);
            if (Peek().kind == TokenKind::Identifier) {
                const Token parameterName = Take();
                parameter.name = std::string(Text(parameterName));
                parameter.line = parameterName.line;
                parameter.column = parameterName.column;
                parameter.arraySize = ArraySize();
            }
            // Anything else up to the next parameter (a default value, damage).
            while (Peek().kind != TokenKind::End && !PeekIs(",") && !PeekIs(")") && !PeekIs(";") && !PeekIs("{")) {
                Take();
            }
            if (!parameter.type.empty()) symbols_.members[index].parameters.push_back(std::move(parameter));
            if (!PeekIs(",")) break;
            Take();
        }
        if (!PeekIs(")")) {
            SkipStatement();
            return;
        }
        Take();
        while (Peek().kind == TokenKind::Identifier) Take();  // "const" after the parameters
        if (PeekIs("{")) {
            const Token open = Take();
            symbols_.members[index].bodyBegin = open.offset + 1;
            symbols_.members[index].bodyEnd = SkipBlock();
        } else {
            SkipSemicolon();
        }
    }

    void ParseState(const std::string& modifiers, std::uint32_t declarationBegin) {
        if (PeekIs("(")) {  // "state()": editable
            Take();
            if (PeekIs(")")) Take();
        }
        if (Peek().kind != TokenKind::Identifier) return;
        const Token name = Take();
        const std::string stateName(Text(name));
        Symbol& state = Add(SymbolKind::State, name, {});
        state.modifiers = modifiers;
        state.declarationBegin = declarationBegin;
        const std::uint32_t index = LastIndex();
        ReadParent(index, DeclarationReference::Kind::State);
        if (!PeekIs("{")) return;
        const Token open = Take();
        symbols_.members[index].bodyBegin = open.offset + 1;
        while (true) {
            const Token token = Take();
            if (token.kind == TokenKind::End) {
                symbols_.members[index].bodyEnd = token.offset;
                return;
            }
            if (Is(token, "}")) {
                symbols_.members[index].bodyEnd = token.offset;
                return;
            }
            if (token.kind == TokenKind::Identifier && PeekIs(":")) {
                symbols_.members[index].codeBegin = token.offset;
                Take();
                Add(SymbolKind::Label, token, stateName);
                ScanStateCode(index, stateName);
                return;
            }
            if (token.kind != TokenKind::Identifier) {
                if (Is(token, "{")) SkipBlock();
                continue;
            }
            const std::string_view word = Text(token);
            if (IsWord(word, "ignores")) {
                while (Peek().kind != TokenKind::End && !PeekIs(";") && !PeekIs("}")) {
                    const Token ignored = Take();
                    if (ignored.kind != TokenKind::Identifier) continue;
                    symbols_.members[index].ignores.emplace_back(Text(ignored));
                    Reference(DeclarationReference::Kind::Function, ignored, index);
                }
                SkipSemicolon();
            } else if (IsFunctionKeyword(word) || IsFunctionModifier(word)) {
                ParseFunctionOrState(token, stateName, index);
            } else if (IsWord(word, "const")) {
                ParseConstant(stateName);
            } else if (IsWord(word, "var") || IsWord(word, "local")) {
                ParseVariable(stateName, index);
            } else if (IsWord(word, "enum")) {
                ParseEnum();
                SkipSemicolon();
            } else if (IsWord(word, "struct")) {
                ParseStruct();
                SkipSemicolon();
            } else {
                // Code without a label before it: the state's code starts here.
                symbols_.members[index].codeBegin = token.offset;
                ScanStateCode(index, stateName);
                return;
            }
        }
    }

    // The labelled code of a state up to the state's closing brace; labels are declared.
    void ScanStateCode(std::uint32_t index, const std::string& stateName) {
        int depth = 0;
        while (true) {
            const Token token = Take();
            if (token.kind == TokenKind::End) {
                symbols_.members[index].bodyEnd = token.offset;
                return;
            }
            if (Is(token, "{")) ++depth;
            if (Is(token, "}")) {
                if (depth == 0) {
                    symbols_.members[index].bodyEnd = token.offset;
                    return;
                }
                --depth;
            }
            if (depth == 0 && token.kind == TokenKind::Identifier && PeekIs(":") &&
                !IsWord(Text(token), "default") && !IsWord(Text(token), "case")) {
                Take();
                Add(SymbolKind::Label, token, stateName);
            }
        }
    }

    ScriptLexer lexer_;
    std::vector<DeclarationReference>* references_;
    std::array<Token, 4> buffer_{};
    int count_ = 0;
    ClassSymbols symbols_;
    bool sawClass_ = false;
    int pendingAngles_ = 0;
};

}  // namespace

ClassSymbols ParseClassSymbols(std::string_view text, std::vector<DeclarationReference>* references) {
    return Parser(text, references).Parse();
}

}  // namespace torvane::intel
