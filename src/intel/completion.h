#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "intel/symbol_index.h"

// Completion: what may be typed at a place of a class's text. After a '.' the members the
// expression before it reaches (an object's class chain, a struct's members, Default.'s
// variables, Static.'s and Super's functions); elsewhere the parameters and locals of the
// function, the members of the class chain, the classes, then the language's keywords.
namespace torvane::intel {

struct CompletionItem {
    enum class Group : std::uint8_t { Local, Member, Class, Keyword };
    Group group = Group::Member;
    std::string name;
    std::string detail;  // the signature or declaration ("function Touch(Actor Other)", "int Health")
    std::string owner;   // the class that declares it; empty for locals and keywords
};

struct CompletionList {
    std::uint32_t prefixBegin = 0;  // where the name being typed starts (it ends at the offset)
    bool afterDot = false;
    std::vector<CompletionItem> items;  // by group, then by name; each name once (the nearest)
};

CompletionList CompletionsAt(const SymbolIndex& index, const IndexedClass& cls, std::string_view text,
                             std::uint32_t offset);

// A row of the completion list: the name, then (from column nameWidth + 2) its declaration and
// the class that declares it: "Health    var int Health  (Pawn)". It starts with the name, so
// typing on picks the row.
std::string CompletionRow(const CompletionItem& item, std::size_t nameWidth);
// The name a row shows (the text up to its first blank).
std::string_view NameOfCompletionRow(std::string_view row);

// The keywords completion offers outside a '.'.
const std::vector<std::string_view>& ScriptKeywords();

}  // namespace torvane::intel
