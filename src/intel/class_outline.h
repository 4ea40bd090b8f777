#pragma once

#include <string>
#include <vector>

#include "intel/class_symbols.h"

// The outline of a class: its functions, states (with the functions declared in them),
// variables, constants, enums and structs, in the order the text declares them.
namespace torvane::intel {

struct OutlineEntry {
    SymbolKind kind = SymbolKind::Function;
    std::string name;
    std::string text;  // as the outline shows it: "function Touch(Actor Other)", "var int Health"
    int line = 0;      // from 1
    int column = 0;
    int depth = 0;     // 1 for a function of a state
};

std::vector<OutlineEntry> ClassOutline(const ClassSymbols& symbols);

// Whether an entry shows for the text typed into the outline's filter: every blank-separated
// word of it in the entry's text, without regard to case.
bool OutlineEntryMatches(const OutlineEntry& entry, const std::string& filter);

}  // namespace torvane::intel
