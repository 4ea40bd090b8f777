#include "intel/class_outline.h"

#include <algorithm>
#include <sstream>

#include "core/text.h"

namespace torvane::intel {

std::vector<OutlineEntry> ClassOutline(const ClassSymbols& symbols) {
    std::vector<OutlineEntry> entries;
    for (const Symbol& symbol : symbols.members) {
        switch (symbol.kind) {
            case SymbolKind::Label:
            case SymbolKind::EnumValue:
                continue;  // shown by their state or enum
            case SymbolKind::Variable:
                if (!symbol.scope.empty()) continue;  // a struct's member
                break;
            case SymbolKind::Function:
            case SymbolKind::State:
            case SymbolKind::Constant:
            case SymbolKind::Enum:
            case SymbolKind::Struct:
                break;
        }
        OutlineEntry entry;
        entry.kind = symbol.kind;
        entry.name = symbol.name;
        entry.text = symbol.kind == SymbolKind::Function ? FunctionSignature(symbol) : DeclarationText(symbol);
        entry.line = symbol.line;
        entry.column = symbol.column;
        entry.depth = symbol.kind == SymbolKind::Function && !symbol.scope.empty() ? 1 : 0;
        entries.push_back(std::move(entry));
    }
    // A state's functions come right after their state, whatever the parser's order.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const OutlineEntry& a, const OutlineEntry& b) { return a.line < b.line; });
    return entries;
}

bool OutlineEntryMatches(const OutlineEntry& entry, const std::string& filter) {
    std::istringstream words(filter);
    for (std::string word; words >> word;) {
        if (core::FindIgnoringCase(entry.text, word) == std::string_view::npos) return false;
    }
    return true;
}

}  // namespace torvane::intel
