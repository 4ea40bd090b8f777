#pragma once

#include <ostream>
#include <string>

// torvane-cli classes and defaults: the class trees and a class's default properties, without
// questions.
namespace torvane::workspace {

// Scans the game's packages; writes the tree caches and "Packages.ucd" into cacheDirectory when
// it is not empty (the directory is created when missing; throws platform::FileError when it
// cannot be created or written); prints the chosen tree ("object", "actor", "package", or "" for
// none) as captions indented two blanks per level, then "classes: N, top-level: M, actors: K".
int RunClassScan(const std::string& gameRoot, const std::string& cacheDirectory,
                 const std::string& print, std::ostream& out, std::ostream& err);

// Scans the game's packages, finds the class (in the package when one is given, exactly as
// spelled there; else the first of that name) and prints its default properties, one line per
// property: category, name, value, declaring class:line, setting class:line, separated by tabs.
// Returns 1 with a line on err when the class is not in the trees.
int RunDefaults(const std::string& gameRoot, const std::string& className, const std::string& package,
                std::ostream& out, std::ostream& err);

}  // namespace torvane::workspace
