#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace torvane::core {
class OutputLog;
class Prompter;
class StatusSink;
}
namespace torvane::platform {
class GameInstall;
}
namespace torvane::project {
class ProjectSession;
}

// The package commands of the workspace's "System" page: removing, installing and reordering
// EditPackages entries, a new package with its directories, adding package directories found
// below the game root, and the flags of a compiled package.
namespace torvane::workspace {

class ClassBrowser;

struct PackageOperationsContext {
    ClassBrowser* browser = nullptr;
    project::ProjectSession* project = nullptr;  // nullptr or closed: no project
    core::Prompter* prompter = nullptr;
    core::StatusSink* status = nullptr;
    // Called when nodes of the object or actor tree have been removed, before anything is shown.
    std::function<void()> treesChanged;
};

// "Remove Packages": refused while a class of another package has its parent in this one, or
// while the open project has a package node of this name; otherwise the entry, its line and its
// classes go. False when nothing was removed.
bool RemovePackage(const PackageOperationsContext& context, const std::string& name);

// "Install Package(s)": each package added to the EditPackages list, in the order given.
void InstallPackages(ClassBrowser& browser, const std::vector<std::string>& names);

// A drop of the entry at index dragged on the entry at index target (nullopt: on no entry):
// after the question, dragged stands directly before target in the list and in the file. False
// when nothing moved.
bool MoveEditPackage(const PackageOperationsContext& context, std::size_t dragged, std::optional<std::size_t> target);

// --- "New Package" ---
struct NewPackageRequest {
    std::string name;
    bool textures = false;
    bool sounds = false;
    bool music = false;
    bool models = false;
    bool others = false;
    std::vector<std::string> otherLines;  // "Others (1 per line please)"
};
// Creates the package's directories (Classes always), adds it to the EditPackages list and, with
// a project open, to the project. False when a refusal ended it.
bool CreatePackage(const PackageOperationsContext& context, const NewPackageRequest& request);

// --- "Import Package from Dir..." ---
// Directories directly below the game root, neither read-only nor hidden, with a Classes
// directory, that are no EditPackages entry.
std::vector<std::string> ImportablePackages(const ClassBrowser& browser);
// Adds the checked packages that are not entries yet, then says the class tree is rebuilt (the
// caller rebuilds it).
void ImportPackages(const PackageOperationsContext& context, const std::vector<std::string>& names);

// --- "Package Flags..." ---
// Bits 0-4 of a package's flags word: AllowDownload, ClientOptional, ServerSideOnly, BrokenLinks,
// Unsecure.
inline constexpr int kPackageFlagCount = 5;
// The flags word of the compiled package the game's tool would find; throws when there is none
// or it cannot be read.
std::uint32_t ReadPackageFlags(const platform::GameInstall& install, const std::string& package);
// "+AllowDownload" or "-Allowdownload", then the four others, joined by blanks.
std::string PackageFlagOptions(std::uint32_t flags);

struct PackageFlagCommand {
    std::string workingDirectory;
    std::string parameters;  // "packageflag P.v P.u " + options
};
// The tool's command line for the package file: the names "P.v" and "P.u" when the tool runs in
// the package's directory (the Windows tool is started there), else their full paths.
PackageFlagCommand PackageFlagCommandFor(const platform::GameInstall& install, const std::string& packageFile,
                                         std::uint32_t flags);

// Renames <package>.u to <package>.v (replacing an older one) and runs the game's tool to write
// <package>.u anew with the flags, its lines going to the log as they come; then "Done". When the
// tool cannot start, fails or writes no package, the original is put back and the error thrown.
void SetPackageFlags(const platform::GameInstall& install, const std::string& package, std::uint32_t flags,
                     core::OutputLog& log, core::Prompter& prompter);

}  // namespace torvane::workspace
