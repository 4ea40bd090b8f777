#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace torvane::core {
class Prompter;
}
namespace torvane::project {
class ProjectSession;
}

// The class commands of the workspace: a new sub-class from the header template, deleting a
// class, the question of a re-parenting drop, and which class a command works on.
namespace torvane::workspace {

class ClassBrowser;
class ClassTree;
struct ClassNode;

// The workspace's pages, in tab order.
enum class WorkspacePage { Project, Object, Actor, Package, System };

// What the pages have selected: the project tree's node by its caption and its parent's and
// grandparent's captions, and the nodes of the object and actor trees.
struct ProjectTreeSelection {
    std::string caption;
    std::string parent;
    std::string grandparent;
};
struct ClassSelection {
    WorkspacePage page = WorkspacePage::Object;
    std::optional<ProjectTreeSelection> project;
    const ClassNode* objectNode = nullptr;
    const ClassNode* actorNode = nullptr;
};

struct SelectedClass {
    std::string className;
    std::string package;
};

// The class of "Create a Subclass..." and "Delete Class": on "Project" a class file below a
// "Classes" node (its caption without ".uc", the package node's caption), on "Object" and
// "Actor" the selected node; none elsewhere.
std::optional<SelectedClass> SelectedClassOf(const ClassSelection& selection);

// The class of "Default Properties" as a position in the object tree, or -1: on "Actor" the
// actor tree's class found by name and package; on "Project" (with a project open) a class file
// below "Classes", else the object tree's selection; on every other page the object tree's
// selection.
int DefaultPropertiesPosition(const ClassSelection& selection, bool projectOpen, const ClassBrowser& browser);

// The first node captioned name whose package equals package, both without regard to case.
ClassNode* FindClassInPackage(ClassTree& tree, const std::string& name, const std::string& package);

// --- a new sub-class ---

// What the new-class dialog shows.
struct NewClassForm {
    std::string caption;      // "Create Sub-Class of " + parent
    std::string parentField;  // package + "." + parent
    std::vector<std::string> packages;  // the EditPackages entries, each name once
    int selected = -1;        // the pre-selected package, -1 for none
};
// projectPackage: the open project's first package, "" without one.
NewClassForm PrepareNewClassForm(const SelectedClass& parent, const std::vector<std::string>& editPackages,
                                 const std::string& projectPackage);

// A name of a class or package: letters, digits and underscores, not beginning with a digit.
bool IsUnrealName(const std::string& name);

// Why the dialog's names cannot make a class ("" when they can): names must be identifiers, so
// that no path outside the package's Classes directory can be named.
std::string NewClassNameProblem(const std::string& className, const std::string& package);

// The first "<@CLASS>", then the first "<@PARENT>", then the first "<@PACK>" replaced.
std::string ExpandTemplateLine(std::string line, const std::string& className, const std::string& parentField,
                               const std::string& package);

// The new source, lines ended by CR LF: the header (the template's lines expanded, or three
// default lines without a template), the class line, the empty defaults block.
std::string NewClassSource(const std::vector<std::string>& templateLines, const std::string& className,
                           const std::string& parentClass, const std::string& parentField,
                           const std::string& package);

struct ClassOperationsContext {
    ClassBrowser* browser = nullptr;
    project::ProjectSession* project = nullptr;  // nullptr or closed: no project
    core::Prompter* prompter = nullptr;
    // "Class deleted!" and the like (the preference may silence them); nullptr: prompter.
    std::function<void(const std::string&)> showInfo;
    // Closes the first editor whose caption is the file (any case) without its save question.
    std::function<void(const std::string& fileName)> closeEditor;
    // Called when nodes of the object or actor tree have been removed, before anything is shown.
    std::function<void()> treesChanged;
};

struct CreatedClass {
    std::string fileName;
    ClassNode* objectNode = nullptr;  // the new node of the object tree, selected; nullptr when
                                      // the parent is not in the object tree
};

// Creates className below parent in package: the package first when it is new (after asking),
// then the file, the project's node, and the nodes of the object and actor trees. nullopt when a
// refusal or an answer ended it. Throws platform::FileError when a file cannot be written.
std::optional<CreatedClass> CreateSubClass(const ClassOperationsContext& context, const SelectedClass& parent,
                                           const std::string& className, std::string package,
                                           const std::vector<std::string>& templateLines);

// Deletes the selected class after its refusals and the question: the "~" backup (without a
// project or with BackupSrc), its editor, the file, its nodes. False when nothing was deleted.
bool DeleteClass(const ClassOperationsContext& context, const SelectedClass& selected);

// A class of the object tree dropped on another: the refusal for the game's classes, or the
// question. Neither answer changes anything.
void AskReparent(core::Prompter& prompter, const ClassNode& dragged, const ClassNode* target);

}  // namespace torvane::workspace
