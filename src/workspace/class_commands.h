#pragma once

#include <ostream>
#include <string>

// torvane-cli classes: a full rebuild of the class trees without questions.
namespace torvane::workspace {

// Scans the game's packages; writes the tree caches and "Packages.ucd" into cacheDirectory when
// it is not empty (the directory is created when missing; throws platform::FileError when it
// cannot be created or written); prints the chosen tree ("object", "actor", "package", or "" for
// none) as captions indented two blanks per level, then "classes: N, top-level: M, actors: K".
int RunClassScan(const std::string& gameRoot, const std::string& cacheDirectory,
                 const std::string& print, std::ostream& out, std::ostream& err);

}  // namespace torvane::workspace
