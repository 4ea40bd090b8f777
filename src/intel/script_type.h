#pragma once

#include <string>
#include <string_view>

#include "intel/symbol_index.h"

// The type of an UnrealScript expression, as far as name resolution needs it: what members a
// '.' after it reaches (an object's class, a class's defaults and statics, a struct's members).
namespace torvane::intel {

struct ScriptType {
    enum class Kind : std::uint8_t {
        Unknown, None, Byte, Int, Bool, Float, String, Name, Pointer, Object, Class, Struct, Enum
    };
    Kind kind = Kind::Unknown;
    const IndexedClass* cls = nullptr;  // Object: its class; Class: the class it stands for
    MemberRef declaration;              // Struct, Enum: the declaration
    std::string name;                   // as written (a class that is not indexed keeps its name)
    bool array = false;                 // a static or dynamic array, not yet indexed
    bool dynamicArray = false;
    bool typeName = false;              // Enum: the enum's own name, qualifying a value (ERenderStyle.STY_Normal)

    bool Known() const { return kind != Kind::Unknown; }
    static ScriptType Of(Kind kind) {
        ScriptType type;
        type.kind = kind;
        return type;
    }
    static ScriptType ObjectOf(const IndexedClass* cls, std::string name = {});
    static ScriptType ClassOf(const IndexedClass* cls, std::string name = {});
};

// The type a declaration's type text names, seen from context (structs and enums are looked up
// through its parent chain first): "int", "class<Pawn>", "array<string>", "Vector", "EPhysics",
// "Actor", "Object.Vector". Unknown when the name is not in the index.
ScriptType TypeOfText(const SymbolIndex& index, const IndexedClass* context, std::string_view text);

// How a type reads in a completion list or a message: "int", "Pawn", "class<Pawn>", "Vector".
std::string TypeText(const ScriptType& type);

}  // namespace torvane::intel
