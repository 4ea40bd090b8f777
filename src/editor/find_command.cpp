#include "editor/find_command.h"

#include <unordered_map>

#include "core/stream_interaction.h"
#include "editor/find_in_files.h"
#include "editor/ti_search.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "project/project.h"
#include "project/project_session.h"
#include "workspace/class_browser.h"

namespace torvane::editor {
namespace {

bool NeedsClassTrees(SearchLocation location) {
    return location != SearchLocation::ProjectClasses && location != SearchLocation::ExportedClasses;
}

}  // namespace

int RunFindCommand(const FindCommandOptions& options, std::ostream& out, std::ostream& err) {
    const auto location = LocationOfName(options.location);
    if (!location) {
        err << "torvane-cli: unknown location \"" << options.location << "\"\n";
        return 2;
    }
    if (options.text.empty()) return 1;
    core::StreamPrompter prompter(err, core::Answer::No);
    TTISearch search;
    search.SetPattern(options.text);

    // The trees are built from the sources, and each source is searched while it is read for
    // its class header: every file is read once.
    std::unordered_map<std::string, std::vector<std::string>> linesOfFile;
    workspace::ClassBrowserContext context;
    context.install = platform::GameInstall::Detect(options.gameRoot);
    context.prompter = &prompter;
    context.sourceRead = [&](const std::string& path, std::string_view source) {
        auto& lines = linesOfFile[path];
        ListHitLines(search, path, source, [&lines](std::string line) { lines.push_back(std::move(line)); });
    };
    workspace::ClassBrowser browser(context);
    if (!browser.LoadEditPackages()) return 2;
    if (NeedsClassTrees(*location)) browser.RebuildClassTrees();  // no cache directory: nothing is written

    SearchScope scope;
    scope.gameRoot = options.gameRoot;
    scope.objectTree = &browser.objectTree();
    scope.actorTree = &browser.actorTree();
    scope.compiledPackages = &browser.compiledPackages();
    std::vector<project::PackageNode> packages;
    if (!options.projectFile.empty()) {
        project::Project project;
        project::ReadProjectFile(options.projectFile, options.gameRoot, project);
        for (const std::string& name : project.packages) {
            packages.push_back({name, project::FillPackageNode(options.gameRoot, name)});
        }
        scope.projectPackages = &packages;
    }
    if (!options.branchClass.empty()) {
        scope.objectPageShown = true;
        scope.objectSelection = browser.objectTree().NodeAt(browser.FindClass(options.branchClass));
    }
    const LocationFiles files = FilesOfLocation(*location, scope);
    if (!files.message.empty()) {
        err << files.message << "\n";
        return 1;
    }

    // In the location's order, as the output log lists them.
    int listed = 0;
    const auto print = [&out, &listed](std::string line) {
        out << line << '\n';
        ++listed;
    };
    platform::WholeFileReader reader;
    for (const std::string& path : files.files) {
        if (const auto found = linesOfFile.find(path); found != linesOfFile.end()) {
            for (std::string& line : found->second) print(std::move(line));
            continue;
        }
        try {
            ListHitLines(search, path, reader.Read(path), print);
        } catch (const std::exception&) {
            prompter.Error("Exception while scanning " + path);
        }
    }
    out.flush();
    return listed > 0 && prompter.errors() == 0 ? 0 : 1;
}

}  // namespace torvane::editor
