#pragma once

#include <string>
#include <vector>

// Well-known places a game install lives on Linux, in place of the registry value that names
// it on Windows: Wine prefixes and common native install directories.
namespace torvane::platform {

// The directories looked at, in order, for a home directory.
std::vector<std::string> WellKnownGameLocations(const std::string& homeDirectory);

// True when directory holds a "System" sub-directory (any letter case).
bool HasSystemDirectory(const std::string& directory);

// The first well-known location holding a System directory, or empty.
std::string LocateInstalledGame(const std::string& homeDirectory = {});

}  // namespace torvane::platform
