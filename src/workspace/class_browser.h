#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/game_install.h"
#include "workspace/class_header_parser.h"
#include "workspace/class_tree.h"
#include "workspace/edit_packages.h"

namespace torvane::core {
class EventPump;
class OutputLog;
class Prompter;
class StatusSink;
}
namespace torvane::unrealpkg {
class ExportProgress;
}

// The class browser's model: the EditPackages list, the compiled packages, and the object,
// actor and by-package trees with their caches.
namespace torvane::workspace {

struct ClassBrowserContext {
    platform::GameInstall install;  // the game root, its configuration file, its packages
    std::string cacheDirectory;     // where "Classes.ucd" ... "Packages.ucd" are kept
    core::Prompter* prompter = nullptr;
    core::StatusSink* status = nullptr;
    core::EventPump* pump = nullptr;
    // The export of packages without sources: its lines, its progress window, and the
    // information box that the preferences may suppress (the prompter's when not given).
    core::OutputLog* log = nullptr;
    unrealpkg::ExportProgress* exportProgress = nullptr;
    std::function<void(const std::string&)> showInfoMessage;
    // Called after the EditPackages and compiled packages lists were read again (a window shows
    // them anew: after a compile their dates have changed).
    std::function<void()> packageListsLoaded;
    // When set, a rebuild reads each source whole (once) and hands it here before taking its
    // header: find in files on the command line searches while the trees are built.
    std::function<void(const std::string& path, std::string_view source)> sourceRead;
};

struct EditPackageEntry {
    std::string name;
    std::string lastModified;
};

class ClassBrowser final {
public:
    enum class StartResult { Loaded, Rebuilt, Quit };

    explicit ClassBrowser(ClassBrowserContext context);

    // --- the EditPackages list ---
    // Reads both lists; a configuration that cannot be read is reported and leaves them empty.
    // Offers to export the listed packages that have no sources, then reads the lists again.
    bool LoadEditPackages();
    int IndexOfEditPackage(const std::string& name) const;
    void AddEditPackage(const std::string& name);
    void RemoveEditPackage(const std::string& name);
    void RemoveEditPackageLine(const std::string& name);
    // Moves the entry at index from to stand directly before the entry at index before, in the
    // list and in the file (MoveEditPackageLine). False when the file lacks either line.
    bool MoveEditPackage(std::size_t from, std::size_t before);
    const std::vector<EditPackageEntry>& editPackages() const { return editPackages_; }
    const std::vector<CompiledPackage>& compiledPackages() const { return compiledPackages_; }
    std::vector<std::string> EditPackageNames() const;

    // --- the class trees ---
    // A configuration that cannot be read is reported and leaves the caches as they are: they
    // are loaded when present, nothing is asked, rebuilt or written.
    StartResult InitClassBrowser();
    // False when a source could not be read (reported); the trees keep what was built. Throws
    // platform::FileError when the caches cannot be written, or when the package list could not
    // be read (the trees and caches are left as they are).
    bool RebuildClassTrees();
    bool ScanPackageClasses(const std::string& package);
    void AddClassEntry(const std::string& package, const std::string& path);
    void AddClassEntry(const std::string& package, const std::string& path, const ClassHeader& header);
    void PlaceClasses();
    void BuildActorTree();
    void BuildByPackageTree();
    void SaveClassCaches();
    void SavePackageList();

    int FindClass(const std::string& name, const std::string* package = nullptr) const;
    int FindActorClass(const std::string& name) const;
    // The find box of the by-package tree: the next class node containing text (any case)
    // after the previous hit; -1 when there is none.
    int FindInPackageTree(const std::string& text);

    ClassTree& objectTree() { return objectTree_; }
    const ClassTree& objectTree() const { return objectTree_; }
    ClassTree& actorTree() { return actorTree_; }
    ClassTree& byPackageTree() { return byPackageTree_; }
    const ClassBrowserContext& context() const { return context_; }
    std::string CacheFile(const std::string& name) const;

private:
    bool LoadLists(bool offerExport);
    void ExportPackagesWithoutSources(const std::vector<std::string>& names);
    bool LoadTreeCaches();  // false when one is missing or damaged (the trees are then empty)
    void Status(const std::string& text);
    void Splash(const std::string& text);
    void Pump();
    void RefreshTreesAfterAdd();

    ClassBrowserContext context_;
    std::vector<EditPackageEntry> editPackages_;
    std::vector<CompiledPackage> compiledPackages_;
    ClassTree objectTree_;
    ClassTree actorTree_;
    ClassTree byPackageTree_;
    bool packageListRead_ = true;  // the last LoadEditPackages could read the configuration
    std::string lastFindText_;
    int lastFindHit_ = -1;
};

}  // namespace torvane::workspace
