#include "workspace/class_browser.h"

#include <algorithm>
#include <unordered_map>

#include "core/interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "unrealpkg/export_progress.h"
#include "unrealpkg/package_export.h"
#include "unrealpkg/package_places.h"
#include "workspace/class_header_parser.h"
#include "workspace/tree_cache.h"

namespace torvane::workspace {

ClassBrowser::ClassBrowser(ClassBrowserContext context) : context_(std::move(context)) {}

std::string ClassBrowser::CacheFile(const std::string& name) const {
    return context_.cacheDirectory + "/" + name;
}

void ClassBrowser::Status(const std::string& text) {
    if (context_.status) {
        context_.status->SetWorkspaceStatus(text);
        context_.status->SetSplashStatus(text);
    }
}

void ClassBrowser::Splash(const std::string& text) {
    if (context_.status) context_.status->SetSplashStatus(text);
}

void ClassBrowser::Pump() {
    if (context_.pump) context_.pump->ProcessPendingEvents();
}

// --- EditPackages ------------------------------------------------------------------------------

bool ClassBrowser::LoadEditPackages() { return LoadLists(true); }

bool ClassBrowser::LoadLists(bool offerExport) {
    editPackages_.clear();
    compiledPackages_.clear();
    std::vector<std::string> names;
    try {
        names = ReadEditPackages(context_.install.configPath());
    } catch (const platform::FileError& e) {
        packageListRead_ = false;
        if (context_.prompter) context_.prompter->Error(e.what());
        return false;
    }
    packageListRead_ = true;
    for (std::string& name : names) {
        editPackages_.push_back({name, LastModifiedText(context_.install, name)});
    }
    compiledPackages_ = ListCompiledPackages(context_.install);
    std::vector<std::string> withoutSources;
    for (const auto& entry : editPackages_) {
        if (!unrealpkg::PackageHasSources(context_.install, entry.name)) withoutSources.push_back(entry.name);
    }
    if (offerExport && !withoutSources.empty() && context_.prompter &&
        context_.prompter->Confirm("One or more packages need to be exported before you can continue.  "
                                   "Export them now?",
                                   core::Buttons::YesNo) == core::Answer::Yes) {
        ExportPackagesWithoutSources(withoutSources);
        // Read again; a package whose export failed is not offered again in this round.
        return LoadLists(false);
    }
    if (context_.packageListsLoaded) context_.packageListsLoaded();
    return true;
}

void ClassBrowser::ExportPackagesWithoutSources(const std::vector<std::string>& names) {
    unrealpkg::ExportProgress* progress = context_.exportProgress;
    unrealpkg::PackageExportServices services;
    services.prompter = context_.prompter;
    services.log = context_.log;
    services.pump = context_.pump;
    services.progress = progress;
    unrealpkg::PackageExportOptions options;
    options.quiet = true;
    if (progress) progress->Start();
    for (const std::string& name : names) {
        if (unrealpkg::CompiledPackageFile(context_.install, name).empty()) {
            context_.prompter->Information("WARNING! The package " + name +
                                           " doesn't exist and can't be exported so it has been removed.");
            RemoveEditPackageLine(name);
            continue;
        }
        if (progress) progress->ShowPackage(name);
        try {
            unrealpkg::ExportCompiledPackage(context_.install, name, options, services);
        } catch (const std::exception& e) {
            // One package that cannot be read does not stop the others.
            context_.prompter->Error(e.what());
        }
    }
    if (progress) progress->Finish();
    const std::string done =
        "All .UC files have been exported.  You may however need to export the resources (sound/gfx/models) as well.";
    if (context_.showInfoMessage) {
        context_.showInfoMessage(done);
    } else {
        context_.prompter->Information(done);
    }
}

std::vector<std::string> ClassBrowser::EditPackageNames() const {
    std::vector<std::string> names;
    for (const auto& entry : editPackages_) names.push_back(entry.name);
    return names;
}

int ClassBrowser::IndexOfEditPackage(const std::string& name) const {
    for (std::size_t i = 0; i < editPackages_.size(); ++i) {
        if (core::EqualsIgnoringCase(editPackages_[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

void ClassBrowser::RefreshTreesAfterAdd() {
    objectTree_.Sort();
    actorTree_.Sort();
    objectTree_.CollapseAllExpandFirst();
    actorTree_.CollapseAllExpandFirst();
}

void ClassBrowser::AddEditPackage(const std::string& name) {
    if (IndexOfEditPackage(name) >= 0) return;
    const core::WorkspaceStatusScope status(context_.status);
    InsertEditPackageLine(context_.install.configPath(), name);
    editPackages_.push_back({name, LastModifiedText(context_.install, name)});
    ScanPackageClasses(name);
    PlaceClasses();
    BuildActorTree();
    RefreshTreesAfterAdd();
    SaveClassCaches();
    SavePackageList();
}

void ClassBrowser::RemoveEditPackage(const std::string& name) {
    const int index = IndexOfEditPackage(name);
    if (index < 0) return;
    if (!DeleteEditPackageLine(context_.install.configPath(), name)) return;
    editPackages_.erase(editPackages_.begin() + index);
    SavePackageList();
    for (ClassTree* tree : {&objectTree_, &actorTree_}) {
        std::vector<ClassNode*> doomed;
        tree->Walk([&](ClassNode& node) {
            if (node.entry.package == name) doomed.push_back(&node);
            return true;
        });
        // Only the outermost go: nodes inside a removed subtree go with it. Decided before any
        // node is freed.
        std::vector<ClassNode*> outermost;
        for (ClassNode* node : doomed) {
            bool insideDoomed = false;
            for (ClassNode* up = node->parent; up && !insideDoomed; up = up->parent) {
                insideDoomed = std::find(doomed.begin(), doomed.end(), up) != doomed.end();
            }
            if (!insideDoomed) outermost.push_back(node);
        }
        for (ClassNode* node : outermost) tree->Remove(*node);
    }
}

void ClassBrowser::RemoveEditPackageLine(const std::string& name) {
    if (IndexOfEditPackage(name) >= 0) DeleteEditPackageLine(context_.install.configPath(), name);
}

bool ClassBrowser::MoveEditPackage(std::size_t from, std::size_t before) {
    if (from >= editPackages_.size() || before >= editPackages_.size() || from == before) return false;
    if (!MoveEditPackageLine(context_.install.configPath(), editPackages_[from].name, editPackages_[before].name)) {
        return false;
    }
    EditPackageEntry moved = std::move(editPackages_[from]);
    editPackages_.erase(editPackages_.begin() + static_cast<std::ptrdiff_t>(from));
    if (before > from) --before;
    editPackages_.insert(editPackages_.begin() + static_cast<std::ptrdiff_t>(before), std::move(moved));
    return true;
}

// --- class trees -------------------------------------------------------------------------------

ClassBrowser::StartResult ClassBrowser::InitClassBrowser() {
    if (!LoadEditPackages()) {
        // The game's configuration could not be read (the error is shown): with no package list
        // nothing is compared, rebuilt or written; the caches are shown as they are.
        LoadTreeCaches();
        return StartResult::Loaded;
    }
    std::vector<std::string> stored;
    if (platform::FileExists(CacheFile("Packages.ucd"))) {
        Splash(" Reading Packages.ucd");
        try {
            stored = ReadPackageList(CacheFile("Packages.ucd"));
        } catch (const platform::FileError&) {
        }
    }
    if (PackageListChanged(stored, EditPackageNames())) {
        if (!stored.empty()) {
            const core::Answer answer = context_.prompter->Confirm(
                "Your EditPackages has changed since you last run Torvane.  Rebuild Class Listing?",
                core::Buttons::YesNo);
            if (answer != core::Answer::Yes) {
                context_.prompter->Information("Taking a quick exit");
                return StartResult::Quit;
            }
        }
        platform::DeleteFile(CacheFile("Classes.ucd"));
        platform::DeleteFile(CacheFile("Actors.ucd"));
    }
    StartResult result = StartResult::Loaded;
    if (!LoadTreeCaches()) {  // a missing or damaged cache is built anew
        RebuildClassTrees();
        result = StartResult::Rebuilt;
    }
    SavePackageList();
    return result;
}

bool ClassBrowser::LoadTreeCaches() {
    const bool cachesPresent = platform::FileExists(CacheFile("Classes.ucd")) &&
                               platform::FileExists(CacheFile("Actors.ucd")) &&
                               platform::FileExists(CacheFile("ClassByPackage.ucd"));
    if (!cachesPresent) return false;
    try {
        Splash(" Reading Classes.ucd");
        objectTree_ = LoadTreeCache(CacheFile("Classes.ucd"));
        Splash(" Reading Actors.ucd");
        actorTree_ = LoadTreeCache(CacheFile("Actors.ucd"));
        Splash(" Reading ClassByPackage.ucd");
        byPackageTree_ = LoadTreeCache(CacheFile("ClassByPackage.ucd"));
        return true;
    } catch (const std::exception&) {
        objectTree_.Clear();
        actorTree_.Clear();
        byPackageTree_.Clear();
        return false;
    }
}

bool ClassBrowser::RebuildClassTrees() {
    const core::WorkspaceStatusScope status(context_.status);
    if (!packageListRead_) {
        // Built from no package list, the trees would hold Core alone and overwrite the caches.
        throw platform::FileError("The class trees are not rebuilt: the package list of " +
                                  context_.install.configPath() + " could not be read.");
    }
    objectTree_.Clear();
    actorTree_.Clear();
    bool complete = ScanPackageClasses("Core");
    for (const auto& entry : editPackages_) {
        if (!complete) break;
        if (entry.name != "Core") complete = ScanPackageClasses(entry.name);
    }
    PlaceClasses();
    BuildActorTree();
    BuildByPackageTree();
    objectTree_.CollapseAllExpandFirst();
    actorTree_.CollapseAllExpandFirst();
    objectTree_.Sort();
    actorTree_.Sort();
    if (complete) SaveClassCaches();
    return complete;
}

bool ClassBrowser::ScanPackageClasses(const std::string& package) {
    const std::string directory = platform::ResolveGamePath(context_.install.gameRoot(), "\\" + package + "\\Classes");
    platform::WholeFileReader reader;
    for (const std::string& name : platform::ListFileNames(directory, "*.UC")) {
        Status("Parsing " + package + "." + name);
        Pump();
        const std::string path = directory + "/" + name;
        try {
            if (context_.sourceRead) {
                const std::string_view source = reader.Read(path);
                context_.sourceRead(path, source);
                AddClassEntry(package, path, ParseClassHeaderText(source));
            } else {
                AddClassEntry(package, path);
            }
        } catch (const platform::FileError& e) {
            if (context_.prompter) context_.prompter->Error(e.what());
            return false;
        }
    }
    return true;
}

void ClassBrowser::AddClassEntry(const std::string& package, const std::string& path) {
    AddClassEntry(package, path, ParseClassHeader(path));
}

void ClassBrowser::AddClassEntry(const std::string& package, const std::string& path, const ClassHeader& header) {
    if (header.parentName.empty() && header.className != "Object") {
        if (context_.prompter) context_.prompter->Information("Could not parse " + path);
        return;
    }
    objectTree_.AddTopLevel({header.className, header.className, header.parentName, path, package});
}

namespace {

// The parent of node as the placing rule finds it: the first node, in pre-order over the other
// top-level nodes and their subtrees, whose class name is node's parent name (any case).
ClassNode* SearchParent(std::vector<std::unique_ptr<ClassNode>>& roots, const ClassNode& node) {
    for (auto& top : roots) {
        if (top.get() == &node) continue;
        std::vector<ClassNode*> stack{top.get()};
        while (!stack.empty()) {
            ClassNode* candidate = stack.back();
            stack.pop_back();
            if (core::EqualsIgnoringCase(candidate->entry.className, node.entry.parentName)) {
                return candidate;
            }
            for (auto it = candidate->children.rbegin(); it != candidate->children.rend(); ++it) {
                stack.push_back(it->get());
            }
        }
    }
    return nullptr;
}

bool IsWithin(const ClassNode& candidate, const ClassNode& subtree) {
    for (const ClassNode* up = &candidate; up; up = up->parent) {
        if (up == &subtree) return true;
    }
    return false;
}

}  // namespace

void ClassBrowser::PlaceClasses() {
    auto& roots = objectTree_.roots();
    // The nodes of each class name (upper-cased). A name only one node has needs no search: that
    // node is the parent unless it lies inside the node being placed, which the search skips.
    std::unordered_map<std::string, std::vector<ClassNode*>> byName;
    objectTree_.Walk([&](ClassNode& node) {
        byName[core::UpperCase(node.entry.className)].push_back(&node);
        return true;
    });
    std::vector<ClassNode*> order;
    for (auto& root : roots) order.push_back(root.get());
    for (ClassNode* node : order) {
        if (node->parent) continue;  // moved under another already
        Status("Placing - " + node->entry.caption);
        Pump();
        ClassNode* parent = nullptr;
        const auto named = byName.find(core::UpperCase(node->entry.parentName));
        if (named != byName.end() && named->second.size() == 1) {
            if (!IsWithin(*named->second.front(), *node)) parent = named->second.front();
        } else if (named != byName.end()) {
            parent = SearchParent(roots, *node);
        }
        if (parent) objectTree_.MoveUnder(*node, *parent);
    }
}

void ClassBrowser::BuildActorTree() {
    Status("Building Actor Tree");
    actorTree_.Clear();
    const ClassNode* actor = nullptr;
    objectTree_.Walk([&](const ClassNode& node) {
        if (node.entry.caption == "Actor") {
            actor = &node;
            return false;
        }
        return true;
    });
    if (actor) actorTree_.SetSingleRootCopy(*actor);
}

void ClassBrowser::BuildByPackageTree() {
    byPackageTree_.Clear();
    for (const auto& entry : editPackages_) {
        ClassEntry package;
        package.caption = entry.name;
        byPackageTree_.AddTopLevel(std::move(package));
    }
    Status("Building Class by Package Tree");
    auto& packages = byPackageTree_.roots();
    objectTree_.Walk([&](const ClassNode& node) {
        Pump();
        for (auto& package : packages) {
            if (core::EqualsIgnoringCase(package->entry.caption, node.entry.package)) {
                byPackageTree_.AddChild(*package, node.entry);
                break;
            }
        }
        return true;
    });
    byPackageTree_.Sort();
}

void ClassBrowser::SaveClassCaches() {
    if (context_.cacheDirectory.empty()) return;  // a scan without caches
    SaveTreeCache(objectTree_, CacheFile("Classes.ucd"));
    SaveTreeCache(actorTree_, CacheFile("Actors.ucd"));
    SaveTreeCache(byPackageTree_, CacheFile("ClassByPackage.ucd"));
}

void ClassBrowser::SavePackageList() {
    if (context_.cacheDirectory.empty()) return;
    WritePackageList(CacheFile("Packages.ucd"), EditPackageNames());
}

int ClassBrowser::FindClass(const std::string& name, const std::string* package) const {
    return objectTree_.FindClass(name, package);
}

int ClassBrowser::FindActorClass(const std::string& name) const { return actorTree_.FindClass(name); }

int ClassBrowser::FindInPackageTree(const std::string& text) {
    if (!core::EqualsIgnoringCase(text, lastFindText_)) lastFindHit_ = -1;
    int position = 0;
    int hit = -1;
    byPackageTree_.Walk([&](ClassNode& node) {
        if (node.parent && position > lastFindHit_ &&
            core::FindIgnoringCase(node.entry.caption, text) != std::string::npos) {
            hit = position;
            node.parent->expanded = true;
            return false;
        }
        ++position;
        return true;
    });
    if (hit < 0) return -1;
    lastFindHit_ = hit;
    lastFindText_ = text;
    return hit;
}

}  // namespace torvane::workspace
