#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What one class declares, as the symbol index keeps it: the class and its parent, and every
// variable, constant, enum (with its values), struct (with its members), function, state and
// state label, each with the line and column of its name.
namespace torvane::intel {

enum class SymbolKind : std::uint8_t { Variable, Constant, Enum, EnumValue, Struct, Function, State, Label };

// "variable", "constant", "enum", "enum value", "struct", "function", "state", "label".
std::string_view KindText(SymbolKind kind);

struct Parameter {
    std::string name;
    std::string type;       // "int", "class<Pawn>", "array<string>"
    std::string modifiers;  // "optional out coerce ..." as written, blank-separated
    std::string arraySize;  // the text between '[' and ']' of a static array, else empty
    int line = 0;
    int column = 0;
};

struct Symbol {
    SymbolKind kind = SymbolKind::Variable;
    std::string name;
    // The struct, state or enum the symbol belongs to; empty for a member of the class itself.
    std::string scope;
    // Variables: the declared type. Functions: the return type (empty for none). Constants: the
    // value as written. Structs and states: the parent they extend (empty for none). Enum values:
    // the enum's name.
    std::string type;
    // As written, blank-separated: "(Movement) const editconst", "native(129) static final
    // preoperator", "auto simulated", "event".
    std::string modifiers;
    std::string arraySize;              // variables: the text between '[' and ']', else empty
    std::vector<Parameter> parameters;  // functions
    std::vector<std::string> ignores;   // states: the functions they ignore
    int line = 0;                       // of the name, from 1
    int column = 0;
    // Functions and states: the bytes between the braces of the body ([bodyBegin, bodyEnd));
    // 0 and 0 without a body. States: codeBegin is where their labelled code starts (0: none).
    std::uint32_t bodyBegin = 0;
    std::uint32_t bodyEnd = 0;
    std::uint32_t codeBegin = 0;
    // Functions: where the declaration starts (its first modifier).
    std::uint32_t declarationBegin = 0;
};

struct ClassSymbols {
    std::string name;
    std::string parent;     // empty for a root class
    std::string within;     // the "within" class, if any
    std::string modifiers;  // the header's modifiers as written ("native abstract config(User)")
    std::string package;
    // The source file, or for a class read from a compiled package (compiled true) empty.
    std::string file;
    bool compiled = false;
    int line = 0;  // of the class name
    int column = 0;
    std::vector<Symbol> members;
    // The replication and default properties blocks: the bytes between their braces.
    std::uint32_t replicationBegin = 0;
    std::uint32_t replicationEnd = 0;
    std::uint32_t defaultsBegin = 0;
    std::uint32_t defaultsEnd = 0;
};

// A function's header as a mod author reads it: "simulated event Touch(Actor Other)",
// "native(129) static final preoperator bool !(bool A)".
std::string FunctionSignature(const Symbol& function);
// A variable, constant, enum, struct or state as declared, on one line:
// "var(Movement) const vector Location", "const MaxInt = 0x7fffffff", "enum ENetRole",
// "struct Plane extends Vector", "auto state Idle extends Wandering".
std::string DeclarationText(const Symbol& symbol);

// Whether the blank-separated modifiers hold word (without regard to case; "native(12)" holds
// "native").
bool HasModifier(std::string_view modifiers, std::string_view word);

}  // namespace torvane::intel
