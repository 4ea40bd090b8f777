#include "intel/code_walker.h"

#include <algorithm>

#include <unordered_map>
#include <vector>

#include "intel/declaration_parser.h"
#include "intel/script_lexer.h"

namespace torvane::intel {

bool Target::SameAs(const Target& other) const {
    if (kind != other.kind) return false;
    switch (kind) {
        case Kind::None: return true;
        case Kind::Member: return member == other.member;
        case Kind::Class: return cls == other.cls;
        case Kind::Local: return cls == other.cls && line == other.line && column == other.column;
    }
    return false;
}

namespace {

using Kind = ScriptType::Kind;

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> lowerWords) {
    for (std::string_view word : lowerWords) {
        if (IsWord(text, word)) return true;
    }
    return false;
}

// Words that begin or end statements: never names in an expression.
bool IsStatementWord(std::string_view word) {
    return IsOneOf(word, {"if", "else", "while", "do", "until", "for", "foreach", "switch", "case", "return",
                          "break", "continue", "goto", "stop", "local", "var", "function", "event", "state",
                          "assert", "ignores"});
}

int SymbolPrecedence(std::string_view op) {
    struct Entry {
        std::string_view op;
        int precedence;
    };
    static constexpr Entry kTable[] = {
        {"**", 12}, {"*", 16},  {"/", 16},  {"%", 16},  {"+", 20},  {"-", 20},  {"<<", 22}, {">>", 22},
        {">>>", 22}, {"<", 24}, {">", 24},  {"<=", 24}, {">=", 24}, {"==", 24}, {"~=", 24}, {"!=", 26},
        {"&", 28},  {"|", 28},  {"^", 28},  {"&&", 30}, {"^^", 30}, {"||", 32}, {"*=", 34}, {"/=", 34},
        {"+=", 34}, {"-=", 34}, {"$", 40},  {"@", 40},  {"$=", 44}, {"@=", 44}, {"=", 50},
    };
    for (const Entry& entry : kTable) {
        if (entry.op == op) return entry.precedence;
    }
    return -1;
}

// The N of "operator(N)" in an operator's modifiers; -1 without.
int DeclaredPrecedence(std::string_view modifiers) {
    const std::size_t at = modifiers.find("operator(");
    if (at == std::string_view::npos) return -1;
    int value = 0;
    bool digits = false;
    for (std::size_t i = at + 9; i < modifiers.size() && modifiers[i] >= '0' && modifiers[i] <= '9'; ++i) {
        value = value * 10 + (modifiers[i] - '0');
        digits = true;
    }
    return digits ? value : -1;
}

constexpr int kLowest = 1000;

// The class of a class literal's quoted name: 'Package.Name' or 'Name'.
std::string_view QuotedObjectName(std::string_view literal) {
    if (literal.size() >= 2) literal = literal.substr(1, literal.size() - 2);
    const std::size_t dot = literal.rfind('.');
    return dot == std::string_view::npos ? literal : literal.substr(dot + 1);
}

bool IsNumericKind(Kind kind) { return kind == Kind::Byte || kind == Kind::Int || kind == Kind::Float; }

// How well a value of type `given` fits a parameter of type `wanted`: 3 exact, 2 the same family,
// 1 unknown, 0 not at all.
int Fit(const ScriptType& wanted, const ScriptType& given) {
    if (!given.Known() || !wanted.Known()) return 1;
    if (wanted.kind == given.kind) {
        if (wanted.kind == Kind::Struct || wanted.kind == Kind::Enum) {
            return wanted.declaration == given.declaration ? 3 : 0;
        }
        return 3;
    }
    if ((IsNumericKind(wanted.kind) || wanted.kind == Kind::Enum) && (IsNumericKind(given.kind) || given.kind == Kind::Enum)) {
        return 2;
    }
    if (wanted.kind == Kind::Object && (given.kind == Kind::None || given.kind == Kind::Class)) return 2;
    return 0;
}

class Walker final {
public:
    Walker(const SymbolIndex& index, const IndexedClass& cls, std::string_view text, WalkListener& listener)
        : index_(index), cls_(cls), text_(text), listener_(listener) {}

    void Declarations() {
        std::vector<DeclarationReference> references;
        ParseClassSymbols(text_, &references);
        const ClassSymbols& symbols = cls_.symbols();
        for (const DeclarationReference& reference : references) ResolveDeclarationReference(reference);
        if (!symbols.name.empty()) {
            Target self;
            self.kind = Target::Kind::Class;
            self.cls = &cls_;
            EmitDeclaration(symbols.line, symbols.column, symbols.name.size(), self);
        }
        for (std::uint32_t i = 0; i < symbols.members.size(); ++i) {
            const Symbol& member = symbols.members[i];
            Target target;
            target.kind = Target::Kind::Member;
            target.member = {&cls_, i};
            EmitDeclaration(member.line, member.column, member.name.size(), target);
        }
    }

    void Function(std::uint32_t index) {
        const Symbol& function = cls_.symbols().members[index];
        locals_.clear();
        state_ = StateOfScope(function.scope);
        for (const Parameter& parameter : function.parameters) {
            Target local = LocalTarget(parameter.name, parameter.type, parameter.line, parameter.column, true);
            EmitDeclaration(parameter.line, parameter.column, parameter.name.size(), local);
            AddLocal(local);
        }
        if (function.bodyEnd <= function.bodyBegin) return;
        Tokenize(function.bodyBegin, function.bodyEnd);
        Statements();
    }

    void StateCode(std::uint32_t index) {
        const Symbol& state = cls_.symbols().members[index];
        locals_.clear();
        state_ = state.name;
        if (!state.codeBegin || state.bodyEnd <= state.codeBegin) return;
        Tokenize(state.codeBegin, state.bodyEnd);
        Statements();
    }

    void Replication() {
        const ClassSymbols& symbols = cls_.symbols();
        if (symbols.replicationEnd <= symbols.replicationBegin) return;
        locals_.clear();
        state_.clear();
        Tokenize(symbols.replicationBegin, symbols.replicationEnd);
        while (!AtEnd()) {
            if (WordIs("reliable") || WordIs("unreliable")) {
                Advance();
                continue;
            }
            if (!WordIs("if")) {
                Advance();
                continue;
            }
            Advance();
            if (SymbolIs("(")) {
                Advance();
                Expression();
                if (SymbolIs(")")) Advance();
            }
            while (!AtEnd() && !SymbolIs(";")) {
                const Token name = Cur();
                Advance();
                if (name.kind != TokenKind::Identifier) continue;
                // Replicated names are the class's own; the chain is searched for a better message.
                MemberRef member = OwnMember(Text(name), kVariables | kFunctions);
                if (!member) member = index_.FindMember(&cls_, Text(name), kVariables | kFunctions);
                Emit(name, UseRole::Replication, false, MemberTarget(member),
                     member ? "" : "no variable or function of that name in " + cls_.name());
            }
            if (SymbolIs(";")) Advance();
        }
    }

    void Defaults() {
        const ClassSymbols& symbols = cls_.symbols();
        if (symbols.defaultsEnd <= symbols.defaultsBegin) return;
        locals_.clear();
        state_.clear();
        Tokenize(symbols.defaultsBegin, symbols.defaultsEnd);
        while (!AtEnd()) {
            const Token key = Cur();
            const bool assignment = key.kind == TokenKind::Identifier &&
                                    (Is(Peek(1), "=") || Is(Peek(1), "(") || Is(Peek(1), "["));
            if (!assignment) {
                Advance();
                continue;
            }
            Advance();
            const MemberRef member = index_.FindMember(&cls_, Text(key), kVariables);
            Emit(key, UseRole::Default, false, MemberTarget(member),
                 member ? "" : "no variable of that name in " + cls_.name() + "'s chain");
            if (SymbolIs("(") || SymbolIs("[")) SkipGroup();
            if (!SymbolIs("=")) continue;
            Advance();
            DefaultValue(member ? TypeOfText(index_, member.owner, member.symbol().type) : ScriptType{}, key.line);
        }
    }

private:
    // --- tokens --------------------------------------------------------------------------------
    void Tokenize(std::uint32_t begin, std::uint32_t end) {
        tokens_.clear();
        pos_ = 0;
        ScriptLexer lexer(text_, begin, end);
        while (true) {
            const Token token = lexer.Next();
            if (token.kind == TokenKind::End) {
                end_ = token;
                break;
            }
            tokens_.push_back(token);
        }
    }
    bool AtEnd() const { return pos_ >= tokens_.size(); }
    const Token& Cur() const { return pos_ < tokens_.size() ? tokens_[pos_] : end_; }
    const Token& Peek(std::size_t n) const { return pos_ + n < tokens_.size() ? tokens_[pos_ + n] : end_; }
    void Advance() {
        if (pos_ < tokens_.size()) ++pos_;
    }
    std::string_view Text(const Token& token) const { return text_.substr(token.offset, token.length); }
    bool Is(const Token& token, std::string_view symbol) const {
        return token.kind == TokenKind::Symbol && Text(token) == symbol;
    }
    bool SymbolIs(std::string_view symbol) const { return Is(Cur(), symbol); }
    bool IsWordToken(const Token& token, std::string_view lowerWord) const {
        return token.kind == TokenKind::Identifier && IsWord(Text(token), lowerWord);
    }
    bool WordIs(std::string_view lowerWord) const { return IsWordToken(Cur(), lowerWord); }
    // Skips a bracketed group starting at the current '(' or '['.
    void SkipGroup() {
        int depth = 0;
        while (!AtEnd()) {
            const Token& token = Cur();
            if (Is(token, "(") || Is(token, "[")) ++depth;
            if (Is(token, ")") || Is(token, "]")) --depth;
            Advance();
            if (depth <= 0) return;
        }
    }

    // --- reporting -----------------------------------------------------------------------------
    void Emit(const Token& token, UseRole role, bool call, const Target& target, std::string cause) {
        Use use;
        use.offset = token.offset;
        use.length = token.length;
        use.line = token.line;
        use.column = token.column;
        use.role = role;
        use.call = call;
        use.target = target;
        if (!target) use.cause = std::move(cause);
        listener_.OnUse(use);
    }
    void EmitDeclaration(int line, int column, std::size_t length, const Target& target) {
        if (line <= 0) return;
        Use use;
        use.offset = static_cast<std::uint32_t>(OffsetOfPosition(text_, line, column));
        use.length = static_cast<std::uint32_t>(length);
        use.line = line;
        use.column = column;
        use.role = UseRole::Declaration;
        use.target = target;
        listener_.OnUse(use);
    }
    Target MemberTarget(MemberRef member) const {
        Target target;
        if (member) {
            target.kind = Target::Kind::Member;
            target.member = member;
        }
        return target;
    }
    Target ClassTarget(const IndexedClass* cls) const {
        Target target;
        if (cls) {
            target.kind = Target::Kind::Class;
            target.cls = cls;
        }
        return target;
    }
    Target LocalTarget(const std::string& name, const std::string& type, int line, int column, bool parameter) const {
        Target target;
        target.kind = Target::Kind::Local;
        target.cls = &cls_;
        target.name = name;
        target.type = type;
        target.line = line;
        target.column = column;
        target.parameter = parameter;
        return target;
    }
    void AddLocal(const Target& local) {
        locals_[FoldName(local.name)] = local;
        listener_.OnLocal(local);
    }

    // --- declarations --------------------------------------------------------------------------
    std::string StateOfScope(const std::string& scope) const {
        if (scope.empty()) return {};
        const MemberRef state = index_.FindMember(&cls_, scope, kStates);
        return state ? scope : std::string{};
    }
    MemberRef OwnMember(std::string_view name, unsigned kinds) const {
        if (const auto* list = cls_.ClassMembers(FoldName(name))) {
            for (std::uint32_t index : *list) {
                if (kinds & (1u << static_cast<unsigned>(cls_.symbols().members[index].kind))) return {&cls_, index};
            }
        }
        return {};
    }
    void ResolveDeclarationReference(const DeclarationReference& reference) {
        Token token;
        token.kind = TokenKind::Identifier;
        token.offset = reference.offset;
        token.length = reference.length;
        token.line = reference.line;
        token.column = reference.column;
        const std::string_view name = Text(token);
        switch (reference.kind) {
            case DeclarationReference::Kind::Type: {
                if (const MemberRef type = index_.FindType(&cls_, name)) {
                    Emit(token, UseRole::Type, false, MemberTarget(type), {});
                } else if (const IndexedClass* cls = index_.FindClass(name)) {
                    Emit(token, UseRole::Type, false, ClassTarget(cls), {});
                } else {
                    Emit(token, UseRole::Type, false, {}, "no class, struct or enum of that name");
                }
                return;
            }
            case DeclarationReference::Kind::State: {
                const Symbol& state = cls_.symbols().members[reference.scopeMember];
                // A state naming its own name extends the parent class's state of that name.
                const IndexedClass* from = FoldName(state.name) == FoldName(name) ? cls_.parent() : &cls_;
                const MemberRef parent = index_.FindState(from, name);
                Emit(token, UseRole::Type, false, MemberTarget(parent), "no state of that name in the class chain");
                return;
            }
            case DeclarationReference::Kind::Function: {
                const MemberRef function = index_.FindMember(&cls_, name, kFunctions);
                Emit(token, UseRole::Type, false, MemberTarget(function), "no function of that name in the class chain");
                return;
            }
        }
    }

    // --- statements ----------------------------------------------------------------------------
    void Statements() {
        while (!AtEnd()) {
            if (SymbolIs("}")) {
                Advance();  // a stray closing brace
                continue;
            }
            Statement();
        }
    }

    void Block() {
        Advance();  // {
        while (!AtEnd() && !SymbolIs("}")) Statement();
        if (SymbolIs("}")) Advance();
    }

    void Condition() {
        if (!SymbolIs("(")) return;
        Advance();
        Expression();
        if (SymbolIs(")")) Advance();
    }

    void Statement() {
        const Nesting nesting(depth_);
        if (nesting.TooDeep()) {
            Advance();
            return;
        }
        const std::size_t start = pos_;
        const Token& token = Cur();
        if (Is(token, "{")) {
            Block();
        } else if (Is(token, ";")) {
            Advance();
        } else if (token.kind == TokenKind::Identifier && IsStatementWord(Text(token))) {
            Keyword();
        } else if (token.kind == TokenKind::Identifier && Is(Peek(1), ":") && !IsWordToken(token, "default")) {
            Advance();  // a label
            Advance();
        } else if (IsWordToken(token, "default") && Is(Peek(1), ":")) {
            Advance();
            Advance();
        } else {
            Expression();
            if (SymbolIs(";")) Advance();
        }
        if (pos_ == start) Advance();  // never stall on text that does not parse
    }

    void Keyword() {
        const std::string_view word = Text(Cur());
        Advance();
        if (IsWord(word, "local")) {
            Local();
        } else if (IsWord(word, "if")) {
            Condition();
            if (!AtEnd() && !SymbolIs("}")) Statement();
            if (WordIs("else")) {
                Advance();
                if (!AtEnd() && !SymbolIs("}")) Statement();
            }
        } else if (IsWord(word, "while") || IsWord(word, "switch")) {
            Condition();
            if (!AtEnd() && !SymbolIs("}")) Statement();
        } else if (IsWord(word, "do")) {
            if (!AtEnd() && !SymbolIs("}")) Statement();
            if (WordIs("until")) {
                Advance();
                Condition();
                if (SymbolIs(";")) Advance();
            }
        } else if (IsWord(word, "for")) {
            if (SymbolIs("(")) {
                Advance();
                for (int part = 0; part < 3 && !AtEnd(); ++part) {
                    if (!SymbolIs(";") && !SymbolIs(")")) Expression();
                    if (SymbolIs(";")) Advance();
                }
                if (SymbolIs(")")) Advance();
            }
            if (!AtEnd() && !SymbolIs("}")) Statement();
        } else if (IsWord(word, "foreach")) {
            Expression();
            if (!AtEnd() && !SymbolIs("}")) Statement();
        } else if (IsWord(word, "case")) {
            Expression();
            if (SymbolIs(":")) Advance();
        } else if (IsWord(word, "return") || IsWord(word, "assert")) {
            if (!SymbolIs(";") && !SymbolIs("}")) Expression();
            if (SymbolIs(";")) Advance();
        } else if (IsWord(word, "goto")) {
            while (!AtEnd() && !SymbolIs(";") && !SymbolIs("}")) Advance();
            if (SymbolIs(";")) Advance();
        } else if (IsWord(word, "else") || IsWord(word, "until")) {
            // Out of place: read what follows as a statement.
        } else {
            if (SymbolIs(";")) Advance();  // break, continue, stop
        }
    }

    // After "local": the type and the names.
    void Local() {
        while (Cur().kind == TokenKind::Identifier && IsOneOf(Text(Cur()), {"const", "transient", "out"}) &&
               Peek(1).kind == TokenKind::Identifier) {
            Advance();
        }
        const std::string type = TypeInCode();
        while (Cur().kind == TokenKind::Identifier) {
            const Token name = Cur();
            Advance();
            const Target local = LocalTarget(std::string(Text(name)), type, name.line, name.column, false);
            Emit(name, UseRole::Declaration, false, local, {});
            AddLocal(local);
            if (SymbolIs("[")) SkipGroup();
            if (!SymbolIs(",")) break;
            Advance();
        }
        while (!AtEnd() && !SymbolIs(";") && !SymbolIs("}")) Advance();
        if (SymbolIs(";")) Advance();
    }

    // A type in a local declaration; its names are reported as type uses.
    std::string TypeInCode() {
        if (Cur().kind != TokenKind::Identifier) return {};
        const Token first = Cur();
        Advance();
        std::string type(Text(first));
        if ((IsWordToken(first, "class") || IsWordToken(first, "array")) && SymbolIs("<")) {
            Advance();
            type += "<" + TypeInCode() + ">";
            if (SymbolIs(">") || SymbolIs(">>")) Advance();
            return type;
        }
        if (IsWordToken(first, "string") && SymbolIs("[")) {
            SkipGroup();
            return type;
        }
        const ScriptType resolved = TypeOfText(index_, &cls_, type);
        if (resolved.kind == Kind::Object) {
            Emit(first, UseRole::Type, false, ClassTarget(resolved.cls), {});
        } else if (resolved.kind == Kind::Struct || resolved.kind == Kind::Enum) {
            Emit(first, UseRole::Type, false, MemberTarget(resolved.declaration), {});
        } else if (!resolved.Known()) {
            Emit(first, UseRole::Type, false, {}, "no class, struct or enum of that name");
        }
        return type;
    }

    // --- expressions ---------------------------------------------------------------------------
    struct Value {
        Reach reach;
        const ScriptType& type() const { return reach.type; }
    };

    static Value Typed(ScriptType type) {
        Value value;
        value.reach.type = std::move(type);
        return value;
    }

    bool BinaryOperator(const Token& token, int& precedence) const {
        if (token.kind == TokenKind::Symbol) {
            precedence = SymbolPrecedence(Text(token));
            return precedence >= 0;
        }
        if (token.kind != TokenKind::Identifier) return false;
        const auto* operators = index_.Operators(Text(token));
        if (!operators) return false;
        for (const MemberRef& op : *operators) {
            const Symbol& symbol = op.symbol();
            if (symbol.parameters.size() == 2) {
                precedence = DeclaredPrecedence(symbol.modifiers);
                if (precedence < 0) precedence = 16;
                return true;
            }
        }
        return false;
    }

    // Guards the recursion of nested statements and expressions (damaged or hostile text).
    class Nesting final {
    public:
        explicit Nesting(int& depth) : depth_(depth) { ++depth_; }
        ~Nesting() { --depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        bool TooDeep() const { return depth_ > kMaxNesting; }

    private:
        int& depth_;
    };
    static constexpr int kMaxNesting = 200;

    Value Expression(int limit = kLowest) {
        const Nesting nesting(depth_);
        if (nesting.TooDeep()) {
            Advance();
            return {};
        }
        Value left = Unary();
        int precedence = 0;
        while (!AtEnd() && BinaryOperator(Cur(), precedence) && precedence <= limit) {
            const Token op = Cur();
            Advance();
            const Value right = Expression(precedence - 1);
            left = Typed(BinaryResult(op, left.type(), right.type()));
        }
        return left;
    }

    ScriptType OperatorResult(std::string_view name, std::size_t arity, const ScriptType& a, const ScriptType& b) const {
        const auto* operators = index_.Operators(name);
        if (!operators) return {};
        int best = -1;
        ScriptType result;
        for (const MemberRef& op : *operators) {
            const Symbol& symbol = op.symbol();
            if (symbol.parameters.size() != arity) continue;
            int score = Fit(TypeOfText(index_, op.owner, symbol.parameters[0].type), a);
            if (arity == 2) score = score * 4 + Fit(TypeOfText(index_, op.owner, symbol.parameters[1].type), b);
            if (score > best) {
                best = score;
                result = TypeOfText(index_, op.owner, symbol.type);
            }
        }
        return result;
    }

    ScriptType BinaryResult(const Token& op, const ScriptType& left, const ScriptType& right) const {
        const std::string_view name = Text(op);
        if (name == "=") return left;
        ScriptType result = OperatorResult(name, 2, left, right);
        if (result.Known()) return result;
        if (name == "$" || name == "@") return ScriptType::Of(Kind::String);
        const int precedence = SymbolPrecedence(name);
        if (precedence >= 24 && precedence <= 32) return ScriptType::Of(Kind::Bool);
        return left;
    }

    Value Unary() {
        const Nesting nesting(depth_);
        if (nesting.TooDeep()) {
            Advance();
            return {};
        }
        const Token& token = Cur();
        if (token.kind == TokenKind::Symbol) {
            const std::string_view op = Text(token);
            if (op == "-" || op == "!" || op == "~" || op == "++" || op == "--" || op == "+") {
                Advance();
                const Value operand = Unary();
                if (op == "!") return Typed(ScriptType::Of(Kind::Bool));
                const ScriptType result = OperatorResult(op, 1, operand.type(), {});
                return Typed(result.Known() ? result : operand.type());
            }
        }
        return Postfix(Primary());
    }

    Value Postfix(Value value) {
        while (!AtEnd()) {
            if (SymbolIs(".")) {
                listener_.OnMemberAccess(Cur().offset, value.reach);
                Advance();
                if (Cur().kind != TokenKind::Identifier) break;
                value = Member(value);
            } else if (SymbolIs("[")) {
                Advance();
                Expression();
                if (SymbolIs("]")) Advance();
                ScriptType element = value.type();
                element.array = false;
                element.dynamicArray = false;
                value = Typed(element);
            } else if (SymbolIs("++") || SymbolIs("--")) {
                Advance();
            } else {
                break;
            }
        }
        return value;
    }

    // The arguments of a call at the current '('; returns their types.
    std::vector<ScriptType> Arguments(const Token& name, const Target& target) {
        std::vector<ScriptType> types;
        CallSite call;
        call.nameOffset = name.offset;
        call.open = Cur().offset;
        call.target = target;
        Advance();  // (
        while (!AtEnd() && !SymbolIs(")")) {
            if (SymbolIs(",")) {
                types.emplace_back();  // an argument left out
                Advance();
                continue;
            }
            if (SymbolIs(";") || SymbolIs("}")) break;
            const std::size_t start = pos_;
            types.push_back(Expression().type());
            if (SymbolIs(",")) {
                Advance();
            } else if (!SymbolIs(")")) {
                if (pos_ == start) Advance();
                if (SymbolIs(";") || SymbolIs("}")) break;
            }
        }
        if (SymbolIs(")")) {
            call.close = Cur().offset;
            Advance();
        }
        listener_.OnCall(call);
        return types;
    }

    // A call's type: the function's return type; a function whose first parameter is a class
    // limited to its own return type (Spawn) returns an object of the class passed.
    ScriptType CallResult(MemberRef function, const std::vector<ScriptType>& arguments) const {
        const Symbol& symbol = function.symbol();
        ScriptType result = TypeOfText(index_, function.owner, symbol.type);
        if (!symbol.parameters.empty() && !arguments.empty() && arguments[0].kind == Kind::Class && arguments[0].cls &&
            result.kind == Kind::Object) {
            const ScriptType first = TypeOfText(index_, function.owner, symbol.parameters[0].type);
            if (first.kind == Kind::Class && first.cls == result.cls) return ScriptType::ObjectOf(arguments[0].cls);
        }
        return result;
    }

    Value Call(const Token& name, MemberRef function) {
        const Target target = MemberTarget(function);
        const std::vector<ScriptType> arguments = Arguments(name, target);
        if (!function || function.symbol().kind != SymbolKind::Function) return {};
        return Typed(CallResult(function, arguments));
    }

    ScriptType MemberType(MemberRef member) const {
        if (!member) return {};
        const Symbol& symbol = member.symbol();
        switch (symbol.kind) {
            case SymbolKind::Variable: {
                ScriptType type = TypeOfText(index_, member.owner, symbol.type);
                if (!symbol.arraySize.empty()) type.array = true;
                return type;
            }
            case SymbolKind::EnumValue: {
                ScriptType type;
                type.kind = Kind::Enum;
                type.declaration = index_.FindType(member.owner, symbol.type);
                type.name = symbol.type;
                return type;
            }
            case SymbolKind::Constant: {
                const std::string& value = symbol.type;
                if (!value.empty() && value.front() == '"') return ScriptType::Of(Kind::String);
                if (!value.empty() && value.front() == '\'') return ScriptType::Of(Kind::Name);
                if (value.find('.') != std::string::npos && value.find("0x") == std::string::npos) {
                    return ScriptType::Of(Kind::Float);
                }
                if (IsWord(value, "true") || IsWord(value, "false")) return ScriptType::Of(Kind::Bool);
                return ScriptType::Of(Kind::Int);
            }
            default: return {};
        }
    }

    // name '.' : the member of what stands before the dot.
    Value Member(const Value& left) {
        const Token name = Cur();
        Advance();
        const std::string_view word = Text(name);
        const bool call = SymbolIs("(");
        const Reach& reach = left.reach;
        MemberRef member;
        std::string cause;
        switch (reach.scope) {
            case Reach::Scope::Default:
                member = index_.FindMember(reach.cls, word, kVariables);
                if (!member) cause = "no variable of that name in " + ClassName(reach.cls) + "'s chain";
                break;
            case Reach::Scope::Static:
            case Reach::Scope::Global:
                member = index_.FindMember(reach.cls, word, kFunctions);
                if (!member) cause = "no function of that name in " + ClassName(reach.cls) + "'s chain";
                break;
            case Reach::Scope::Super:
                member = SuperMember(reach, word);
                if (!member) cause = "no function of that name above " + ClassName(reach.cls);
                break;
            case Reach::Scope::Value: {
                const ScriptType& type = reach.type;
                if ((type.kind == Kind::Object || type.kind == Kind::Class) && Is(Cur(), ".") &&
                    (IsWord(word, "default") || IsWord(word, "static"))) {
                    Value scoped;
                    scoped.reach.scope = IsWord(word, "default") ? Reach::Scope::Default : Reach::Scope::Static;
                    scoped.reach.cls = type.cls;
                    if (!type.cls) scoped.reach.type.name = type.name;
                    return scoped;
                }
                if (type.dynamicArray && IsWord(word, "length")) return Typed(ScriptType::Of(Kind::Int));
                if (type.kind == Kind::Object && type.cls) {
                    if (call && reach.self && !state_.empty()) {
                        member = index_.FindFunctionInState(type.cls, state_, word);
                    } else {
                        member = index_.FindMember(type.cls, word, call ? kFunctions : kVariables | kConstants | kFunctions);
                    }
                    if (!member) cause = "no member of that name in " + type.cls->name() + "'s chain";
                } else if (type.kind == Kind::Class) {
                    // A class is an object too: Object's members ("Name", "Outer").
                    const IndexedClass* object = index_.FindClass("Object");
                    member = index_.FindMember(object, word, call ? kFunctions : kVariables | kFunctions);
                    if (!member) cause = "a class has no member of that name (Default. or Static. reach its class's)";
                } else if (type.kind == Kind::Struct) {
                    member = index_.FindStructMember(type.declaration, word);
                    if (!member) cause = "no member of that name in struct " + type.name;
                } else if (type.kind == Kind::Enum && type.typeName) {
                    const MemberRef enumType = type.declaration;
                    const auto* values = enumType.owner->ScopedMembers(FoldName(enumType.symbol().name), FoldName(word));
                    if (values && !values->empty()) member = {enumType.owner, values->front()};
                    if (!member) cause = "no value of that name in enum " + type.name;
                } else if (type.kind == Kind::Object) {
                    cause = "class " + type.name + " is not in the index";
                } else if (!type.Known()) {
                    cause = "the type of what stands before '.' is not known";
                } else {
                    cause = "a " + TypeText(type) + " has no members";
                }
                break;
            }
        }
        Emit(name, UseRole::Code, call, MemberTarget(member), cause);
        if (call) return Call(name, member);
        return Typed(MemberType(member));
    }

    static std::string ClassName(const IndexedClass* cls) { return cls ? cls->name() : std::string("a class not in the index"); }

    // Super.Name from code of this class (or state), or Super(Class).Name.
    MemberRef SuperMember(const Reach& reach, std::string_view name) const {
        if (!reach.state.empty()) {
            // A state's functions: its parent states', then the class's own.
            const MemberRef state = index_.FindState(&cls_, reach.state);
            int steps = 0;
            for (MemberRef s = index_.ParentState(state); s && steps < 64; s = index_.ParentState(s), ++steps) {
                if (const auto* list = s.owner->ScopedMembers(FoldName(s.symbol().name), FoldName(name))) {
                    for (std::uint32_t index : *list) {
                        if (s.owner->symbols().members[index].kind == SymbolKind::Function) return {s.owner, index};
                    }
                }
            }
            return index_.FindMember(&cls_, name, kFunctions);
        }
        return index_.FindMember(reach.cls, name, kFunctions | kVariables);
    }

    // A name in an expression, not after a '.'.
    Value Primary() {
        const Token token = Cur();
        switch (token.kind) {
            case TokenKind::End: return {};
            case TokenKind::Number: {
                Advance();
                const std::string_view text = Text(token);
                const bool hex = text.size() > 1 && (text[1] == 'x' || text[1] == 'X');
                const bool real = !hex && text.find_first_of(".eE") != std::string_view::npos;
                return Typed(ScriptType::Of(real ? Kind::Float : Kind::Int));
            }
            case TokenKind::String: Advance(); return Typed(ScriptType::Of(Kind::String));
            case TokenKind::Name: Advance(); return Typed(ScriptType::Of(Kind::Name));
            case TokenKind::Symbol: {
                if (!Is(token, "(")) return {};
                Advance();
                Value inner = Expression();
                if (SymbolIs(")")) Advance();
                inner.reach.self = false;
                return inner;
            }
            case TokenKind::Identifier: break;
        }
        const std::string_view word = Text(token);
        if (IsStatementWord(word)) return {};
        Advance();
        if (IsWord(word, "self")) {
            Value value = Typed(ScriptType::ObjectOf(&cls_));
            value.reach.self = true;
            return value;
        }
        if (IsWord(word, "none")) return Typed(ScriptType::Of(Kind::None));
        if (IsWord(word, "true") || IsWord(word, "false")) return Typed(ScriptType::Of(Kind::Bool));
        if (IsWord(word, "super")) return Super();
        if (IsWord(word, "global") && SymbolIs(".")) {
            Value value;
            value.reach.scope = Reach::Scope::Global;
            value.reach.cls = &cls_;
            return value;
        }
        if ((IsWord(word, "default") || IsWord(word, "static")) && SymbolIs(".")) {
            Value value;
            value.reach.scope = IsWord(word, "default") ? Reach::Scope::Default : Reach::Scope::Static;
            value.reach.cls = &cls_;
            return value;
        }
        if (IsWord(word, "new")) return New();
        if (Cur().kind == TokenKind::Name) return ObjectLiteral(token);
        if (IsWord(word, "class") && SymbolIs("<")) return ClassCast();
        if (SymbolIs("(")) {
            if (IsOneOf(word, {"vect", "rot"})) {
                SkipGroup();
                return Typed(TypeOfText(index_, &cls_, IsWord(word, "vect") ? "Vector" : "Rotator"));
            }
            if (IsOneOf(word, {"int", "float", "byte", "bool", "string", "name", "vector", "rotator", "arraycount",
                               "enumcount", "sizeof"})) {
                Arguments(token, {});
                const std::string_view type = IsOneOf(word, {"arraycount", "enumcount", "sizeof"}) ? "int" : word;
                return Typed(TypeOfText(index_, &cls_, type));
            }
        }
        return Name(token);
    }

    Value Super() {
        Value value;
        value.reach.scope = Reach::Scope::Super;
        if (SymbolIs("(")) {  // Super(Class)
            Advance();
            if (Cur().kind == TokenKind::Identifier) {
                const Token name = Cur();
                Advance();
                const IndexedClass* cls = index_.FindClass(Text(name));
                Emit(name, UseRole::Code, false, ClassTarget(cls), "no class of that name");
                value.reach.cls = cls;
            }
            if (SymbolIs(")")) Advance();
            return value;
        }
        value.reach.cls = cls_.parent();
        value.reach.state = state_;
        return value;
    }

    Value New() {
        if (SymbolIs("(")) SkipArguments();
        const Value made = Postfix(Primary());
        if (made.type().kind == Kind::Class) return Typed(ScriptType::ObjectOf(made.type().cls, made.type().name));
        return {};
    }

    void SkipArguments() {
        Advance();  // (
        while (!AtEnd() && !SymbolIs(")")) {
            const std::size_t start = pos_;
            Expression();
            if (SymbolIs(",")) Advance();
            if (pos_ == start) Advance();
        }
        if (SymbolIs(")")) Advance();
    }

    // Class'Name', Texture'Package.Name', ...: the literal's class, and the class a class literal
    // names.
    Value ObjectLiteral(const Token& classWord) {
        const Token literal = Cur();
        Advance();
        const std::string_view word = Text(classWord);
        if (IsWord(word, "class")) {
            const std::string_view quoted = Text(literal);
            const std::string_view named = QuotedObjectName(quoted);
            const IndexedClass* cls = index_.FindClass(named);
            Token nameToken = literal;
            nameToken.offset = static_cast<std::uint32_t>(literal.offset + (named.data() - quoted.data()));
            nameToken.length = static_cast<std::uint32_t>(named.size());
            nameToken.column = literal.column + static_cast<int>(named.data() - quoted.data());
            Emit(nameToken, UseRole::Code, false, ClassTarget(cls), "no class of that name in the index");
            return Typed(ScriptType::ClassOf(cls, std::string(named)));
        }
        const IndexedClass* cls = index_.FindClass(word);
        Emit(classWord, UseRole::Code, false, ClassTarget(cls), "no class of that name in the index");
        return Typed(ScriptType::ObjectOf(cls, std::string(word)));
    }

    // class<Name>(expression)
    Value ClassCast() {
        Advance();  // <
        const IndexedClass* cls = nullptr;
        std::string named;
        if (Cur().kind == TokenKind::Identifier) {
            const Token name = Cur();
            named = std::string(Text(name));
            Advance();
            cls = index_.FindClass(named);
            Emit(name, UseRole::Type, false, ClassTarget(cls), "no class of that name in the index");
        }
        if (SymbolIs(">")) Advance();
        if (SymbolIs("(")) Arguments(Cur(), {});
        return Typed(ScriptType::ClassOf(cls, named));
    }

    // The arguments of the call whose '(' is the current token (an empty list counts none).
    std::size_t ArgumentCount() const {
        int depth = 0;
        std::size_t commas = 0;
        bool any = false;
        for (std::size_t i = pos_ + 1; i < tokens_.size(); ++i) {
            const Token& token = tokens_[i];
            if (Is(token, "(") || Is(token, "[")) {
                ++depth;
            } else if (Is(token, ")") || Is(token, "]")) {
                if (depth-- == 0) break;
            } else if (depth == 0 && Is(token, ",")) {
                ++commas;
            } else if (depth == 0 && (Is(token, ";") || Is(token, "{") || Is(token, "}"))) {
                break;
            }
            any = true;
        }
        return any ? commas + 1 : 0;
    }

    static std::size_t RequiredParameters(const Symbol& function) {
        return static_cast<std::size_t>(std::count_if(function.parameters.begin(), function.parameters.end(),
                                                      [](const Parameter& p) { return !HasModifier(p.modifiers, "optional"); }));
    }

    // An unqualified name: a parameter or local, a member of the class chain (a state's
    // functions first in state code), a class (a cast when called), an enum value, a constant.
    Value Name(const Token& token) {
        const std::string_view word = Text(token);
        const bool call = SymbolIs("(");
        if (!call) {
            const auto local = locals_.find(FoldName(word));
            if (local != locals_.end()) {
                Emit(token, UseRole::Code, false, local->second, {});
                ScriptType type = TypeOfText(index_, &cls_, local->second.type);
                return Typed(type);
            }
        }
        if (call) {
            MemberRef function = state_.empty() ? index_.FindMember(&cls_, word, kFunctions)
                                                : index_.FindFunctionInState(&cls_, state_, word);
            // A class and a function of one name (Trigger): one argument where the function
            // needs more is a cast to the class.
            if (function && ArgumentCount() == 1 && RequiredParameters(function.symbol()) > 1 && index_.FindClass(word)) {
                function = {};
            }
            if (function) {
                Emit(token, UseRole::Code, true, MemberTarget(function), {});
                return Call(token, function);
            }
            if (const IndexedClass* cls = index_.FindClass(word)) {  // a cast
                Emit(token, UseRole::Code, true, ClassTarget(cls), {});
                Arguments(token, ClassTarget(cls));
                return Typed(ScriptType::ObjectOf(cls));
            }
            const auto local = locals_.find(FoldName(word));
            Emit(token, UseRole::Code, true, {},
                 local != locals_.end() ? "a local variable is called" : "no function of that name in " + cls_.name() + "'s chain");
            Arguments(token, {});
            return {};
        }
        if (const MemberRef member = index_.FindMember(&cls_, word, kVariables | kConstants)) {
            Emit(token, UseRole::Code, false, MemberTarget(member), {});
            return Typed(MemberType(member));
        }
        if (const MemberRef value = index_.FindEnumValue(&cls_, word)) {
            Emit(token, UseRole::Code, false, MemberTarget(value), {});
            return Typed(MemberType(value));
        }
        if (const IndexedClass* cls = index_.FindClass(word)) {
            Emit(token, UseRole::Code, false, ClassTarget(cls), {});
            return Typed(ScriptType::ClassOf(cls));
        }
        if (const MemberRef constant = index_.FindConstant(&cls_, word)) {
            Emit(token, UseRole::Code, false, MemberTarget(constant), {});
            return Typed(MemberType(constant));
        }
        if (const MemberRef function = index_.FindMember(&cls_, word, kFunctions)) {
            Emit(token, UseRole::Code, false, MemberTarget(function), {});
            return Typed(TypeOfText(index_, function.owner, function.symbol().type));
        }
        // An enum's name qualifying one of its values: "ERenderStyle.STY_Translucent".
        if (SymbolIs(".")) {
            const MemberRef type = index_.FindType(&cls_, word);
            if (type && type.symbol().kind == SymbolKind::Enum) {
                Emit(token, UseRole::Code, false, MemberTarget(type), {});
                ScriptType qualifier;
                qualifier.kind = Kind::Enum;
                qualifier.declaration = type;
                qualifier.name = type.symbol().name;
                qualifier.typeName = true;
                return Typed(std::move(qualifier));
            }
        }
        Emit(token, UseRole::Code, false, {}, "no variable, constant or enum value of that name in scope");
        return {};
    }

    // A default property's value: a struct value "(X=1,Y=2)" names the struct's members; an
    // enum's value names one of its values.
    void DefaultValue(const ScriptType& type, int keyLine) {
        if (SymbolIs("(")) {
            Advance();
            while (!AtEnd() && !SymbolIs(")")) {
                const Token key = Cur();
                if (key.kind == TokenKind::Identifier && Is(Peek(1), "=")) {
                    Advance();
                    Advance();
                    MemberRef member;
                    if (type.kind == Kind::Struct) member = index_.FindStructMember(type.declaration, Text(key));
                    if (type.kind == Kind::Struct) {
                        Emit(key, UseRole::Default, false, MemberTarget(member), "no member of that name in struct " + type.name);
                    }
                    DefaultValue(member ? TypeOfText(index_, member.owner, member.symbol().type) : ScriptType{}, key.line);
                    continue;
                }
                if (SymbolIs("(")) {
                    SkipGroup();
                    continue;
                }
                Advance();
            }
            if (SymbolIs(")")) Advance();
            return;
        }
        // A plain value runs to the end of its line (or to the end of a struct value's field).
        while (!AtEnd() && Cur().line == keyLine && !SymbolIs(",") && !SymbolIs(")") && !SymbolIs(";")) {
            const Token token = Cur();
            Advance();
            if (token.kind == TokenKind::Identifier && type.kind == Kind::Enum && type.declaration) {
                const auto* list = type.declaration.owner->ScopedMembers(FoldName(type.declaration.symbol().name),
                                                                         FoldName(Text(token)));
                if (list) Emit(token, UseRole::Default, false, MemberTarget({type.declaration.owner, list->front()}), {});
            }
        }
        if (SymbolIs(";")) Advance();
    }

    const SymbolIndex& index_;
    const IndexedClass& cls_;
    std::string_view text_;
    WalkListener& listener_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    Token end_;
    std::string state_;
    std::unordered_map<std::string, Target> locals_;
    int depth_ = 0;
};

bool Holds(std::uint32_t begin, std::uint32_t end, std::uint32_t offset) { return begin <= offset && offset <= end; }

}  // namespace

MemberRef BodyAt(const IndexedClass& cls, std::uint32_t offset) {
    const auto& members = cls.symbols().members;
    for (std::uint32_t i = 0; i < members.size(); ++i) {
        const Symbol& member = members[i];
        if (member.kind == SymbolKind::Function && member.bodyEnd > member.bodyBegin &&
            Holds(member.declarationBegin, member.bodyEnd, offset)) {
            return {&cls, i};
        }
    }
    for (std::uint32_t i = 0; i < members.size(); ++i) {
        const Symbol& member = members[i];
        if (member.kind == SymbolKind::State && member.codeBegin && Holds(member.codeBegin, member.bodyEnd, offset)) {
            return {&cls, i};
        }
    }
    return {};
}

void WalkClass(const SymbolIndex& index, const IndexedClass& cls, std::string_view text, WalkListener& listener) {
    Walker walker(index, cls, text, listener);
    walker.Declarations();
    const auto& members = cls.symbols().members;
    for (std::uint32_t i = 0; i < members.size(); ++i) {
        if (members[i].kind == SymbolKind::Function) walker.Function(i);
        if (members[i].kind == SymbolKind::State) walker.StateCode(i);
    }
    walker.Replication();
    walker.Defaults();
}

void WalkAt(const SymbolIndex& index, const IndexedClass& cls, std::string_view text, std::uint32_t offset,
            WalkListener& listener) {
    Walker walker(index, cls, text, listener);
    const ClassSymbols& symbols = cls.symbols();
    if (const MemberRef body = BodyAt(cls, offset)) {
        if (body.symbol().kind == SymbolKind::Function) {
            walker.Function(body.index);
        } else {
            walker.StateCode(body.index);
        }
        return;
    }
    if (symbols.replicationEnd > symbols.replicationBegin && Holds(symbols.replicationBegin, symbols.replicationEnd, offset)) {
        walker.Replication();
        return;
    }
    if (symbols.defaultsEnd > symbols.defaultsBegin && Holds(symbols.defaultsBegin, symbols.defaultsEnd, offset)) {
        walker.Defaults();
        return;
    }
    walker.Declarations();
    // A function without a body still declares its parameters.
    for (std::uint32_t i = 0; i < symbols.members.size(); ++i) {
        const Symbol& member = symbols.members[i];
        if (member.kind == SymbolKind::Function && member.bodyEnd <= member.bodyBegin) walker.Function(i);
    }
}

}  // namespace torvane::intel
