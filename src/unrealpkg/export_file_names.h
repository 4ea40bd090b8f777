#pragma once

#include <string>
#include <string_view>
#include <vector>

// Which names a package export may turn into file names. Names come from the package file and
// from the game's configuration, so a damaged or hostile one could point outside the package
// folder: those are refused.
namespace torvane::unrealpkg {

// False for an empty name and for names holding "..", "/", "\" or a control character.
bool IsSafeExportName(std::string_view name);

// The refused names as the user sees them: each quoted, control characters as "#<code>".
std::string RefusedNamesText(const std::vector<std::string>& names);

}  // namespace torvane::unrealpkg
