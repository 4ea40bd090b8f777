#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "workspace/package_operations.h"

// torvane-cli packages: the package commands of the workspace's "System" page without windows.
namespace torvane::workspace {

struct PackagesCommand {
    enum class Action { List, Importable, Install, Remove, Move, New, Flags };
    Action action = Action::List;
    std::string gameRoot;
    std::vector<std::string> names;  // install: every name; the others: the first
    std::string before;              // move: the entry the package is put before
    bool yes = false;                // move: answer the warning with Yes
    NewPackageRequest newPackage;    // new: the directories (the name is names[0])
    std::vector<std::string> setFlags;    // flags: names of the flags to set ...
    std::vector<std::string> clearFlags;  // ... and to clear; neither: print the flags
};

// list: one line per EditPackages entry, "name<TAB>last modified"; importable: the package
// directories "Import Package from Dir..." offers; install: adds each name not listed yet;
// remove: with the refusal for packages others build on; move: before another entry, after the
// warning (answered by yes); new: the package's directories and its entry; flags: prints the
// compiled package's flags as the tool's options, or sets and clears flags through the game's
// tool. Messages and refusals go to err; exit status 0, or 1 when refused or nothing changed.
int RunPackagesCommand(const PackagesCommand& command, std::ostream& out, std::ostream& err);

}  // namespace torvane::workspace
