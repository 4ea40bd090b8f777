#include "workspace/tworkspace.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>
#include <cstdlib>

#include "build/compile_pipeline.h"
#include "core/interaction.h"
#include "platform/game_install.h"
#include "shell/command_boundary.h"
#include "shell/command_icons.h"
#include "shell/command_ids.h"
#include "shell/icons.h"
#include "shell/main_window_rules.h"
#include "shell/qt_interaction.h"
#include "shell/tloading.h"
#include "shell/tmain.h"
#include "unrealpkg/package_export.h"
#include "unrealpkg/package_places.h"
#include "widgets/text_codec.h"
#include "workspace/texport_options.h"
#include "workspace/texport_package.h"

namespace torvane::workspace {

using widgets::FromQString;
using widgets::ToQString;

namespace {

constexpr int kNodeRole = Qt::UserRole + 1;

// A class-tree row. Its hint is made when the view asks for it, not for every row while the
// trees are filled.
class ClassNodeItem final : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    QVariant data(int column, int role) const override {
        if (role == Qt::ToolTipRole && column == 0) {
            const ClassNode* node = TWorkspace::NodeOf(this);
            if (node && !node->entry.className.empty()) {
                return ToQString(node->entry.package + "." + node->entry.className + " (child of " +
                                 node->entry.parentName + ")");
            }
        }
        return QTreeWidgetItem::data(column, role);
    }
};

QTreeWidget* MakeTree(QWidget* parent, const char* name, QTreeWidget* tree = nullptr) {
    if (!tree) tree = new QTreeWidget(parent);
    tree->setObjectName(QString::fromLatin1(name));
    tree->setHeaderHidden(true);
    tree->setContextMenuPolicy(Qt::ActionsContextMenu);
    return tree;
}

}  // namespace

// Progress texts for the workspace's status line and the splash window.
class TWorkspace::StatusLines final : public core::StatusSink {
public:
    StatusLines(QLabel* status, shell::TLoading* loading) : status_(status), loading_(loading) {}
    void SetWorkspaceStatus(std::string_view text) override { status_->setText(ToQString(text)); }
    void SetSplashStatus(std::string_view text) override {
        if (loading_) loading_->SetStatus(ToQString(text));
    }

private:
    QLabel* status_;
    shell::TLoading* loading_;
};

TWorkspace::TWorkspace(shell::TMain& main, shell::TLoading* loading)
    : QDockWidget(QStringLiteral("WorkSpace"), &main), main_(main), loading_(loading) {
    setObjectName(QStringLiteral("TWorkspace"));
    RegisterCommands();
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    pages_ = new QTabWidget(body);
    pages_->setTabPosition(QTabWidget::South);
    pages_->addTab(BuildProjectPage(), QStringLiteral("Project"));
    classTree_ = new widgets::DropTargetTree(QStringLiteral("application/x-torvane-class"));
    MakeTree(nullptr, "ClassTree", classTree_);
    actorTree_ = MakeTree(nullptr, "ActorTree");
    pages_->addTab(BuildTreePage(classTree_), QStringLiteral("Object"));
    pages_->addTab(BuildTreePage(actorTree_), QStringLiteral("Actor"));
    pages_->addTab(BuildPackagePage(), QStringLiteral("Package"));
    pages_->addTab(BuildSystemPage(), QStringLiteral("System"));
    pages_->setCurrentIndex(1);
    layout->addWidget(pages_, 1);
    status_ = new QLabel(body);
    status_->setObjectName(QStringLiteral("Status"));
    layout->addWidget(status_);
    setWidget(body);
    resize(kDesignedWidth, 480);
    statusLines_ = std::make_unique<StatusLines>(status_, loading_);
    pump_ = std::make_unique<shell::QtEventPump>();
    main_.addDockWidget(Qt::LeftDockWidgetArea, this);
    viewAction_ = main_.Commands().Command(shell::cmd::kViewWorkspace);
    hide();
}

TWorkspace::~TWorkspace() = default;

// The workspace's own commands (its context menus also show main-window commands).
void TWorkspace::RegisterCommands() {
    shell::CommandRegistry& c = main_.Commands();
    using namespace shell::cmd;
    // Insert and Delete act only where the project tree has the focus.
    c.Register(kImportPackageIntoProject, "Import Package in to Project", "Add installed packages to the project",
               QKeySequence(Qt::Key_Insert), Qt::WidgetWithChildrenShortcut);
    c.Register(kRemovePackageFromProject, "Remove Package From Project", "Remove the selected package from the project",
               QKeySequence(Qt::Key_Delete), Qt::WidgetWithChildrenShortcut);
    c.Register(kImportPackageFromDir, "Import Package from Dir...", "Add a package directory to the game");
    c.Register(kRemovePackages, "Remove Packages", "Remove the selected packages from the game's list");
    c.Register(kInstallPackages, "Install Package(s)", "Install compiled packages");
    c.Register(kExportPackage, "Export Package", "Write the sources of a compiled package");
    c.Register(kPackageFlags, "Package Flags...", "Set a package's flags");
    shell::GiveCommandIcons(c);

    c.Connect(kNewProject, this, [this] { NewProject(); });
    c.Connect(kSaveProject, this, [this] { SaveProject(); });
    c.Connect(kCloseProject, this, [this] { CloseProject(); });
    c.Connect(kProjectSettings, this, [this] { EditProjectSettings(); });
    c.Connect(kImportPackageIntoProject, this, [this] { ImportPackagesIntoProject(); });
    c.Connect(kRemovePackageFromProject, this, [this] { RemovePackageFromProject(); });
    c.Connect(kRebuildClassTree, this, [this] { RebuildClassTrees(); });
    c.Connect(kExportPackage, this, [this] { ExportPackage1Click(); });

    for (const char* id : {kNewProject, kOpenProject, kCloseProject, kRebuildClassTree}) {
        c.SetAvailability(id, [this] { return main_.BusyReason(); });
    }
    for (const char* id : {kProjectSettings, kImportPackageIntoProject, kRemovePackageFromProject}) {
        c.SetAvailability(id, [this] { return main_.ProjectReason(); });
    }
    c.SetAvailability(kExportPackage, [this] {
        const QString busy = main_.BusyReason();
        if (!busy.isEmpty()) return busy;
        if (!availablePackages_ || availablePackages_->selectedItems().isEmpty()) {
            return QStringLiteral("Select the compiled packages to export.");
        }
        return QString();
    });
}

void TWorkspace::AddCommands(QWidget* widget, std::initializer_list<const char*> ids) {
    for (const char* id : ids) {
        if (id) {
            widget->addAction(main_.Commands().Command(id));
        } else {
            auto* separator = new QAction(widget);
            separator->setSeparator(true);
            widget->addAction(separator);
        }
    }
}

core::StatusSink* TWorkspace::StatusSink() const { return statusLines_.get(); }

QWidget* TWorkspace::BuildProjectPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    projName_ = new QLabel(QStringLiteral("No Project Loaded..."), page);
    projName_->setObjectName(QStringLiteral("ProjName"));
    layout->addWidget(projName_);
    projectTree_ = MakeTree(page, "ProjectTree");
    projectTree_->installEventFilter(this);
    using namespace shell::cmd;
    AddCommands(projectTree_, {kNewProject, kOpenProject, nullptr, kNewPackage, kImportPackageIntoProject,
                               kRemovePackageFromProject, nullptr, kCreateSubClass, kDeleteClass,
                               kDefaultProperties, nullptr, kProjectSettings});
    layout->addWidget(projectTree_, 1);
    return page;
}

QWidget* TWorkspace::BuildTreePage(QTreeWidget* tree) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    using namespace shell::cmd;
    AddCommands(tree, {kCreateSubClass, kDeleteClass, nullptr, kRebuildClassTree, nullptr, kDefaultProperties});
    QTreeWidget* view = tree;
    connect(view, &QTreeWidget::itemDoubleClicked, this, [this, view](QTreeWidgetItem* item) {
        shell::RunGuarded(main_.Prompter(), [&] {
            if (view == classTree_) {
                ClassTreeDblClick(item);
            } else {
                ActorTreeDblClick(item);
            }
        });
    });
    connect(view, &QTreeWidget::itemCollapsed, this, &TWorkspace::CollapseSubtree);
    view->installEventFilter(this);
    layout->addWidget(tree);
    return page;
}

QWidget* TWorkspace::BuildPackagePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Classes by Package"), page));
    classFind_ = new QLineEdit(page);
    classFind_->setObjectName(QStringLiteral("ClassFind"));
    classFind_->setPlaceholderText(QStringLiteral("Find"));
    connect(classFind_, &QLineEdit::returnPressed, this,
            shell::Guarded(main_.Prompter(), [this] { ClassFindSearch(); }));
    layout->addWidget(classFind_);
    byPackage_ = MakeTree(page, "ClassByPackage");
    byPackage_->installEventFilter(this);
    connect(byPackage_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        shell::RunGuarded(main_.Prompter(), [&] { ClassByPackageDblClick(item); });
    });
    layout->addWidget(byPackage_, 1);
    return page;
}

QWidget* TWorkspace::BuildSystemPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Edit Packages"), page));
    editPackages_ = new widgets::DropTargetTree(QStringLiteral("application/x-torvane-editpackage"), page);
    MakeTree(page, "EditPackages", editPackages_);
    editPackages_->setHeaderHidden(false);
    editPackages_->setHeaderLabels({QStringLiteral("Package"), QStringLiteral("Last Modified")});
    editPackages_->setRootIsDecorated(false);
    editPackages_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    AddCommands(editPackages_, {shell::cmd::kNewPackage, shell::cmd::kImportPackageFromDir, nullptr,
                                shell::cmd::kRemovePackages});
    layout->addWidget(editPackages_, 1);
    layout->addWidget(new QLabel(QStringLiteral("Compiled Packages"), page));
    availablePackages_ = MakeTree(page, "AvailablePackages");
    availablePackages_->setHeaderHidden(false);
    availablePackages_->setHeaderLabels({QStringLiteral("Package"), QStringLiteral("Exported")});
    availablePackages_->setRootIsDecorated(false);
    availablePackages_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    availablePackages_->installEventFilter(this);
    connect(availablePackages_, &QTreeWidget::itemSelectionChanged, this, [this] { main_.Commands().Refresh(); });
    AddCommands(availablePackages_, {shell::cmd::kInstallPackages, shell::cmd::kExportPackage, nullptr,
                                     shell::cmd::kPackageFlags});
    layout->addWidget(availablePackages_, 1);
    return page;
}

// --- showing the model -------------------------------------------------------------------------

ClassNode* TWorkspace::NodeOf(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<ClassNode*>(item->data(0, kNodeRole).value<quintptr>()) : nullptr;
}

ClassSelection TWorkspace::Selection() const {
    ClassSelection selection;
    selection.page = static_cast<WorkspacePage>(pages_->currentIndex());
    if (const QTreeWidgetItem* item = projectTree_->currentItem()) {
        const QTreeWidgetItem* parent = item->parent();
        const QTreeWidgetItem* grandparent = parent ? parent->parent() : nullptr;
        selection.project = ProjectTreeSelection{FromQString(item->text(0)), parent ? FromQString(parent->text(0)) : "",
                                                 grandparent ? FromQString(grandparent->text(0)) : ""};
    }
    selection.objectNode = NodeOf(classTree_->currentItem());
    selection.actorNode = NodeOf(actorTree_->currentItem());
    return selection;
}

void TWorkspace::PullTreeStates() {
    for (QTreeWidget* view : {static_cast<QTreeWidget*>(classTree_), actorTree_}) {
        const QTreeWidgetItem* current = view->currentItem();
        for (QTreeWidgetItemIterator it(view); *it; ++it) {
            if (ClassNode* node = NodeOf(*it)) {
                node->expanded = (*it)->isExpanded();
                node->selected = *it == current;
            }
        }
    }
}

void TWorkspace::ShowClassTrees() {
    if (!browser_) return;
    ShowTree(classTree_, browser_->objectTree());
    ShowTree(actorTree_, browser_->actorTree());
}

void TWorkspace::ShowTree(QTreeWidget* view, workspace::ClassTree& tree) {
    // Classes show as classes, actors as actors; the by-package tree's top rows are packages.
    const QIcon nodeIcon = shell::ThemeIcon(view == actorTree_ ? "torvane-actor" : "torvane-class");
    const QIcon topIcon = view == byPackage_ ? shell::ThemeIcon("package-x-generic") : nodeIcon;
    view->setUpdatesEnabled(false);
    view->clear();
    std::vector<std::pair<ClassNode*, QTreeWidgetItem*>> pending;
    for (auto it = tree.roots().rbegin(); it != tree.roots().rend(); ++it) pending.emplace_back(it->get(), nullptr);
    std::vector<std::pair<QTreeWidgetItem*, bool>> expansions;
    while (!pending.empty()) {
        auto [node, parentItem] = pending.back();
        pending.pop_back();
        auto* item = parentItem ? new ClassNodeItem(parentItem) : new ClassNodeItem(view);
        item->setText(0, ToQString(node->entry.caption));
        item->setIcon(0, parentItem ? nodeIcon : topIcon);
        item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(node)));
        expansions.emplace_back(item, node->expanded);
        if (node->selected) view->setCurrentItem(item);
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
            pending.emplace_back(it->get(), item);
        }
    }
    for (auto& [item, expanded] : expansions) item->setExpanded(expanded);
    view->setUpdatesEnabled(true);
}

void TWorkspace::ShowPackageLists() {
    editPackages_->clear();
    availablePackages_->clear();
    if (!browser_) return;
    const QIcon packageIcon = shell::ThemeIcon("package-x-generic");
    for (const auto& entry : browser_->editPackages()) {
        auto* item = new QTreeWidgetItem(editPackages_, {ToQString(entry.name), ToQString(entry.lastModified)});
        item->setIcon(0, packageIcon);
    }
    for (const auto& package : browser_->compiledPackages()) {
        auto* item = new QTreeWidgetItem(availablePackages_, {ToQString(package.name), ToQString(package.exported)});
        item->setIcon(0, packageIcon);
    }
}

QTreeWidgetItem* TWorkspace::ItemAt(QTreeWidget* tree, int position) {
    if (position < 0) return nullptr;
    int index = 0;
    QTreeWidgetItemIterator it(tree);
    for (; *it; ++it, ++index) {
        if (index == position) return *it;
    }
    return nullptr;
}

// --- services ----------------------------------------------------------------------------------

bool TWorkspace::InitClassBrowser(const platform::GameInstall& install) {
    ClassBrowserContext context;
    context.install = install;
    context.cacheDirectory = main_.Paths().dataDirectory;
    context.prompter = &main_.Prompter();
    context.status = statusLines_.get();
    context.pump = pump_.get();
    context.packageListsLoaded = [this] { ShowPackageLists(); };
    context.log = &main_.Log();
    context.exportProgress = exportPackage_;
    context.showInfoMessage = [this](const std::string& text) { main_.ShowInfoMessage(text); };
    browser_ = std::make_unique<ClassBrowser>(context);
    for (const std::string& line : install.Describe()) main_.AddLogLine(line);
    build::RestoreInterruptedCompile(install.configPath(), main_.Prompter());
    // A cache that cannot be written ends this step with the error box; the trees built so far
    // are shown and the program starts all the same.
    bool quit = false;
    shell::RunGuarded(main_.Prompter(), [&] { quit = browser_->InitClassBrowser() == ClassBrowser::StartResult::Quit; });
    if (quit) return false;
    project::ProjectSessionContext projectContext;
    projectContext.gameRoot = install.gameRoot();
    projectContext.programDirectory = main_.Paths().dataDirectory;
    projectContext.settings = &main_.Settings();
    projectContext.prompter = &main_.Prompter();
    projectContext.status = statusLines_.get();
    projectContext.browser = browser_.get();
    session_ = std::make_unique<project::ProjectSession>(projectContext);
    ShowProject();
    ShowTree(classTree_, browser_->objectTree());
    ShowTree(actorTree_, browser_->actorTree());
    ShowTree(byPackage_, browser_->byPackageTree());
    ShowPackageLists();
    return true;
}

void TWorkspace::RebuildClassTrees() {
    if (!browser_ || main_.Busy().Busy()) return;
    const shell::BusyState::Scope busy(main_.Busy());
    if (loading_) loading_->show();
    classTree_->hide();
    actorTree_->hide();
    // Whatever happens, the trees show what was built and come back on screen.
    struct ShowAgain {
        TWorkspace& w;
        ~ShowAgain() {
            w.ShowTree(w.classTree_, w.browser_->objectTree());
            w.ShowTree(w.actorTree_, w.browser_->actorTree());
            w.ShowTree(w.byPackage_, w.browser_->byPackageTree());
            w.classTree_->show();
            w.actorTree_->show();
            if (w.loading_) w.loading_->hide();
        }
    } showAgain{*this};
    browser_->RebuildClassTrees();
}

// --- package export ----------------------------------------------------------------------------

void TWorkspace::AttachExportWindows(TExportOptions* options, TExportPackage* progress) {
    exportOptions_ = options;
    exportPackage_ = progress;
}

void TWorkspace::ExportPackage1Click() {
    if (!browser_ || !exportOptions_ || !exportPackage_ || main_.Busy().Busy()) return;
    std::vector<QTreeWidgetItem*> selected;
    for (int i = 0; i < availablePackages_->topLevelItemCount(); ++i) {
        if (availablePackages_->topLevelItem(i)->isSelected()) selected.push_back(availablePackages_->topLevelItem(i));
    }
    if (selected.empty() || RunDialog(*exportOptions_) != QDialog::Accepted) return;
    const shell::BusyState::Scope busy(main_.Busy());
    unrealpkg::PackageExportOptions options;
    options.classes = exportOptions_->Classes();
    options.graphics = exportOptions_->Graphics();
    options.sounds = exportOptions_->Sounds();
    options.models = exportOptions_->Models();
    unrealpkg::PackageExportServices services;
    services.prompter = &main_.Prompter();
    services.log = &main_.Log();
    services.pump = pump_.get();
    services.progress = exportPackage_;
    exportPackage_->Start();
    // An error ends the command with the error box; the window goes all the same.
    struct Hide {
        TExportPackage* window;
        ~Hide() { window->Finish(0); }
    } hide{exportPackage_};
    const platform::GameInstall& install = browser_->context().install;
    for (QTreeWidgetItem* item : selected) {
        const std::string name = FromQString(item->text(0));
        exportPackage_->ShowPackage(name);
        unrealpkg::ExportCompiledPackage(install, name, options, services);
        if (unrealpkg::PackageHasSources(install, name)) item->setText(1, QStringLiteral("Yes"));
    }
}

int TWorkspace::FindClass(const std::string& className, const std::string& package) {
    if (!browser_) return -1;
    return browser_->FindClass(className, package.empty() ? nullptr : &package);
}

void TWorkspace::OpenClass(int position) {
    QTreeWidgetItem* item = ItemAt(classTree_, position);
    if (!item) return;
    classTree_->setCurrentItem(item);
    ClassTreeDblClick(item);
}

bool TWorkspace::OpenClassFile(const std::string& path) {
    if (!browser_) return false;
    int position = 0;
    int found = -1;
    browser_->objectTree().Walk([&](const ClassNode& node) {
        if (node.entry.fileName == path) {
            found = position;
            return false;
        }
        ++position;
        return true;
    });
    if (found < 0) return false;
    OpenClass(found);
    return true;
}

void TWorkspace::OpenNode(QTreeWidgetItem* item) {
    const ClassNode* node = NodeOf(item);
    if (!node || node->entry.fileName.empty()) return;
    main_.OpenSourceFile(node->entry.fileName, node->entry.package, node->entry.className);
}

void TWorkspace::ClassTreeDblClick(QTreeWidgetItem* item) {
    OpenNode(item);
    if (item && !item->isExpanded()) CollapseSubtree(item);
}

void TWorkspace::ActorTreeDblClick(QTreeWidgetItem* item) { OpenNode(item); }

void TWorkspace::ClassByPackageDblClick(QTreeWidgetItem* item) {
    if (!item || !item->parent() || !browser_) return;
    const std::string package = FromQString(item->parent()->text(0));
    const int position = browser_->FindClass(FromQString(item->text(0)), &package);
    if (position >= 0) OpenClass(position);
}

void TWorkspace::CollapseSubtree(QTreeWidgetItem* item) {
    if (collapsing_ || !item) return;
    collapsing_ = true;
    std::vector<QTreeWidgetItem*> pending{item};
    while (!pending.empty()) {
        QTreeWidgetItem* current = pending.back();
        pending.pop_back();
        current->setExpanded(false);
        for (int i = 0; i < current->childCount(); ++i) pending.push_back(current->child(i));
    }
    collapsing_ = false;
}

void TWorkspace::ClassFindSearch() {
    if (!browser_) return;
    const int position = browser_->FindInPackageTree(FromQString(classFind_->text()));
    QTreeWidgetItem* item = ItemAt(byPackage_, position);
    if (!item) return;
    if (item->parent()) item->parent()->setExpanded(true);
    byPackage_->setFocus();
    byPackage_->setCurrentItem(item);
}

// Enter on a tree's current item opens it, as a double-click does.
bool TWorkspace::OpenOnEnter(QObject* watched, const QKeyEvent& key) {
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) return false;
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    auto* tree = qobject_cast<QTreeWidget*>(watched);
    QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
    if (!item) return false;
    void (TWorkspace::*open)(QTreeWidgetItem*) = nullptr;
    if (tree == classTree_) open = &TWorkspace::ClassTreeDblClick;
    if (tree == actorTree_) open = &TWorkspace::ActorTreeDblClick;
    if (tree == byPackage_) open = &TWorkspace::ClassByPackageDblClick;
    if (tree == projectTree_) open = &TWorkspace::ProjectTreeDblClick;
    if (!open) return false;
    shell::RunGuarded(main_.Prompter(), [&] { (this->*open)(item); });
    return true;
}

bool TWorkspace::PackageTreeHasFocus() const { return byPackage_->hasFocus(); }

editor::SearchScope TWorkspace::FindInFilesScope() const {
    editor::SearchScope scope;
    scope.gameRoot = main_.GameRoot();
    if (browser_) {
        scope.objectTree = &browser_->objectTree();
        scope.actorTree = &browser_->actorTree();
        scope.compiledPackages = &browser_->compiledPackages();
    }
    if (ProjectOpen()) scope.projectPackages = &session_->packages();
    scope.objectPageShown = pages_->currentWidget() == classTree_->parentWidget();
    auto selected = [](const QTreeWidget* tree) -> const ClassNode* {
        const QTreeWidgetItem* item = tree->currentItem();
        return item && item->isSelected() ? NodeOf(item) : nullptr;
    };
    scope.objectSelection = selected(classTree_);
    scope.actorSelection = selected(actorTree_);
    return scope;
}

bool TWorkspace::eventFilter(QObject* watched, QEvent* event) {
    if (watched == availablePackages_ && event->type() == QEvent::Resize) {
        // "Package" takes three quarters of the width less 20 pixels, "Exported" a quarter.
        const int width = availablePackages_->width();
        availablePackages_->header()->setMinimumSectionSize(std::min(width / 4, 20));
        availablePackages_->setColumnWidth(0, std::max(0, width * 3 / 4 - 20));
        availablePackages_->setColumnWidth(1, width / 4);
    }
    if (event->type() == QEvent::KeyPress && OpenOnEnter(watched, *static_cast<QKeyEvent*>(event))) return true;
    // F3 reaches the tree only while Search > Search Again is disabled (no file open); otherwise
    // that command takes the key and, this tree having the focus, finds here.
    if (watched == byPackage_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F3) {
        ClassFindSearch();
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}

// --- layout ------------------------------------------------------------------------------------

void TWorkspace::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    if (viewAction_) viewAction_->setChecked(true);
}

void TWorkspace::hideEvent(QHideEvent* event) {
    QDockWidget::hideEvent(event);
    if (viewAction_) viewAction_->setChecked(false);  // also while the main window goes
}

void TWorkspace::SetTabPosition(int position) {
    if (const auto tabs = shell::TabPositionFromSetting(position)) {
        static const QTabWidget::TabPosition kPositions[] = {QTabWidget::North, QTabWidget::South,
                                                             QTabWidget::West, QTabWidget::East};
        pages_->setTabPosition(kPositions[*tabs]);
    }
}

void TWorkspace::ActivatePages() {
    const int active = pages_->currentIndex();
    for (int page : {0, 1, 2, 4}) {
        pages_->setCurrentIndex(page);
        pages_->repaint();
    }
    pages_->setCurrentIndex(active);
    pages_->repaint();
}

int TWorkspace::DefaultWidth() const {
    // The page tabs side by side without scroll arrows, and the margins around the pages.
    const int tabs = pages_->tabBar()->sizeHint().width() + 2 * pages_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return std::max(kDesignedWidth, tabs + 8);
}

void TWorkspace::SaveWorkspaceLayout() {
    shell::SettingsFile& s = main_.Settings();
    s.WriteIniBool("Workspace", "Visible", isVisible());
    if (isFloating()) {
        s.WriteIniBool("Workspace", "Docked", false);
        s.WriteIniInteger("Workspace", "Left", x());
        s.WriteIniInteger("Workspace", "Top", y());
        s.WriteIniInteger("Workspace", "Width", width());
        s.WriteIniInteger("Workspace", "Height", height());
    } else {
        s.WriteIniBool("Workspace", "Docked", true);
        s.WriteIniInteger("Workspace", "Left", -1);
        s.WriteIniInteger("Workspace", "Top", -1);
        s.WriteIniInteger("Workspace", "Width", width());
    }
    s.WriteIniInteger("Workspace", "Tab", pages_->currentIndex());
    // QTabWidget's North, South, West, East are 0 to 3, as the setting is.
    s.WriteIniInteger("Workspace", "TabPosition", static_cast<int>(pages_->tabPosition()));
}

void TWorkspace::LoadWorkspaceLayout() {
    shell::SettingsFile& s = main_.Settings();
    try {
        s.WriteIniBool("Workspace", "Visible", true);
        // Without stored keys it docks at the left, wide enough for its page tabs.
        const bool docked = s.ReadIniBool("Workspace", "Docked", true);
        const int left = s.ReadIniInteger("Workspace", "Left", 0);
        const int top = s.ReadIniInteger("Workspace", "Top", 0);
        const int width = s.ReadIniInteger("Workspace", "Width", DefaultWidth());
        const int height = s.ReadIniInteger("Workspace", "Height", 480);
        const int tab = s.ReadIniInteger("Workspace", "Tab", -1);
        const int position = s.ReadIniInteger("Workspace", "TabPosition", 1);
        if (docked) {
            setFloating(false);
            main_.resizeDocks({this}, {width}, Qt::Horizontal);
        } else {
            setFloating(true);
            resize(width, height);
            if (left != -1 && top != -1) move(left, top);
        }
        pages_->setCurrentIndex(shell::WorkspacePageFromSetting(tab));
        SetTabPosition(position);
    } catch (const std::exception& e) {
        main_.Prompter().Error(e.what());
    }
}

}  // namespace torvane::workspace
