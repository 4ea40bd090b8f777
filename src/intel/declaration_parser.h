#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "intel/class_symbols.h"

// Reads the declarations of one UnrealScript class from its text: the header, variables,
// constants, enums, structs, functions with their parameters, states with their functions,
// ignored functions and labels, and where the bodies, the replication block and the default
// properties lie. Function bodies are skipped, not read. Text that does not parse is passed over,
// so a class being typed still yields what is complete.
namespace torvane::intel {

// A name inside a declaration that refers to something declared elsewhere: a type (class,
// struct or enum), a parent state, or an ignored function.
struct DeclarationReference {
    enum class Kind : std::uint8_t { Type, State, Function };
    Kind kind = Kind::Type;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    int line = 0;
    int column = 0;
    // The struct or state the declaration belongs to (a state's parent is looked up from it).
    std::uint32_t scopeMember = UINT32_MAX;  // index in members, or UINT32_MAX for the class
};

// references, when given, receives every DeclarationReference in text order.
ClassSymbols ParseClassSymbols(std::string_view text, std::vector<DeclarationReference>* references = nullptr);

}  // namespace torvane::intel
