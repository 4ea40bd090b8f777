#pragma once

#include <cstdint>
#include <string>

// The native functions and operators that compiled code calls by number.
namespace torvane::unrealpkg {

enum TNativeKind : std::uint8_t { kFunction = 0, kPreOperator = 1, kPostOperator = 2, kBinaryOperator = 3 };

struct TNativeFunction {
    std::int32_t index;
    std::uint8_t kind;
    std::uint8_t precedence;
    const char* name;
};

// The first record with the native index, or nullptr.
const TNativeFunction* FindNativeFunction(std::int32_t index);
// All records in table order.
const TNativeFunction* NativeFunctions(std::size_t* count);

}  // namespace torvane::unrealpkg
