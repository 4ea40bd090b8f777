#include "workspace/class_operations.h"

#include "core/interaction.h"
#include "core/text.h"
#include "editor/editor_rules.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "project/project_session.h"
#include "workspace/class_browser.h"

namespace torvane::workspace {
namespace {

// A class file of the project tree: "Foo.uc" below "Classes" below its package.
std::optional<SelectedClass> ProjectClass(const std::optional<ProjectTreeSelection>& project) {
    if (!project || project->parent != "Classes") return std::nullopt;
    const std::string& caption = project->caption;
    return SelectedClass{caption.substr(0, caption.size() >= 3 ? caption.size() - 3 : 0), project->grandparent};
}

std::optional<SelectedClass> NodeClass(const ClassNode* node) {
    if (!node) return std::nullopt;
    return SelectedClass{node->entry.caption, node->entry.package};
}

void ReplaceFirst(std::string& line, std::string_view placeholder, const std::string& value) {
    const std::size_t at = line.find(placeholder);
    if (at != std::string::npos) line.replace(at, placeholder.size(), value);
}

void ShowInfo(const ClassOperationsContext& context, const std::string& text) {
    if (context.showInfo) {
        context.showInfo(text);
    } else {
        context.prompter->Information(text);
    }
}

bool ProjectOpen(const ClassOperationsContext& context) {
    return context.project && context.project->project().IsOpen();
}

// The package's directory and its Classes directory, created when missing.
bool CreatePackageDirectories(const std::string& gameRoot, const std::string& package) {
    for (const std::string& relative : {"\\" + package, "\\" + package + "\\Classes"}) {
        const std::string path = platform::ResolveGamePath(gameRoot, relative);
        if (!platform::DirectoryExists(path) && !platform::CreateDirectories(path)) return false;
    }
    return true;
}

// Appends a child to parent, kept in the tree's alphabetical order, and selects it alone. A
// selected node is shown: its ancestors are expanded, also after adding a new package has
// collapsed the trees.
ClassNode& AddSelectedChild(ClassTree& tree, ClassNode& parent, const ClassEntry& entry) {
    tree.Walk([](ClassNode& node) {
        node.selected = false;
        return true;
    });
    ClassNode& child = tree.AddChild(parent, entry);
    child.selected = true;
    for (ClassNode* up = &parent; up; up = up->parent) up->expanded = true;
    tree.SortChildren(parent);
    return child;
}

}  // namespace

bool IsUnrealName(const std::string& name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    for (char c : name) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_') return false;
    }
    return true;
}

std::optional<SelectedClass> SelectedClassOf(const ClassSelection& selection) {
    switch (selection.page) {
        case WorkspacePage::Project: return ProjectClass(selection.project);
        case WorkspacePage::Object: return NodeClass(selection.objectNode);
        case WorkspacePage::Actor: return NodeClass(selection.actorNode);
        default: return std::nullopt;
    }
}

int DefaultPropertiesPosition(const ClassSelection& selection, bool projectOpen, const ClassBrowser& browser) {
    std::optional<SelectedClass> chosen;
    if (selection.page == WorkspacePage::Actor) {
        chosen = NodeClass(selection.actorNode);
    } else if (selection.page == WorkspacePage::Project && projectOpen) {
        chosen = ProjectClass(selection.project);
    }
    if (chosen) return browser.FindClass(chosen->className, &chosen->package);
    if (selection.page == WorkspacePage::Actor || !selection.objectNode) return -1;
    return browser.objectTree().PositionOf(*selection.objectNode);
}

ClassNode* FindClassInPackage(ClassTree& tree, const std::string& name, const std::string& package) {
    ClassNode* found = nullptr;
    tree.Walk([&](ClassNode& node) {
        if (core::EqualsIgnoringCase(node.entry.caption, name) && core::EqualsIgnoringCase(node.entry.package, package)) {
            found = &node;
            return false;
        }
        return true;
    });
    return found;
}

NewClassForm PrepareNewClassForm(const SelectedClass& parent, const std::vector<std::string>& editPackages,
                                 const std::string& projectPackage) {
    NewClassForm form;
    form.caption = "Create Sub-Class of " + parent.className;
    form.parentField = parent.package + "." + parent.className;
    for (const std::string& name : editPackages) {
        if (!core::ContainsIgnoringCase(form.packages, name)) form.packages.push_back(name);
    }
    auto indexOf = [&](const std::string& name) {
        for (std::size_t i = 0; i < form.packages.size(); ++i) {
            if (core::EqualsIgnoringCase(form.packages[i], name)) return static_cast<int>(i);
        }
        return -1;
    };
    if (!projectPackage.empty()) form.selected = indexOf(projectPackage);
    if (form.selected < 0) form.selected = indexOf(parent.package);
    return form;
}

std::string NewClassNameProblem(const std::string& className, const std::string& package) {
    if (className.empty()) return "You need to name the new class.";
    if (!IsUnrealName(className)) {
        return "\"" + className + "\" is not a valid class name: use letters, digits and underscores.";
    }
    if (package.empty()) return "You need to choose a package for the new class.";
    if (!IsUnrealName(package)) {
        return "\"" + package + "\" is not a valid package name: use letters, digits and underscores.";
    }
    return {};
}

std::string ExpandTemplateLine(std::string line, const std::string& className, const std::string& parentField,
                               const std::string& package) {
    ReplaceFirst(line, "<@CLASS>", className);
    ReplaceFirst(line, "<@PARENT>", parentField);
    ReplaceFirst(line, "<@PACK>", package);
    return line;
}

std::string NewClassSource(const std::vector<std::string>& templateLines, const std::string& className,
                           const std::string& parentClass, const std::string& parentField,
                           const std::string& package) {
    std::vector<std::string> lines;
    if (templateLines.empty()) {
        const std::string rule = "//" + std::string(76, '=');
        lines = {rule, "// " + className + " - Created by Torvane", rule};
    } else {
        for (const std::string& line : templateLines) {
            lines.push_back(ExpandTemplateLine(line, className, parentField, package));
        }
    }
    for (const std::string& line : {std::string(), "class " + className + " extends " + parentClass + ";",
                                   std::string(), std::string(), std::string(), std::string(),
                                   std::string("defaultproperties"), std::string("{"), std::string(),
                                   std::string("}")}) {
        lines.push_back(line);
    }
    return core::JoinLinesCrLf(lines);
}

std::optional<CreatedClass> CreateSubClass(const ClassOperationsContext& context, const SelectedClass& parent,
                                           const std::string& className, std::string package,
                                           const std::vector<std::string>& templateLines) {
    ClassBrowser& browser = *context.browser;
    core::Prompter& prompter = *context.prompter;
    const std::string& gameRoot = browser.context().install.gameRoot();
    if (browser.IndexOfEditPackage(package) < 0) {
        if (prompter.Confirm("The package you have chosen doesn't exist!  Create it now?", core::Buttons::YesNo) !=
            core::Answer::Yes) {
            return std::nullopt;
        }
        if (!CreatePackageDirectories(gameRoot, package)) {
            prompter.Information("The package could not be created.");
            return std::nullopt;
        }
        browser.AddEditPackage(package);
    }
    const int entry = browser.IndexOfEditPackage(package);
    if (entry < 0) {
        prompter.Information("Internal Error: No PKR for new Class/Package");
        return std::nullopt;
    }
    package = browser.editPackages()[static_cast<std::size_t>(entry)].name;  // as the list spells it

    const std::string fileName =
        platform::ResolveGamePath(gameRoot, "\\" + package + "\\Classes\\" + className + ".uc");
    if (platform::FileExists(fileName)) {
        prompter.Information("There already is a class called " + className + " in the package " + package);
        return std::nullopt;
    }
    const std::string parentField = parent.package + "." + parent.className;
    platform::WriteFileAtomic(fileName, NewClassSource(templateLines, className, parent.className, parentField, package));

    if (ProjectOpen(context)) {
        if (context.project->AddClassFile(package, className + ".uc")) {
            context.project->project().modified = true;
        } else {
            prompter.Information("You have created a new class in the package " + package +
                                 " but that package is not a part of this project.  You should now add the "
                                 "package to this project.");
        }
    }

    CreatedClass created;
    created.fileName = fileName;
    const ClassEntry newEntry{className, className, parent.className, fileName, package};
    bool changed = false;
    if (ClassNode* objectParent = browser.objectTree().NodeAt(browser.FindClass(parent.className))) {
        created.objectNode = &AddSelectedChild(browser.objectTree(), *objectParent, newEntry);
        changed = true;
    }
    if (ClassNode* actorParent = browser.actorTree().NodeAt(browser.FindActorClass(parent.className))) {
        AddSelectedChild(browser.actorTree(), *actorParent, newEntry);
        changed = true;
    }
    if (changed) browser.SaveClassCaches();
    return created;
}

bool DeleteClass(const ClassOperationsContext& context, const SelectedClass& selected) {
    ClassBrowser& browser = *context.browser;
    core::Prompter& prompter = *context.prompter;
    // The selected class itself, not the first of its name in another package.
    ClassNode* node = FindClassInPackage(browser.objectTree(), selected.className, selected.package);
    if (!node) return false;
    const ClassEntry entry = node->entry;
    if (editor::IsProtectedPackage(entry.package)) {
        prompter.Information("You can not delete native Epic classes");
        return false;
    }
    if (!node->children.empty()) {
        prompter.Information("You can not delete a class that has children!");
        return false;
    }
    if (prompter.Confirm("Delete " + entry.package + "." + entry.className + "?  Are you sure?",
                         core::Buttons::YesNo) != core::Answer::Yes) {
        return false;
    }
    if (!ProjectOpen(context) || context.project->project().backupSrc) {
        const std::string backup = entry.fileName.substr(0, entry.fileName.size() - 3) + ".~uc";
        std::string error;
        if (!platform::CopyFileOverwrite(entry.fileName, backup, &error)) {
            throw platform::FileError("Cannot write the backup \"" + backup + "\", so the class was not deleted. " +
                                      error);
        }
    }
    if (context.closeEditor) context.closeEditor(entry.fileName);
    std::string error;
    if (!platform::DeleteFile(entry.fileName, &error)) {
        throw platform::FileError("Cannot delete \"" + entry.fileName + "\". " + error);
    }
    if (ClassNode* actor = FindClassInPackage(browser.actorTree(), entry.caption, entry.package)) {
        browser.actorTree().Remove(*actor);
    }
    if (ProjectOpen(context) && context.project->RemoveLastFile(platform::FileNamePart(entry.fileName))) {
        context.project->project().modified = true;
    }
    browser.objectTree().Remove(*node);
    if (context.treesChanged) context.treesChanged();
    browser.SaveClassCaches();
    ShowInfo(context, "Class deleted!");
    return true;
}

void AskReparent(core::Prompter& prompter, const ClassNode& dragged, const ClassNode* target) {
    if (editor::IsProtectedPackage(dragged.entry.package)) {
        prompter.Information("You can not change the parent of an Epic Class");
        return;
    }
    if (!target || target == &dragged) return;
    // Whatever the answer, nothing changes: the trees and the sources stay as they are.
    prompter.Confirm("Make \"" + target->entry.className + "\" " + dragged.entry.className +
                         "'s Parent? (This may screw up stuff)",
                     core::Buttons::YesNo);
}

}  // namespace torvane::workspace
