#include "workspace/class_commands_controller.h"

#include <QTreeWidget>

#include "core/interaction.h"
#include "core/text.h"
#include "editor/teditor.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "shell/tprefs.h"
#include "workspace/class_operations.h"
#include "workspace/default_properties.h"
#include "workspace/tdefault_props.h"
#include "workspace/tnewclsdlg.h"
#include "workspace/tworkspace.h"

namespace torvane::workspace {

ClassCommandsController::ClassCommandsController(shell::TMain& main, TWorkspace& workspace, shell::TPrefs& prefs,
                                                 TNewClsDlg& newClass, TDefaultProps& properties)
    : QObject(&main), main_(main), workspace_(workspace), prefs_(prefs), newClass_(newClass), properties_(properties) {
    shell::CommandRegistry& c = main_.Commands();
    using namespace shell::cmd;
    c.Connect(kCreateSubClass, this, [this] { CreateSubClass(); });
    c.Connect(kDeleteClass, this, [this] { DeleteClass(); });
    c.Connect(kDefaultProperties, this, [this] { ShowDefaultProperties(); });
    c.Connect(kEditorDefaultProperties, this, [this] { ShowEditorDefaultProperties(); });
    // They read or change the trees, which a rebuild replaces while it lets messages through.
    for (const char* id : {kCreateSubClass, kDeleteClass, kDefaultProperties, kEditorDefaultProperties}) {
        c.SetAvailability(id, [this] { return main_.BusyReason(); });
    }
    connect(workspace_.ClassTree(), &widgets::DropTargetTree::ItemDropped, this, [this](QTreeWidgetItem* target) {
        shell::RunGuarded(main_.Prompter(), [&] { ClassDropped(target); });
    });
    properties_.SetOpener([this](const ClassLine& line) { Open(line); });
}

int ClassCommandsController::RunDialog(QDialog& dialog) { return runDialog_ ? runDialog_(dialog) : dialog.exec(); }

ClassOperationsContext ClassCommandsController::Context() {
    ClassOperationsContext context;
    context.browser = workspace_.Browser();
    context.project = workspace_.Session();
    context.prompter = &main_.Prompter();
    context.showInfo = [this](const std::string& text) { prefs_.ShowInfoMessage(text); };
    context.closeEditor = [this](const std::string& fileName) {
        for (editor::TEditor* editor : main_.Editors()) {
            if (core::EqualsIgnoringCase(editor->Caption(), fileName)) {
                editor->SetCloseWithoutAsking(true);
                editor->close();
                return;
            }
        }
    };
    context.treesChanged = [this] { workspace_.ShowClassTrees(); };
    return context;
}

void ClassCommandsController::CreateSubClass() {
    ClassBrowser* browser = workspace_.Browser();
    if (!browser || main_.Busy().Busy()) return;
    const std::optional<SelectedClass> parent = SelectedClassOf(workspace_.Selection());
    if (!parent) {
        main_.Prompter().Information("You need to select a class before you can create a sub-class!");
        return;
    }
    const project::ProjectSession* session = workspace_.Session();
    const std::string projectPackage = session && session->project().IsOpen() && !session->packages().empty()
                                           ? session->packages().front().name
                                           : std::string();
    newClass_.Prepare(PrepareNewClassForm(*parent, browser->EditPackageNames(), projectPackage));
    newClass_.SetValidator([this](const std::string& className, const std::string& package) {
        const std::string problem = NewClassNameProblem(className, package);
        if (!problem.empty()) main_.Prompter().Information(problem);
        return problem.empty();
    });
    if (RunDialog(newClass_) != QDialog::Accepted) return;
    workspace_.PullTreeStates();
    std::optional<CreatedClass> created;
    {
        const TWorkspace::ShowAgain showAgain(workspace_);
        created = workspace::CreateSubClass(Context(), *parent, newClass_.ClassName(), newClass_.PackageName(),
                                            prefs_.Current().headerTemplate);
    }
    if (!created) return;
    if (created->objectNode) {
        workspace_.ClassTree()->scrollToItem(workspace_.ClassTree()->currentItem());
        workspace_.ClassTreeDblClick(workspace_.ClassTree()->currentItem());  // the new node, selected
    } else {
        main_.OpenSourceFile(created->fileName, newClass_.PackageName(), newClass_.ClassName());
    }
}

void ClassCommandsController::DeleteClass() {
    if (!workspace_.Browser() || main_.Busy().Busy()) return;
    const std::optional<SelectedClass> selected = SelectedClassOf(workspace_.Selection());
    if (!selected) return;
    workspace_.PullTreeStates();
    const TWorkspace::ShowAgain showAgain(workspace_);
    workspace::DeleteClass(Context(), *selected);
}

void ClassCommandsController::ShowDefaultProperties() {
    if (!workspace_.Browser() || main_.Busy().Busy()) return;
    ShowDefaultPropertiesAt(DefaultPropertiesPosition(workspace_.Selection(), workspace_.ProjectOpen(),
                                                      *workspace_.Browser()));
}

void ClassCommandsController::ShowEditorDefaultProperties() {
    editor::TEditor* editor = main_.ActiveEditor();
    if (!editor || !workspace_.Browser() || main_.Busy().Busy()) return;
    const int position = workspace_.FindClass(editor->ClassName(), editor->Package());
    QTreeWidgetItem* item = TWorkspace::ItemAt(workspace_.ClassTree(), position);
    if (!item) return;
    workspace_.ClassTree()->setCurrentItem(item);  // selected, not opened
    ShowDefaultPropertiesAt(position);
}

void ClassCommandsController::ShowDefaultPropertiesAt(int position) {
    const ClassNode* node = workspace_.Browser()->objectTree().NodeAt(position);
    if (!node) return;
    DefaultProperties properties;
    LoadClassChain(properties, ClassChain(*node));
    properties_.ShowProperties(properties, node->entry.className, prefs_.Current().autoExpand);
}

void ClassCommandsController::Open(const ClassLine& line) {
    ClassBrowser* browser = workspace_.Browser();
    if (!browser) return;
    int position = browser->FindClass(line.className, &line.package);
    if (position < 0) position = browser->FindClass(line.className);
    if (position < 0) return;
    workspace_.OpenClass(position);
    if (editor::TEditor* editor = main_.ActiveEditor()) editor->QuickGotoLine(line.line, true);
}

void ClassCommandsController::ClassDropped(QTreeWidgetItem* target) {
    const ClassNode* dragged = TWorkspace::NodeOf(workspace_.ClassTree()->currentItem());
    if (!dragged) return;
    AskReparent(main_.Prompter(), *dragged, TWorkspace::NodeOf(target));
}

}  // namespace torvane::workspace
