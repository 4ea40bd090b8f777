#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "intel/symbol_index.h"

// The parameter hint: inside a call's parentheses, the called function's signature and which of
// its parameters the argument at the cursor is.
namespace torvane::intel {

struct ParameterHint {
    std::string signature;  // "function Actor Spawn(class<Actor> SpawnClass, ...)"
    std::string owner;      // the class that declares the function
    int parameter = 0;      // from 0; may be past the last parameter
    std::uint32_t open = 0; // the call's '('
};

// Where parameter (from 0) stands in a signature: [first, second) of its text between the
// parentheses, blanks left out; {npos, npos} past the last parameter.
std::pair<std::size_t, std::size_t> ParameterSpan(std::string_view signature, int parameter);

// The innermost call whose parentheses hold offset (an unclosed one counts), when it calls a
// function the index knows.
std::optional<ParameterHint> ParameterHintAt(const SymbolIndex& index, const IndexedClass& cls, std::string_view text,
                                             std::uint32_t offset);

}  // namespace torvane::intel
