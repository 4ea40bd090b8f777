#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "intel/symbol_index.h"

// The classes of a package that has no sources: each class's text is rebuilt from the compiled
// package (or taken from the source text the package carries) and read like a source. The
// symbols' lines are lines of that text, which is what go to definition shows.
namespace torvane::intel {

// Every class of the compiled package but those named in withSources (folded names, see
// FoldName: the classes whose sources the index reads); throws unrealpkg::PackageError or
// platform::FileError when the package cannot be read. packageFolders: where the packages its
// classes' parents live in are looked for.
IndexUnit CompiledPackageUnit(const std::string& packageFile, const std::string& package,
                              const std::vector<std::string>& packageFolders,
                              const std::unordered_set<std::string>& withSources = {});

// The text of one class, as CompiledPackageUnit read it; empty when the package has no such class.
std::string CompiledClassText(const std::string& packageFile, const std::string& className,
                              const std::vector<std::string>& packageFolders);

}  // namespace torvane::intel
