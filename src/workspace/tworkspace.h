#pragma once

#include <QAction>
#include <QDockWidget>
#include <QPointer>
#include <memory>

#include <functional>

#include "editor/find_in_files.h"
#include "project/project_session.h"
#include "shell/workspace_services.h"
#include "workspace/class_browser.h"
#include "workspace/class_operations.h"
#include "widgets/drop_target_tree.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QDialog;

namespace torvane::project {
class TNewProj;
class TProjAdd;
}

namespace torvane::core {
class StatusSink;
}
namespace torvane::shell {
class QtEventPump;
class TLoading;
class TMain;
}

namespace torvane::workspace {

class TExportOptions;
class TExportPackage;

// The workspace: project, object, actor, package and system pages over a status line. It can
// float or dock at the main window's side.
class TWorkspace final : public QDockWidget, public shell::WorkspaceServices {
    Q_OBJECT

public:
    TWorkspace(shell::TMain& main, shell::TLoading* loading);
    ~TWorkspace() override;

    // Shows the trees, the package lists and the project again when it ends: the way out of every
    // change to the model, also by an error.
    class ShowAgain final {
    public:
        explicit ShowAgain(TWorkspace& workspace) : workspace_(workspace) {}
        ~ShowAgain() {
            workspace_.ShowClassTrees();
            workspace_.ShowPackageLists();
            workspace_.ShowProject();
        }
        ShowAgain(const ShowAgain&) = delete;
        ShowAgain& operator=(const ShowAgain&) = delete;

    private:
        TWorkspace& workspace_;
    };

    // WorkspaceServices
    bool InitClassBrowser(const platform::GameInstall& install) override;
    int FindClass(const std::string& className, const std::string& package) override;
    void OpenClass(int position) override;
    // Opens the object tree's class whose source is path, as a double-click does; false when no
    // class has that file.
    bool OpenClassFile(const std::string& path);
    void SaveWorkspaceLayout() override;
    void LoadWorkspaceLayout() override;
    void ActivatePages() override;
    void SetTabPosition(int position) override;
    bool ProjectOpen() const override;
    bool ProjectModified() const override;
    void SaveProject() override;
    void LoadProject(const std::string& path) override;
    void MarkProjectModified() override;

    // The export of compiled packages: its options dialog and progress window.
    void AttachExportWindows(TExportOptions* options, TExportPackage* progress);
    // "Export Package" on the selected compiled packages.
    void ExportPackage1Click();

    // Project commands.
    void AttachProjectDialogs(project::TNewProj* newProj, project::TProjAdd* projAdd);
    void NewProject();
    void CloseProject();
    void EditProjectSettings();
    void ImportPackagesIntoProject();
    void RemovePackageFromProject();
    void ProjectTreeDblClick(QTreeWidgetItem* item);
    // Lists a file under a group ("Textures", "Sounds") of a package node, creating the group node
    // when missing; nothing when the package is not in the project (image and sound import).
    void AddProjectFile(const std::string& package, const std::string& group, const std::string& file);
    // Shows an image file of the project tree (path, node caption).
    void SetImageViewer(std::function<void(const std::string&, const std::string&)> view) {
        imageViewer_ = std::move(view);
    }
    project::ProjectSession* Session() const { return session_.get(); }
    QTreeWidget* ProjectTree() const { return projectTree_; }
    QLabel* ProjName() const { return projName_; }
    // Runs a modal dialog (tests answer for the user).
    void SetDialogRunner(std::function<int(QDialog&)> runner) { runDialog_ = std::move(runner); }

    void RebuildClassTrees();
    ClassBrowser* Browser() const { return browser_.get(); }
    QTabWidget* Pages() const { return pages_; }
    widgets::DropTargetTree* ClassTree() const { return classTree_; }
    QTreeWidget* ActorTree() const { return actorTree_; }
    QTreeWidget* ClassByPackage() const { return byPackage_; }
    widgets::DropTargetTree* EditPackages() const { return editPackages_; }
    QTreeWidget* AvailablePackages() const { return availablePackages_; }
    QLineEdit* ClassFind() const { return classFind_; }
    QLabel* Status() const { return status_; }
    core::StatusSink* StatusSink() const;
    // The tree item at a position of a tree (pre-order), or nullptr.
    static QTreeWidgetItem* ItemAt(QTreeWidget* tree, int position);
    // The class node an item of the object, actor or by-package tree shows.
    static ClassNode* NodeOf(const QTreeWidgetItem* item);

    // What the pages have selected, for the class commands.
    ClassSelection Selection() const;
    // The views' expanded and selected states into the trees' model, before it changes or is saved.
    void PullTreeStates();
    // The object and actor trees, the package lists and the project tree shown from the model.
    void ShowClassTrees();
    void ShowPackageLists();
    void ShowProject();

    void ClassTreeDblClick(QTreeWidgetItem* item);
    void ActorTreeDblClick(QTreeWidgetItem* item);
    void ClassByPackageDblClick(QTreeWidgetItem* item);
    void ClassFindSearch();
    // Whether the by-package tree has the focus (Search Again then finds its next class).
    bool PackageTreeHasFocus() const;
    // What find in files reads: the trees, the project's packages, the compiled packages and
    // the selections of the object and actor trees.
    editor::SearchScope FindInFilesScope() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class StatusLines;

    static constexpr int kDesignedWidth = 290;
    // The width it docks with when none is stored.
    int DefaultWidth() const;
    QWidget* BuildProjectPage();
    QWidget* BuildTreePage(QTreeWidget* tree);
    QWidget* BuildPackagePage();
    QWidget* BuildSystemPage();
    void RegisterCommands();
    void AddCommands(QWidget* widget, std::initializer_list<const char*> ids);
    void ShowTree(QTreeWidget* view, workspace::ClassTree& tree);
    void OpenNode(QTreeWidgetItem* item);
    void CollapseSubtree(QTreeWidgetItem* item);
    bool OpenOnEnter(QObject* watched, const QKeyEvent& key);
    void ProjectOpened();
    int RunDialog(QDialog& dialog);

    shell::TMain& main_;
    shell::TLoading* loading_;
    std::unique_ptr<StatusLines> statusLines_;
    std::unique_ptr<shell::QtEventPump> pump_;
    std::unique_ptr<ClassBrowser> browser_;
    QTabWidget* pages_ = nullptr;
    QLabel* projName_ = nullptr;
    QTreeWidget* projectTree_ = nullptr;
    widgets::DropTargetTree* classTree_ = nullptr;
    QTreeWidget* actorTree_ = nullptr;
    QTreeWidget* byPackage_ = nullptr;
    widgets::DropTargetTree* editPackages_ = nullptr;
    QTreeWidget* availablePackages_ = nullptr;
    QLineEdit* classFind_ = nullptr;
    QLabel* status_ = nullptr;
    bool collapsing_ = false;
    QPointer<QAction> viewAction_;
    std::unique_ptr<project::ProjectSession> session_;
    project::TNewProj* newProj_ = nullptr;
    project::TProjAdd* projAdd_ = nullptr;
    TExportOptions* exportOptions_ = nullptr;
    TExportPackage* exportPackage_ = nullptr;
    std::function<int(QDialog&)> runDialog_;
    std::function<void(const std::string&, const std::string&)> imageViewer_;
};

}  // namespace torvane::workspace
