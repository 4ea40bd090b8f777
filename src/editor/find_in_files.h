#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvane::core {
class EventPump;
class OutputLog;
class Prompter;
}
namespace torvane::project {
struct PackageNode;
}
namespace torvane::workspace {
struct ClassNode;
class ClassTree;
struct CompiledPackage;
}

// Find in files: the files a location stands for, and the search of those files for a text
// without regard to case, every hit line listed in the output log as path(line): text.
namespace torvane::editor {

class TTISearch;

enum class SearchLocation { AllActors, AllObjects, ProjectClasses, ExportedClasses, CurrentBranch };

// The captions of the locations, in the order of the dialog's radio group.
inline constexpr const char* kLocationCaptions[] = {"All Actors", "All Objects", "All Classes in Current Project",
                                                    "All Exported Classes", "Current Branch"};
const char* LocationCaption(SearchLocation location);
// A location by its caption or a short name (actors, objects, project, exported, branch), in any
// letter case.
std::optional<SearchLocation> LocationOfName(std::string_view name);
// The location the tool bar's Find in Files chooses from the workspace's active page.
SearchLocation LocationOfWorkspacePage(std::string_view pageCaption);

// What the locations read: the class trees, the project's packages, the compiled packages and
// the selections of the trees.
struct SearchScope {
    std::string gameRoot;
    const workspace::ClassTree* objectTree = nullptr;
    const workspace::ClassTree* actorTree = nullptr;
    const std::vector<project::PackageNode>* projectPackages = nullptr;  // nullptr: no project
    const std::vector<workspace::CompiledPackage>* compiledPackages = nullptr;
    bool objectPageShown = false;  // the workspace shows its "Object" page
    const workspace::ClassNode* objectSelection = nullptr;
    const workspace::ClassNode* actorSelection = nullptr;
};

// The files of a location in the order they are searched, or the message that says why there
// are none to search ("No Project Loaded.", "You must select an branch ...").
struct LocationFiles {
    std::vector<std::string> files;
    std::string message;
};
LocationFiles FilesOfLocation(SearchLocation location, const SearchScope& scope);

// Every node's file, depth first (a node, its first child's sub-tree, its next sibling's).
std::vector<std::string> FilesOfTree(const workspace::ClassTree& tree);
std::vector<std::string> FilesOfBranch(const workspace::ClassNode& node);

// One hit: the line's number from 1, and the line around the match without its characters
// below code 32.
struct HitLine {
    int number = 0;
    std::string text;
};

// Calls onHit for every match of the search's pattern in text. A line ends at CR LF, at a lone
// CR or at a lone LF, so line numbers are those of the editor whatever the file's line ends.
void ScanText(TTISearch& search, std::string_view text, const std::function<void(const HitLine&)>& onHit);

// path(number): text, as the output log lists a hit and its double-click reads it back.
std::string HitOutputLine(std::string_view path, const HitLine& hit);

// Reads a hit line of the output log back: the path and the line number. The path is the text
// before a "(" + digits + "): " that names an existing file, so a path may hold parentheses of
// its own ("Program Files (x86)"); any other line gives nothing.
struct HitLocation {
    std::string path;
    int line = 0;
};
std::optional<HitLocation> ParseHitOutputLine(std::string_view line,
                                              const std::function<bool(const std::string&)>& fileExists);

// Lists the output lines of one file's hits; several hits on one line give one output line.
// afterEachHit, when given, runs after every hit (listed or not).
void ListHitLines(TTISearch& search, std::string_view path, std::string_view source,
                  const std::function<void(std::string line)>& list,
                  const std::function<void()>& afterEachHit = {});

// Where a search reports to. The status line shows "Searching " + path before each file; the
// pump runs after each file and each hit; stopRequested is asked between files.
struct FindInFilesHost {
    core::OutputLog* log = nullptr;
    core::Prompter* prompter = nullptr;  // "Exception while scanning " + path
    core::EventPump* pump = nullptr;
    std::function<void(const std::string&)> status;
    std::function<bool()> stopRequested;
};

struct FindInFilesResult {
    int filesSearched = 0;
    int linesListed = 0;
    bool stopped = false;
};

// Clears the log and searches every file in order; an empty text searches nothing. A file that
// cannot be read is reported ("Exception while scanning " + path) and the search goes on with
// the next one.
FindInFilesResult SearchFiles(std::string_view text, const std::vector<std::string>& files,
                              const FindInFilesHost& host);

}  // namespace torvane::editor
