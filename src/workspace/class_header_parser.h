#pragma once

#include <optional>
#include <string>
#include <string_view>

// The header scan: the class name and the parent name of an UnrealScript source, read byte by
// byte from the start of the file in 16 KB blocks and only up to the end of the declaration.
namespace torvane::workspace {

struct ClassHeader {
    std::string className;
    std::string parentName;  // empty for a root class
};

// Scans bytes already in memory (the scan ends where the rules say).
ClassHeader ParseClassHeaderText(std::string_view text);

// Scans a file; throws platform::FileError when it cannot be opened or read.
ClassHeader ParseClassHeader(const std::string& path);

}  // namespace torvane::workspace
