#pragma once

#include <string>
#include <string_view>

// Enums of the engine whose values the reader knows without their declarations.
namespace torvane::unrealpkg {

// The value name, or "" when the enum is unknown or the index out of range.
std::string KnownEnumValue(std::string_view enumName, int index);

}  // namespace torvane::unrealpkg
