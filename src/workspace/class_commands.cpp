#include "workspace/class_commands.h"

#include "core/stream_interaction.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "workspace/class_browser.h"
#include "workspace/default_properties.h"

namespace torvane::workspace {
namespace {

void PrintTree(const ClassTree& tree, std::ostream& out) {
    std::vector<std::pair<const ClassNode*, int>> stack;
    for (auto it = tree.roots().rbegin(); it != tree.roots().rend(); ++it) stack.emplace_back(it->get(), 0);
    while (!stack.empty()) {
        auto [node, depth] = stack.back();
        stack.pop_back();
        out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << node->entry.caption << "\n";
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
            stack.emplace_back(it->get(), depth + 1);
        }
    }
}

}  // namespace

int RunClassScan(const std::string& gameRoot, const std::string& cacheDirectory,
                 const std::string& print, std::ostream& out, std::ostream& err) {
    core::StreamPrompter prompter(err, core::Answer::No);  // a rebuild asks nothing
    std::string error;
    if (!cacheDirectory.empty() && !platform::CreateDirectories(cacheDirectory, &error)) {
        throw platform::FileError("Cannot create directory \"" + cacheDirectory + "\". " + error);
    }
    ClassBrowserContext context;
    context.install = platform::GameInstall::Detect(gameRoot);
    context.cacheDirectory = cacheDirectory;
    context.prompter = &prompter;
    ClassBrowser browser(context);
    if (!browser.LoadEditPackages()) return 1;
    const bool complete = browser.RebuildClassTrees();  // writes the tree caches; throws when it cannot
    if (!cacheDirectory.empty() && complete) browser.SavePackageList();
    if (print == "object") PrintTree(browser.objectTree(), out);
    if (print == "actor") PrintTree(browser.actorTree(), out);
    if (print == "package") PrintTree(browser.byPackageTree(), out);
    out << "classes: " << browser.objectTree().Count()
        << ", top-level: " << browser.objectTree().roots().size()
        << ", actors: " << browser.actorTree().Count() << "\n";
    return complete && prompter.errors() == 0 ? 0 : 1;
}

int RunDefaults(const std::string& gameRoot, const std::string& className, const std::string& package,
                std::ostream& out, std::ostream& err) {
    core::StreamPrompter prompter(err, core::Answer::No);
    ClassBrowserContext context;
    context.install = platform::GameInstall::Detect(gameRoot);
    context.prompter = &prompter;
    ClassBrowser browser(context);
    if (!browser.LoadEditPackages() || !browser.RebuildClassTrees()) return 1;
    const int position = browser.FindClass(className, package.empty() ? nullptr : &package);
    const ClassNode* node = browser.objectTree().NodeAt(position);
    if (!node) {
        err << "torvane-cli: no class " << (package.empty() ? "" : package + ".") << className
            << " in the class trees\n";
        return 1;
    }
    DefaultProperties properties;
    LoadClassChain(properties, ClassChain(*node));
    for (const DefaultProperties::Row& row : properties.Rows()) out << FormatDefaultPropertyRow(row) << "\n";
    return 0;
}

}  // namespace torvane::workspace
