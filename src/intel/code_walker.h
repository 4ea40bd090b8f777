#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "intel/script_type.h"
#include "intel/symbol_index.h"

// Name resolution as the language does it, over the code of one class: every name in function
// bodies, state code, the replication block and the default properties, every type and parent a
// declaration names, and the names declarations declare, each with what it stands for (or why
// that could not be found). Expressions are typed as they are read, so that "a.b.c" chains,
// casts, class literals, Default., Static., Super and Super(Class) reach the right members.
namespace torvane::intel {

// What a name stands for.
struct Target {
    enum class Kind : std::uint8_t { None, Member, Class, Local };
    Kind kind = Kind::None;
    MemberRef member;                   // Member
    const IndexedClass* cls = nullptr;  // Class; Local: the class whose function declares it
    // Local: a parameter or local variable of the function being walked.
    std::string name;
    std::string type;
    int line = 0;
    int column = 0;
    bool parameter = false;
    explicit operator bool() const { return kind != Kind::None; }
    bool SameAs(const Target& other) const;
};

// Where a name stands.
enum class UseRole : std::uint8_t {
    Code,         // in an expression of a function body or state code
    Type,         // a type, parent class, parent state or ignored function named by a declaration
    Declaration,  // the name a declaration declares
    Default,      // a key of the default properties (or of a struct value there)
    Replication,  // a name listed in the replication block
};

struct Use {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    int line = 0;
    int column = 0;
    UseRole role = UseRole::Code;
    bool call = false;  // followed by '(' in code: a call (or a cast)
    Target target;
    std::string cause;  // why the name could not be resolved; empty when it was
};

// What a '.' reaches: the members of a type, or of the class behind Default., Static., Super,
// Super(Class) or Global..
struct Reach {
    enum class Scope : std::uint8_t { Value, Super, Global, Default, Static };
    Scope scope = Scope::Value;
    ScriptType type;                     // Value: the type before the '.'
    const IndexedClass* cls = nullptr;   // the class the other scopes look in (Super: the parent)
    std::string state;                   // Super from state code: the state it starts from
    bool self = false;                   // Value: "Self", so the state's functions come first
};

// A call: the name, its parentheses and what it calls.
struct CallSite {
    std::uint32_t nameOffset = 0;
    std::uint32_t open = 0;              // the '('
    std::uint32_t close = UINT32_MAX;    // the ')'; UINT32_MAX when the text ends before it
    Target target;
};

class WalkListener {
public:
    virtual ~WalkListener() = default;
    virtual void OnUse(const Use&) {}
    virtual void OnMemberAccess(std::uint32_t /*dotOffset*/, const Reach&) {}
    virtual void OnCall(const CallSite&) {}
    // A parameter or local, when the walk reaches its declaration.
    virtual void OnLocal(const Target&) {}
};

// Everything of the class: declarations and references, then every body, the state code, the
// replication block and the default properties. text must be the text cls was read from.
void WalkClass(const SymbolIndex& index, const IndexedClass& cls, std::string_view text, WalkListener& listener);

// Only the part of the class that holds offset: one function (its parameters and body), one
// state's code, the replication block, the default properties, or else the declarations.
void WalkAt(const SymbolIndex& index, const IndexedClass& cls, std::string_view text, std::uint32_t offset,
            WalkListener& listener);

// The function (or state, for state code) whose body holds offset; none outside bodies.
MemberRef BodyAt(const IndexedClass& cls, std::uint32_t offset);

}  // namespace torvane::intel
