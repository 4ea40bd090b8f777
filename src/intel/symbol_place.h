#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "intel/code_walker.h"

// Where a name is declared, and the name under a position of a class's text: what go to
// definition asks.
namespace torvane::intel {

struct SymbolPlace {
    const IndexedClass* cls = nullptr;  // the class that declares it
    std::string file;                   // its source; empty for a class read from a compiled package
    int line = 0;                       // from 1; of the class's rebuilt text when compiled
    int column = 0;
    bool compiled = false;
    std::string packageFile;  // compiled: the package it was read from
    std::string objectPath;   // "Engine.Actor.Touch", "Engine.Actor.EPhysics.PHYS_None"
    explicit operator bool() const { return cls != nullptr; }
};

// The name at offset of cls's text (a name ending at offset counts, as after typing it).
std::optional<Use> UseAt(const SymbolIndex& index, const IndexedClass& cls, std::string_view text, std::uint32_t offset);

// Where target is declared; empty for a target that is no declaration (None).
SymbolPlace PlaceOf(const Target& target);

// "path(line)", or for a compiled class "Package.Class(line)".
std::string PlaceText(const SymbolPlace& place);

// What the name stands for, for a message or a list: "function Actor.Touch", "variable
// Pawn.Health", "class Pawn", "local Other".
std::string TargetText(const Target& target);

}  // namespace torvane::intel
