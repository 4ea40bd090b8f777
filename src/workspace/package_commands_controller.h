#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QTreeWidget;
class QTreeWidgetItem;

namespace torvane::shell {
class TMain;
}

namespace torvane::workspace {

class TAddPackage;
class TCreatePackage;
class TPackageFlags;
class TWorkspace;
struct PackageOperationsContext;

// The package commands as the windows offer them: "New Package" (File menu, project tree, System
// page), "Import Package from Dir...", "Remove Packages", "Install Package(s)", "Package Flags..."
// and the reordering of the EditPackages list by a drop on another entry.
class PackageCommandsController final : public QObject {
    Q_OBJECT

public:
    PackageCommandsController(shell::TMain& main, TWorkspace& workspace, TCreatePackage& createPackage,
                              TAddPackage& addPackage, TPackageFlags& packageFlags);

    void NewPackage();
    void ImportPackages();
    void RemovePackages1Click();
    void InstallPackages1Click();
    void PackageFlags1Click();
    // A drop of the selected EditPackages entry on target (nullptr: below the last entry).
    void EditPackagesDragDrop(QTreeWidgetItem* target);

    // Runs a modal dialog (tests answer for the user).
    void SetDialogRunner(std::function<int(QDialog&)> runner) { runDialog_ = std::move(runner); }

private:
    PackageOperationsContext Context();
    int RunDialog(QDialog& dialog);
    bool CanChange() const;
    // The selected entries of a list, in list order.
    static std::vector<std::string> SelectedNames(const QTreeWidget* list);
    static std::optional<int> FirstSelectedRow(const QTreeWidget* list);
    // A new package's node in the project tree is shown collapsed (the tree shows the others open).
    void CollapseProjectPackage(const std::string& name);

    shell::TMain& main_;
    TWorkspace& workspace_;
    TCreatePackage& createPackage_;
    TAddPackage& addPackage_;
    TPackageFlags& packageFlags_;
    std::function<int(QDialog&)> runDialog_;
};

}  // namespace torvane::workspace
