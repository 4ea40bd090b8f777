#pragma once

#include <ostream>
#include <string>

// torvane-cli find: find in files without windows. The class trees are built from the game's
// sources; the lines printed are those the output log lists.
namespace torvane::editor {

struct FindCommandOptions {
    std::string gameRoot;
    std::string location = "All Objects";  // a caption or a short name (see LocationOfName)
    std::string projectFile;               // for "All Classes in Current Project"
    std::string branchClass;               // for "Current Branch": the class whose branch
    std::string text;
};

// Prints the hit lines to out and messages to err. Returns 0 when lines were found, 1 when
// none were (or a file could not be read, or the location has nothing to search), 2 on bad
// arguments.
int RunFindCommand(const FindCommandOptions& options, std::ostream& out, std::ostream& err);

}  // namespace torvane::editor
