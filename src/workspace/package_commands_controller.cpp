#include "workspace/package_commands_controller.h"

#include <QTreeWidget>

#include "core/interaction.h"
#include "shell/command_boundary.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "widgets/text_codec.h"
#include "workspace/package_operations.h"
#include "workspace/tadd_package.h"
#include "workspace/tcreate_package.h"
#include "workspace/tpackage_flags.h"
#include "workspace/tworkspace.h"

namespace torvane::workspace {

using widgets::FromQString;

PackageCommandsController::PackageCommandsController(shell::TMain& main, TWorkspace& workspace,
                                                     TCreatePackage& createPackage, TAddPackage& addPackage,
                                                     TPackageFlags& packageFlags)
    : QObject(&main),
      main_(main),
      workspace_(workspace),
      createPackage_(createPackage),
      addPackage_(addPackage),
      packageFlags_(packageFlags) {
    shell::CommandRegistry& c = main_.Commands();
    using namespace shell::cmd;
    c.Connect(kNewPackage, this, [this] { NewPackage(); });
    c.Connect(kImportPackageFromDir, this, [this] { ImportPackages(); });
    c.Connect(kRemovePackages, this, [this] { RemovePackages1Click(); });
    c.Connect(kInstallPackages, this, [this] { InstallPackages1Click(); });
    c.Connect(kPackageFlags, this, [this] { PackageFlags1Click(); });
    // They change the game's list and the trees, which a compile or rebuild uses while it lets
    // messages through.
    for (const char* id : {kNewPackage, kImportPackageFromDir}) {
        c.SetAvailability(id, [this] { return main_.BusyReason(); });
    }
    const auto needsSelection = [this](QTreeWidget* list, QString reason) {
        return [this, list, reason] {
            const QString busy = main_.BusyReason();
            if (!busy.isEmpty()) return busy;
            return list->selectedItems().isEmpty() ? reason : QString();
        };
    };
    c.SetAvailability(kRemovePackages,
                      needsSelection(workspace_.EditPackages(), QStringLiteral("Select the package to remove.")));
    c.SetAvailability(kInstallPackages, needsSelection(workspace_.AvailablePackages(),
                                                       QStringLiteral("Select the compiled packages to install.")));
    c.SetAvailability(kPackageFlags, needsSelection(workspace_.AvailablePackages(),
                                                    QStringLiteral("Select the compiled package whose flags to set.")));
    connect(workspace_.EditPackages(), &QTreeWidget::itemSelectionChanged, this, [this] { main_.Commands().Refresh(); });
    connect(workspace_.EditPackages(), &widgets::DropTargetTree::ItemDropped, this, [this](QTreeWidgetItem* target) {
        shell::RunGuarded(main_.Prompter(), [&] { EditPackagesDragDrop(target); });
    });
    createPackage_.SetCreator([this](const NewPackageRequest& request) {
        bool created = false;
        shell::RunGuarded(main_.Prompter(), [&] {
            workspace_.PullTreeStates();
            const TWorkspace::ShowAgain showAgain(workspace_);
            created = CreatePackage(Context(), request);
        });
        if (created) CollapseProjectPackage(request.name);
        return created;
    });
}

int PackageCommandsController::RunDialog(QDialog& dialog) { return runDialog_ ? runDialog_(dialog) : dialog.exec(); }

bool PackageCommandsController::CanChange() const { return workspace_.Browser() && !main_.Busy().Busy(); }

PackageOperationsContext PackageCommandsController::Context() {
    PackageOperationsContext context;
    context.browser = workspace_.Browser();
    context.project = workspace_.Session();
    context.prompter = &main_.Prompter();
    context.status = workspace_.StatusSink();
    context.treesChanged = [this] { workspace_.ShowClassTrees(); };
    return context;
}

std::vector<std::string> PackageCommandsController::SelectedNames(const QTreeWidget* list) {
    std::vector<std::string> names;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (list->topLevelItem(row)->isSelected()) names.push_back(FromQString(list->topLevelItem(row)->text(0)));
    }
    return names;
}

std::optional<int> PackageCommandsController::FirstSelectedRow(const QTreeWidget* list) {
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (list->topLevelItem(row)->isSelected()) return row;
    }
    return std::nullopt;
}

void PackageCommandsController::NewPackage() {
    if (!CanChange()) return;
    createPackage_.Prepare();
    RunDialog(createPackage_);  // Ok creates the package (SetCreator) and closes unless refused
}

void PackageCommandsController::CollapseProjectPackage(const std::string& name) {
    QTreeWidgetItem* root = workspace_.ProjectTree()->topLevelItem(0);
    if (!root) return;
    for (int i = root->childCount(); i-- > 0;) {
        if (root->child(i)->text(0) == widgets::ToQString(name)) {
            root->child(i)->setExpanded(false);
            return;
        }
    }
}

void PackageCommandsController::ImportPackages() {
    if (!CanChange()) return;
    addPackage_.Prepare(ImportablePackages(*workspace_.Browser()));
    if (RunDialog(addPackage_) != QDialog::Accepted) return;
    {
        workspace_.PullTreeStates();
        const TWorkspace::ShowAgain showAgain(workspace_);
        workspace::ImportPackages(Context(), addPackage_.CheckedNames());
    }
    workspace_.RebuildClassTrees();
}

void PackageCommandsController::RemovePackages1Click() {
    if (!CanChange()) return;
    const std::vector<std::string> selected = SelectedNames(workspace_.EditPackages());
    if (selected.empty()) return;
    {
        workspace_.PullTreeStates();
        const TWorkspace::ShowAgain showAgain(workspace_);
        RemovePackage(Context(), selected.front());
    }
    // After a refusal the entry stays selected, to be removed once what relies on it is gone.
    const auto kept = workspace_.EditPackages()->findItems(widgets::ToQString(selected.front()), Qt::MatchExactly);
    if (!kept.isEmpty()) workspace_.EditPackages()->setCurrentItem(kept.first());
}

void PackageCommandsController::InstallPackages1Click() {
    if (!CanChange()) return;
    const std::vector<std::string> selected = SelectedNames(workspace_.AvailablePackages());
    if (selected.empty()) return;
    workspace_.PullTreeStates();
    const TWorkspace::ShowAgain showAgain(workspace_);
    InstallPackages(*workspace_.Browser(), selected);
}

void PackageCommandsController::EditPackagesDragDrop(QTreeWidgetItem* target) {
    if (!CanChange()) return;
    const std::optional<int> dragged = FirstSelectedRow(workspace_.EditPackages());
    if (!dragged) return;
    std::optional<std::size_t> targetRow;
    if (target) targetRow = static_cast<std::size_t>(workspace_.EditPackages()->indexOfTopLevelItem(target));
    if (MoveEditPackage(Context(), static_cast<std::size_t>(*dragged), targetRow)) {
        workspace_.ShowPackageLists();
        workspace_.EditPackages()->setCurrentItem(workspace_.EditPackages()->topLevelItem(static_cast<int>(
            *targetRow > static_cast<std::size_t>(*dragged) ? *targetRow - 1 : *targetRow)));
    }
}

void PackageCommandsController::PackageFlags1Click() {
    if (!CanChange()) return;
    const std::vector<std::string> selected = SelectedNames(workspace_.AvailablePackages());
    if (selected.empty()) return;
    const std::string& package = selected.front();
    const platform::GameInstall& install = workspace_.Browser()->context().install;
    packageFlags_.Prepare(package, ReadPackageFlags(install, package));
    if (RunDialog(packageFlags_) != QDialog::Accepted) return;
    {
        // The tool's lines reach the log while it runs; nothing else may start meanwhile.
        const shell::BusyState::Scope busy(main_.Busy());
        SetPackageFlags(install, package, packageFlags_.Flags(), main_.Log(), main_.Prompter());
    }
    // The tool wrote the package anew: the lists show its new time, the package still selected.
    workspace_.Browser()->LoadEditPackages();
    const auto kept = workspace_.AvailablePackages()->findItems(widgets::ToQString(package), Qt::MatchExactly);
    if (!kept.isEmpty()) workspace_.AvailablePackages()->setCurrentItem(kept.first());
}

}  // namespace torvane::workspace
