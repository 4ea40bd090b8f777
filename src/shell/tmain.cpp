#include "shell/tmain.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <cstdlib>
#include <utility>

#include "core/interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_install_locator.h"
#include "platform/game_paths.h"
#include "project/project.h"
#include "editor/ted_persistent.h"
#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "shell/command_icons.h"
#include "shell/command_ids.h"
#include "shell/game_locator.h"
#include "shell/icons.h"
#include "shell/log_file.h"
#include "shell/main_window_rules.h"
#include "shell/qt_interaction.h"
#include "shell/tabout_box.h"
#include "shell/tloading.h"
#include "shell/tprefs.h"
#include "shell/tseleditoptions.h"
#include "widgets/folder_browser.h"
#include "widgets/text_codec.h"

namespace torvane::shell {

using widgets::FromQString;
using widgets::ToQString;

// The output log as the logic's OutputLog.
class TMain::LogAdapter final : public core::OutputLog {
public:
    explicit LogAdapter(TMain& main) : main_(main) {}
    void AppendLine(std::string_view line) override { main_.AddLogLine(std::string(line)); }
    void ReplaceLastLine(std::string_view line) override {
        QListWidget* log = main_.outputLog_;
        if (log->count() == 0) {
            log->addItem(ToQString(line));
        } else {
            log->item(log->count() - 1)->setText(ToQString(line));
        }
    }
    void DeleteLastLine() override { delete main_.outputLog_->takeItem(main_.outputLog_->count() - 1); }
    void Clear() override { main_.outputLog_->clear(); }
    void ScrollToEnd() override { main_.ScrollLogToEnd(); }

private:
    TMain& main_;
};

TMain::TMain(TMainOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      settings_(options_.paths.File("Torvane.ini")) {
    setObjectName(QStringLiteral("TMain"));
    setWindowTitle(QStringLiteral("Torvane 4.0"));
    UseIconTheme();
    setWindowIcon(ProgramIcon());
    prompter_ = options_.prompter;
    if (!prompter_) {
        ownPrompter_ = std::make_unique<MessageBoxPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    logAdapter_ = std::make_unique<LogAdapter>(*this);
    logFile_ = std::make_unique<LogFile>(options_.paths.File("Torvane.log"));
    commands_ = std::make_unique<CommandRegistry>(*this, *prompter_);
    busy_.SetChanged([this] {
        commands_->Refresh();
        UpdateToolItems();
    });
    resize(999, 618);
    RegisterCommands();
    BuildCentralArea();
    BuildToolBars();
    BuildMenus();
    ConnectCommands();
    compileMode_->setCurrentIndex(0);
    // The search settings read "EdData.dat" (created empty when missing) beside the program.
    searchSettings_ = std::make_unique<editor::TEdPersistent>(options_.paths.File("EdData.dat"));
    RunGuarded(*prompter_, [this] { searchSettings_->Load(); });
    saveAllAnswer_ = false;
    ReadLayout();
    timer1_ = new QTimer(this);
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &TMain::Timer1Timer);
}

TMain::~TMain() {
    // Children going with the window must not call back into it while it is half destroyed.
    disconnect(mdi_, nullptr, this, nullptr);
    disconnect(fileTabs_, nullptr, this, nullptr);
    disconnect(splitter_, nullptr, this, nullptr);
}

void TMain::AttachWindows(TLoading* loading, TPrefs* prefs, TAboutBox* about,
                          TSelEditOptions* selEditOptions, QWidget* workspace) {
    loading_ = loading;
    prefs_ = prefs;
    about_ = about;
    selEditOptions_ = selEditOptions;
    workspace_ = workspace;
}

void TMain::SetWorkspaceServices(WorkspaceServices* services) {
    services_ = services ? services : &defaultServices_;
}

void TMain::Terminate(int code) {
    if (options_.terminate) {
        options_.terminate(code);
    } else {
        std::exit(code);
    }
}

// --- layout ----------------------------------------------------------------------------------

void TMain::BuildCentralArea() {
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    browserPanel_ = new QWidget(central);
    browserPanel_->setObjectName(QStringLiteral("BrowserPanel"));
    browserPanel_->setFixedWidth(1);
    browserPanel_->setLayout(new QVBoxLayout);
    browserPanel_->layout()->setContentsMargins(0, 0, 0, 0);
    row->addWidget(browserPanel_);

    splitter_ = new QSplitter(Qt::Vertical, central);
    splitter_->setHandleWidth(kSplitterGap);
    splitter_->setChildrenCollapsible(false);
    mdi_ = new QMdiArea(splitter_);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    splitter_->addWidget(mdi_);

    bottomPanel_ = new QWidget(splitter_);
    bottomPanel_->setObjectName(QStringLiteral("BottomPanel"));
    auto* column = new QVBoxLayout(bottomPanel_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    outputLog_ = new QListWidget(bottomPanel_);
    outputLog_->setObjectName(QStringLiteral("OutputLog"));
    outputLog_->setUniformItemSizes(true);
    outputLog_->setSelectionMode(QAbstractItemView::SingleSelection);
    column->addWidget(outputLog_);
    fileTabs_ = new QTabBar(bottomPanel_);
    fileTabs_->setObjectName(QStringLiteral("FileTabs"));
    fileTabs_->setFixedHeight(kFileTabsHeight);
    fileTabs_->setDrawBase(false);
    fileTabs_->setExpanding(false);
    fileTabs_->setContextMenuPolicy(Qt::ActionsContextMenu);
    column->addWidget(fileTabs_);
    statusLine_ = new QStatusBar(bottomPanel_);
    statusLine_->setObjectName(QStringLiteral("StatusBar"));
    statusLine_->setFixedHeight(kStatusBarHeight);
    statusLine_->setSizeGripEnabled(false);
    column->addWidget(statusLine_);
    splitter_->addWidget(bottomPanel_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    row->addWidget(splitter_, 1);
    setCentralWidget(central);

    connect(splitter_, &QSplitter::splitterMoved, this, &TMain::SplitterMoved);
    connect(fileTabs_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (auto* editor = fileTabs_->tabData(index).value<QMdiSubWindow*>()) {
            if (editor->isMinimized()) editor->showNormal();  // the tab shows its editor
            mdi_->setActiveSubWindow(editor);
        }
    });
    connect(mdi_, &QMdiArea::subWindowActivated, this, &TMain::SelectEditorTab);
}

void TMain::ReadLayout() {
    // A value that is not a number ends the reading with the standard error box; the keys not
    // read keep the designed layout and the program starts all the same.
    RunGuarded(*prompter_, [this] {
        const int left = settings_.ReadIniInteger("IDE", "Left", -1);
        const int top = settings_.ReadIniInteger("IDE", "Top", -1);
        const int width = settings_.ReadIniInteger("IDE", "Width", -1);
        const int height = settings_.ReadIniInteger("IDE", "Height", -1);
        if (left != -1 || top != -1) move(left != -1 ? left : x(), top != -1 ? top : y());
        if (width != -1 || height != -1) {
            resize(width != -1 ? width : this->width(), height != -1 ? height : this->height());
        }
        logVisible_ = settings_.ReadIniBool("OutputLog", "Visible", true);
        logHeight_ = settings_.ReadIniInteger("OutputLog", "Height", kDesignedLogHeight);
    });
    commands_->Command(cmd::kViewOutputLog)->setChecked(logVisible_);
    ApplyBottomPanel();
}

int TMain::BottomPanelHeight() const { return shell::BottomPanelHeight(logHeight_, logVisible_); }

// Sizes the bottom panel from the log's height and visibility; the MDI area takes the rest.
void TMain::ApplyBottomPanel() {
    applyingPanel_ = true;
    outputLog_->setVisible(logVisible_);
    outputLog_->setFixedHeight(std::max(0, logHeight_));
    const int panel = BottomPanelHeight();
    bottomPanel_->setFixedHeight(panel);
    const int total = std::max(splitter_->height(), panel + 100);
    splitter_->setSizes({total - panel - kSplitterGap, panel});
    applyingPanel_ = false;
}

bool TMain::ResizeBottomPanel(int newHeight) {
    if (!SplitterAccepts(newHeight)) {
        ApplyBottomPanel();  // refused: back where it was
        return false;
    }
    if (logVisible_) logHeight_ = LogHeightForPanel(newHeight);
    ApplyBottomPanel();
    settings_.WriteIniInteger("OutputLog", "Height", logHeight_);
    settings_.WriteIniBool("OutputLog", "Visible", logVisible_);
    return true;
}

void TMain::SplitterMoved() {
    if (applyingPanel_) return;
    const QList<int> sizes = splitter_->sizes();
    if (sizes.size() == 2) ResizeBottomPanel(sizes[1]);
}

void TMain::SetOutputLogVisible(bool visible) {
    logVisible_ = visible;
    commands_->Command(cmd::kViewOutputLog)->setChecked(visible);
    ApplyBottomPanel();
    settings_.WriteIniInteger("OutputLog", "Height", logHeight_);
    settings_.WriteIniBool("OutputLog", "Visible", logVisible_);
}

// --- commands, menus and toolbars ------------------------------------------------------------

// Every command the main window shows: one action each, found by id from here on.
void TMain::RegisterCommands() {
    CommandRegistry& c = *commands_;
    using Key = QKeySequence;
    c.Register(cmd::kNewFile, "New", "A new empty file");
    c.Register(cmd::kNewPackage, "New Package", "Create a new package");
    c.Register(cmd::kNewProject, "New Project", "Create a new project");
    c.Register(cmd::kOpen, "&Open", "Open a file or a project", Key(Qt::CTRL | Qt::Key_O));
    c.Register(cmd::kOpenProject, "Open Project", "Open a project");
    c.Register(cmd::kSave, "&Save", "Save the active file", Key(Qt::CTRL | Qt::Key_S));
    c.Register(cmd::kSaveAs, "Save &As...", "Save the active file under another name");
    c.Register(cmd::kSaveProject, "Save Project", "Save the project");
    c.Register(cmd::kSaveAll, "Save All", "Save every modified file");
    c.Register(cmd::kClose, "&Close", "Close the active file", Key(Qt::CTRL | Qt::Key_F4));
    c.Register(cmd::kCloseAll, "Close All", "Close all files");
    c.Register(cmd::kCloseProject, "Close Project", "Close the project");
    c.Register(cmd::kRevert, "Revert", "Reload the active file", Key(Qt::CTRL | Qt::ALT | Qt::Key_R));
    c.Register(cmd::kExit, "E&xit", "Leave Torvane");

    c.Register(cmd::kUndo, "Undo", "Undo the last change", Key(Qt::CTRL | Qt::Key_Z));
    c.Register(cmd::kRedo, "Redo", "Redo the last undone change");
    c.Register(cmd::kCut, "Cu&t", "Cut the selection");
    c.Register(cmd::kCopy, "&Copy", "Copy the selection");
    c.Register(cmd::kPaste, "&Paste", "Paste the clipboard");
    c.Register(cmd::kSelectAll, "Select All", "Select the whole text", Key(Qt::CTRL | Qt::Key_A));

    c.Register(cmd::kFind, "Find", "Find text", Key(Qt::CTRL | Qt::Key_F));
    c.Register(cmd::kFindReplace, "Find && Replace", "Find and replace text", Key(Qt::CTRL | Qt::Key_R));
    c.Register(cmd::kSearchAgain, "Search Again", "Repeat the last search", Key(Qt::Key_F3));
    c.Register(cmd::kFindInFiles, "Find in Files", "Search all sources", Key(Qt::CTRL | Qt::ALT | Qt::Key_F));
    c.Register(cmd::kGotoLine, "Goto Line #", "Go to a line", Key(Qt::CTRL | Qt::Key_L));
    c.Register(cmd::kQuickFind, "Find", "Find the text of the box in the active file");
    c.Register(cmd::kQuickFindInFiles, "Find in Files", "Search all sources for the text of the box");

    c.Register(cmd::kGoToDefinition, "Go to Definition", "Open the declaration of the name at the cursor",
               Key(Qt::Key_F12));
    c.Register(cmd::kFindReferences, "Find References", "List every use of the name at the cursor in the output log",
               Key(Qt::SHIFT | Qt::Key_F12));
    c.Register(cmd::kCompleteCode, "Complete Code", "List the names that may be typed at the cursor",
               Key(Qt::CTRL | Qt::Key_Space));
    c.Register(cmd::kParameterHint, "Parameter Hint", "Show the parameters of the call at the cursor",
               Key(Qt::CTRL | Qt::SHIFT | Qt::Key_Space));
    c.Register(cmd::kOutline, "Outline...", "The functions, states and variables of the active class",
               Key(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    c.Register(cmd::kNavigateBack, "Back", "Back to where the last jump started", Key(Qt::ALT | Qt::Key_Left));
    c.Register(cmd::kNavigateForward, "Forward", "Forward again to where Back came from",
               Key(Qt::ALT | Qt::Key_Right));

    c.Register(cmd::kCompile, "Compile", "Compile the changed packages", Key(Qt::Key_F7));
    c.Register(cmd::kCompileAndRun, "Compile && Run", "Compile, then run the game", Key(Qt::CTRL | Qt::Key_F7));
    c.Register(cmd::kRun, "Run", "Run the game", Key(Qt::Key_F9));
    c.Register(cmd::kProjectSettings, "Settings...", "Edit the project settings", Key(Qt::Key_F4));
    c.Register(cmd::kDoPreBatch, "Do PreBatch...", "Run the pre-compile script");
    c.Register(cmd::kPostBatchSuccess, "Simulate Successful Compile",
               "Run the post-compile script as after a successful compile");
    c.Register(cmd::kPostBatchFailure, "Simulate Failed Compile",
               "Run the post-compile script as after a failed compile");

    c.Register(cmd::kCreateSubClass, "Create a SubClass", "Create a sub-class of the chosen class",
               Key(Qt::CTRL | Qt::Key_N));
    c.Register(cmd::kDeleteClass, "Delete Class", "Delete the chosen class");
    c.Register(cmd::kRebuildClassTree, "Rebuild Class Tree", "Scan all sources again");
    c.Register(cmd::kDefaultProperties, "Default Properties", "Show the default properties of the chosen class");
    c.Register(cmd::kEditorDefaultProperties, "Default Properties", "Show the default properties of this file's class");
    c.Register(cmd::kImportImage, "Import .PCX/.BMP", "Import an image into the active source's package");
    c.Register(cmd::kImportModel, "Import Model", "Import a model");
    c.SetAvailability(cmd::kImportModel, [] { return QStringLiteral("Models cannot be imported."); });
    c.Register(cmd::kImportSound, "Import .WAV", "Import a sound into the active source's package");

    c.Register(cmd::kEditorPreferences, "Editor Preferences...", "Colours and fonts of the editors");
    c.Register(cmd::kEnvironmentOptions, "Enviroment Options...", "Preferences");
    c.Register(cmd::kConfigureTools, "Configure External Tools...", "Add, edit and remove tools");

    c.Register(cmd::kViewWorkspace, "WorkSpace", "Show or hide the workspace", Key(Qt::CTRL | Qt::Key_F12))
        ->setCheckable(true);
    QAction* log = c.Register(cmd::kViewOutputLog, "Output Log", "Show or hide the output log",
                              Key(Qt::CTRL | Qt::Key_F11));
    log->setCheckable(true);
    log->setChecked(true);
    c.Register(cmd::kTabsTop, "Top", "Workspace tabs at the top");
    c.Register(cmd::kTabsBottom, "Bottom", "Workspace tabs at the bottom");
    c.Register(cmd::kTabsLeft, "Left", "Workspace tabs on the left");
    c.Register(cmd::kTabsRight, "Right", "Workspace tabs on the right");
    c.Register(cmd::kViewGameLog, "View | Edit UnrealTournament.log", "Open the game's log");
    c.Register(cmd::kViewGameIni, "View | Edit UnrealTournament.ini", "Open the game's configuration");
    c.Register(cmd::kViewToolLog, "View | Edit UCC.Log", "Open the game tool's log");
    c.Register(cmd::kViewServerLog, "View | Edit Server.log", "Open the server's log");

    c.Register(cmd::kCascade, "&Cascade", "Cascade the editors");
    c.Register(cmd::kTileHorizontally, "Tile &Horizontally", "Tile the editors one above the other");
    c.Register(cmd::kTileVertically, "Tile &Vertically", "Tile the editors side by side");
    c.Register(cmd::kMinimizeAll, "&Minimize All", "Minimize every editor");
    c.Register(cmd::kArrangeAll, "&Arrange All", "Arrange the minimized editors");
    c.Register(cmd::kAbout, "&About...", "About Torvane");

    GiveCommandIcons(c);
}

QString TMain::BusyReason() const {
    return busy_.Busy() ? QStringLiteral("Not available while a compile, script, rebuild or search runs.") : QString();
}

QString TMain::ProjectReason() const {
    if (busy_.Busy()) return BusyReason();
    return services_->ProjectOpen() ? QString() : QStringLiteral("Open a project first.");
}

QString TMain::EditorReason() const { return Editors().empty() ? QStringLiteral("Open a file first.") : QString(); }

// Runs call on the active editor's control; nothing without an editor.
void TMain::OnActiveEditor(const char* id, void (*call)(QsciScintilla&)) {
    commands_->Connect(id, this, [this, call] {
        if (editor::TEditor* editor = ActiveEditor()) call(*editor->Memo1());
    });
}

// The commands the main window carries out itself.
void TMain::ConnectCommands() {
    CommandRegistry& c = *commands_;
    ConnectFileCommands();
    c.Connect(cmd::kExit, this, [this] { close(); });
    OnActiveEditor(cmd::kUndo, [](QsciScintilla& m) { m.undo(); });
    OnActiveEditor(cmd::kRedo, [](QsciScintilla& m) { m.redo(); });
    OnActiveEditor(cmd::kCut, [](QsciScintilla& m) { m.cut(); });
    OnActiveEditor(cmd::kCopy, [](QsciScintilla& m) { m.copy(); });
    OnActiveEditor(cmd::kPaste, [](QsciScintilla& m) { m.paste(); });
    OnActiveEditor(cmd::kSelectAll, [](QsciScintilla& m) { m.selectAll(true); });
    // The commands on files and text act on the editors: without one they are disabled.
    for (const char* id : {cmd::kSave, cmd::kSaveAs, cmd::kSaveAll, cmd::kClose, cmd::kCloseAll, cmd::kRevert,
                           cmd::kUndo, cmd::kRedo, cmd::kCut, cmd::kCopy, cmd::kPaste, cmd::kSelectAll}) {
        c.SetAvailability(id, [this] { return EditorReason(); });
    }
    c.Connect(cmd::kEditorPreferences, this, [this] {
        if (selEditOptions_) selEditOptions_->exec();
    });
    c.Connect(cmd::kEnvironmentOptions, this, [this] { EnvironmentOptions(); });
    c.Connect(cmd::kConfigureTools, this, [this] { ConfigureExternalTools(); });
    c.Connect(cmd::kViewWorkspace, this, [this] { ViewWorkspace(); });
    c.Connect(cmd::kViewOutputLog, this,
              [this] { SetOutputLogVisible(commands_->Command(cmd::kViewOutputLog)->isChecked()); });
    const std::pair<const char*, int> tabPositions[] = {
        {cmd::kTabsTop, 0}, {cmd::kTabsBottom, 1}, {cmd::kTabsLeft, 2}, {cmd::kTabsRight, 3}};
    for (const auto& [id, position] : tabPositions) {
        c.Connect(id, this, [this, position = position] { services_->SetTabPosition(position); });
    }
    c.Connect(cmd::kCascade, this, [this] { mdi_->cascadeSubWindows(); });
    c.Connect(cmd::kTileHorizontally, this, [this] { ArrangeTiled(true); });
    c.Connect(cmd::kTileVertically, this, [this] { ArrangeTiled(false); });
    c.Connect(cmd::kMinimizeAll, this, [this] {
        for (QMdiSubWindow* sub : mdi_->subWindowList()) sub->showMinimized();
    });
    c.Connect(cmd::kArrangeAll, this, [this] { mdi_->tileSubWindows(); });
    c.Connect(cmd::kAbout, this, [this] {
        if (about_) about_->exec();
    });
}

void TMain::BuildMenus() {
    CommandRegistry& c = *commands_;
    auto add = [&c](QMenu* menu, std::initializer_list<const char*> ids) {
        for (const char* id : ids) {
            if (id) {
                menu->addAction(c.Command(id));
            } else {
                menu->addSeparator();
            }
        }
    };
    add(menuBar()->addMenu(QStringLiteral("&File")),
        {cmd::kNewPackage, cmd::kNewProject, cmd::kOpen, cmd::kOpenProject, cmd::kSave, cmd::kSaveAs,
         cmd::kSaveProject, cmd::kSaveAll, nullptr, cmd::kClose, cmd::kCloseAll, cmd::kCloseProject,
         cmd::kRevert, nullptr, cmd::kExit});
    add(menuBar()->addMenu(QStringLiteral("&Edit")),
        {cmd::kUndo, cmd::kRedo, nullptr, cmd::kCut, cmd::kCopy, cmd::kPaste, cmd::kSelectAll});
    add(menuBar()->addMenu(QStringLiteral("&Search")),
        {cmd::kFind, cmd::kFindReplace, cmd::kSearchAgain, cmd::kFindInFiles, cmd::kGotoLine});
    add(menuBar()->addMenu(QStringLiteral("&Navigate")),
        {cmd::kGoToDefinition, cmd::kFindReferences, nullptr, cmd::kCompleteCode, cmd::kParameterHint, nullptr,
         cmd::kOutline, nullptr, cmd::kNavigateBack, cmd::kNavigateForward});
    QMenu* project = menuBar()->addMenu(QStringLiteral("&Project"));
    add(project, {cmd::kCompile, cmd::kCompileAndRun, cmd::kRun, nullptr, cmd::kProjectSettings,
                  cmd::kDoPreBatch});
    QMenu* postBatch = project->addMenu(QStringLiteral("Do PostBatch..."));
    add(postBatch, {cmd::kPostBatchSuccess, cmd::kPostBatchFailure});
    // The sub-menu is as available as its two commands.
    connect(project, &QMenu::aboutToShow, postBatch, [this, postBatch] {
        postBatch->setEnabled(commands_->Command(cmd::kPostBatchSuccess)->isEnabled());
    });
    add(menuBar()->addMenu(QStringLiteral("&Class")),
        {cmd::kCreateSubClass, cmd::kDeleteClass, cmd::kRebuildClassTree, cmd::kDefaultProperties});
    toolsMenu_ = menuBar()->addMenu(QStringLiteral("&Tools"));
    add(toolsMenu_, {cmd::kEditorPreferences, cmd::kEnvironmentOptions, nullptr, cmd::kConfigureTools, nullptr});
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view, {cmd::kViewWorkspace, cmd::kViewOutputLog});
    add(view->addMenu(QStringLiteral("Workspace Tabs")),
        {cmd::kTabsTop, cmd::kTabsBottom, cmd::kTabsLeft, cmd::kTabsRight});
    add(view, {nullptr, cmd::kViewGameLog, cmd::kViewGameIni, cmd::kViewToolLog, cmd::kViewServerLog});

    windowMenu_ = menuBar()->addMenu(QStringLiteral("&Window"));
    add(windowMenu_, {cmd::kCascade, cmd::kTileHorizontally, cmd::kTileVertically, cmd::kMinimizeAll,
                      cmd::kArrangeAll, nullptr});
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] {
        const auto actions = windowMenu_->actions();
        for (int i = 6; i < actions.size(); ++i) delete actions[i];
        for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
            QAction* item = windowMenu_->addAction(ShownAsItself(sub->windowTitle()));
            connect(item, &QAction::triggered, this, [this, sub] { mdi_->setActiveSubWindow(sub); });
        }
    });
    add(menuBar()->addMenu(QStringLiteral("&Help")), {cmd::kAbout});

    // Pop-up menu of the file tabs: the File menu's own commands.
    for (const char* id : {cmd::kSave, cmd::kRevert, cmd::kClose}) fileTabs_->addAction(c.Command(id));
}

void TMain::BuildToolBars() {
    CommandRegistry& c = *commands_;
    QToolBar* general = addToolBar(QStringLiteral("General"));
    general->setObjectName(QStringLiteral("GeneralToolBar"));
    general->setMovable(true);
    for (const char* id : {cmd::kNewFile, cmd::kOpen, cmd::kSave, static_cast<const char*>(nullptr),
                           cmd::kCut, cmd::kCopy, cmd::kPaste, static_cast<const char*>(nullptr),
                           cmd::kCascade, cmd::kTileHorizontally, cmd::kTileVertically}) {
        if (id) {
            general->addAction(c.Command(id));
        } else {
            general->addSeparator();
        }
    }

    QToolBar* find = addToolBar(QStringLiteral("Find"));
    find->setObjectName(QStringLiteral("FindToolBar"));
    quickFind_ = new QLineEdit(find);
    quickFind_->setObjectName(QStringLiteral("QuickFind"));
    quickFind_->setToolTip(QStringLiteral("Text to find..."));
    quickFind_->setStatusTip(QStringLiteral("Text to find..."));
    quickFind_->setFixedWidth(160);
    find->addWidget(quickFind_);
    find->addAction(c.Command(cmd::kQuickFind));
    find->addAction(c.Command(cmd::kQuickFindInFiles));

    QToolBar* compile = addToolBar(QStringLiteral("Compile"));
    compile->setObjectName(QStringLiteral("CompileToolBar"));
    compileMode_ = new QComboBox(compile);
    compileMode_->setObjectName(QStringLiteral("CompileMode"));
    for (int mode = 0; mode < 3; ++mode) compileMode_->addItem(ToQString(project::CompileModeName(mode)));
    compile->addWidget(compileMode_);
    connect(compileMode_, &QComboBox::currentIndexChanged, this, [this] {
        if (services_->ProjectOpen()) services_->MarkProjectModified();
    });
    for (const char* id : {cmd::kCompile, cmd::kCompileAndRun, cmd::kRun}) compile->addAction(c.Command(id));
    // The most used commands say what they do; the others show their icons (and their captions
    // as tool tips), so that all of them fit beside each other at the designed width.
    compile->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (QToolBar* bar : {general, find, compile}) bar->setIconSize(QSize(16, 16));
}

QString TMain::CompileMode() const { return compileMode_->currentText(); }

int TMain::CompileModeIndex() const { return compileMode_->currentIndex(); }

void TMain::SetCompileModeIndex(int index) {
    if (index >= 0 && index < compileMode_->count()) compileMode_->setCurrentIndex(index);
}

void TMain::ArrangeTiled(bool horizontally) {
    const auto windows = mdi_->subWindowList();
    if (windows.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* sub = windows[i];
        sub->showNormal();
        if (horizontally) {
            const int h = area.height() / n;
            sub->setGeometry(0, i * h, area.width(), h);
        } else {
            const int w = area.width() / n;
            sub->setGeometry(i * w, 0, w, area.height());
        }
    }
}

void TMain::ShowStatusText(const std::string& text) { statusLine_->showMessage(ToQString(text)); }

QString TMain::StatusText() const { return statusLine_->currentMessage(); }

bool TMain::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        statusLine_->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// --- output log and file tabs ----------------------------------------------------------------

void TMain::ShowInfoMessage(const std::string& text) {
    if (prefs_) {
        prefs_->ShowInfoMessage(text);
    } else {
        prompter_->Information(text);
    }
}

// The line is in the list at once; the scroll that shows it, and the repaint, come at the next
// point where window messages are processed (one for any number of lines appended before it).
void TMain::AddLogLine(const std::string& text) {
    outputLog_->addItem(ToQString(text));
    if (!logScrollPending_) {
        logScrollPending_ = true;
        QTimer::singleShot(0, this, [this] { ShowNewestLogLine(); });
    }
    logFile_->Append(text);
}

void TMain::ShowNewestLogLine() {
    if (!logScrollPending_) return;  // ScrollLogToEnd came first
    logScrollPending_ = false;
    if (outputLog_->count() == 0) return;
    const int itemHeight = std::max(1, outputLog_->sizeHintForRow(0));
    const int visible = VisibleRows(outputLog_->viewport()->height(), itemHeight);
    const int top = TopLineAfterAppend(outputLog_->count(), visible);
    outputLog_->scrollToItem(outputLog_->item(top), QAbstractItemView::PositionAtTop);
    ShowLastLogLine();
}

void TMain::ScrollLogToEnd() {
    logScrollPending_ = false;
    if (outputLog_->count() > 0 && outputLog_->item(outputLog_->count() - 1)->text().isEmpty()) {
        delete outputLog_->takeItem(outputLog_->count() - 1);
    }
    const int itemHeight = std::max(1, outputLog_->sizeHintForRow(0));
    const int visible = VisibleRows(outputLog_->viewport()->height(), itemHeight);
    const int top = TopLineAfterScrollToEnd(outputLog_->count(), visible);
    if (outputLog_->count() > 0) {
        outputLog_->scrollToItem(outputLog_->item(top), QAbstractItemView::PositionAtTop);
        ShowLastLogLine();
    }
    outputLog_->repaint();
}

// The rows counted above may include one that a horizontal scroll bar, come with a wide line,
// has just taken away: the last line is brought fully into sight again.
void TMain::ShowLastLogLine() {
    outputLog_->scrollToItem(outputLog_->item(outputLog_->count() - 1), QAbstractItemView::EnsureVisible);
}

core::OutputLog& TMain::Log() { return *logAdapter_; }

void TMain::AddFileTab(QMdiSubWindow* editor, const QString& caption) {
    const int index = fileTabs_->addTab(ShownAsItself(caption));
    fileTabs_->setTabData(index, QVariant::fromValue(editor));
    fileTabs_->setCurrentIndex(index);
    commands_->Refresh();  // the commands that need an editor
}

void TMain::RemoveFileTab(QMdiSubWindow* editor) {
    for (int i = fileTabs_->count() - 1; i >= 0; --i) {
        if (fileTabs_->tabData(i).value<QMdiSubWindow*>() == editor) fileTabs_->removeTab(i);
    }
    commands_->Refresh();
}

void TMain::SelectEditorTab(QMdiSubWindow* editor) {
    commands_->Refresh();  // commands that act on the active editor follow it
    if (!editor) return;
    for (int i = 0; i < fileTabs_->count(); ++i) {
        if (fileTabs_->tabData(i).value<QMdiSubWindow*>() == editor) fileTabs_->setCurrentIndex(i);
    }
}

// --- workspace -------------------------------------------------------------------------------

void TMain::ViewWorkspace() {
    if (!workspace_) return;
    if (workspace_->isVisible()) {
        workspace_->hide();
        services_->SaveWorkspaceLayout();
        browserPanel_->setFixedWidth(1);
    } else {
        workspace_->show();
        services_->LoadWorkspaceLayout();
        services_->SaveWorkspaceLayout();
    }
    commands_->Command(cmd::kViewWorkspace)->setChecked(workspace_->isVisible());
}

// --- start-up, options, closing --------------------------------------------------------------

void TMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (settings_.ReadIniBool("IDE", "Maximized", false) && !isMaximized()) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (!started_) timer1_->start();
}

void TMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized()) return;
    try {
        settings_.WriteIniBool("IDE", "Maximized", isMaximized());
    } catch (const std::exception&) {
    }
    if (!applyingPanel_) ApplyBottomPanel();
}

// Each step is a command boundary of its own: an error is shown and the start goes on.
void TMain::Timer1Timer() {
    if (loading_) loading_->show();
    QCoreApplication::processEvents();
    timer1_->stop();
    const std::string templatePath = options_.paths.File("NewClass.ucd");
    if (!started_) {
        RunGuarded(*prompter_, [&] {
            if (prefs_) prefs_->LoadPreferences(settings_, templatePath);
        });
        const std::string stored = prefs_ ? FromQString(prefs_->UTPath()->text()) : std::string();
        std::string located;
        if (stored.empty() || !platform::HasSystemDirectory(stored)) {
            located = platform::LocateInstalledGame(options_.homeDirectory);
        }
        FolderChooser chooser = options_.chooseGameFolder;
        if (!chooser) {
            chooser = [this]() -> std::optional<std::string> {
                const QString folder = widgets::BrowseForFolder(
                    this, QStringLiteral("Unreal Tournament..."), QString(), [](const QString& f) {
                        return platform::HasSystemDirectory(FromQString(f));
                    });
                if (folder.isEmpty()) return std::nullopt;
                return FromQString(folder);
            };
        }
        const auto location = LocateGame(stored, located, *prompter_, chooser);
        if (!location) {
            Terminate(0);
            return;
        }
        gameRoot_ = location->gameRoot;
        if (prefs_ && location->changed) prefs_->UTPath()->setText(ToQString(gameRoot_));
        platform::GameInstallEnvironment environment = platform::GameInstallEnvironment::Current();
        if (!options_.homeDirectory.empty()) environment.homeDirectory = options_.homeDirectory;
        install_ = platform::GameInstall::Detect(gameRoot_, environment);
        if (!services_->InitClassBrowser(install_)) {
            Terminate(0);
            return;
        }
        started_ = true;
        RunGuarded(*prompter_, [&] {
            if (prefs_) prefs_->SavePreferences(settings_, templatePath);
        });
        RunGuarded(*prompter_, [this] { OpenArguments(); });
        RunGuarded(*prompter_, [this] { RebuildToolsMenu(); });
    }
    RunGuarded(*prompter_, [this] {
        // The first start (no layout stored yet) shows the workspace docked at the left.
        if (workspace_ && settings_.ReadIniBool("Workspace", "Visible", true)) {
            services_->LoadWorkspaceLayout();
            workspace_->show();
        }
    });
    commands_->Command(cmd::kViewWorkspace)->setChecked(workspace_ && workspace_->isVisible());
    if (loading_) loading_->hide();
    show();
    services_->ActivatePages();
    RunGuarded(*prompter_, [this] {
        const std::string lastProject = settings_.ReadIniString("Preferences", "LastProject", "");
        if (prefs_ && prefs_->Current().autoLoadProject && !lastProject.empty()) {
            services_->LoadProject(lastProject);
        }
    });
    commands_->Refresh();
    emit StartedUp();
    if (options_.startupFinished) {
        QTimer::singleShot(0, this, [finished = std::exchange(options_.startupFinished, {})] { finished(); });
    }
}

// Command-line arguments: a class name opens from the class tree and ends the list, anything
// else opens as a file.
void TMain::OpenArguments() {
    for (const std::string& argument : options_.arguments) {
        std::string name = platform::FileNamePart(argument);
        if (core::EndsWithIgnoringCase(name, ".uc")) {
            name.resize(name.size() - 3);
            const int position = services_->FindClass(name, "");
            if (position >= 0) {
                services_->OpenClass(position);
                break;
            }
        }
        OpenSourceFile(argument, "", "");
    }
}

void TMain::EnvironmentOptions() {
    if (!prefs_) return;
    const std::string templatePath = options_.paths.File("NewClass.ucd");
    if (prefs_->exec() != QDialog::Accepted) {
        prefs_->LoadPreferences(settings_, templatePath);
        return;
    }
    prefs_->SavePreferences(settings_, templatePath);
    if (!core::EqualsIgnoringCase(FromQString(prefs_->UTPath()->text()), gameRoot_)) {
        prompter_->Information(
            "Torvane must be restarted in order to reload the class/package information.  Press "
            "OK to exit this application.");
        Terminate(0);
    }
}

// Every editor is asked, then the project; only when none said Cancel does anything close, so a
// Cancel keeps every editor with its text.
void TMain::closeEvent(QCloseEvent* event) {
    if (busy_.Busy()) {
        prompter_->Information("Torvane is still compiling or running a script.  Close it when that has ended.");
        event->ignore();
        return;
    }
    const std::vector<editor::TEditor*> editors = Editors();
    for (editor::TEditor* editor : editors) {
        if (!editor->CloseQuery()) {
            saveAllAnswer_ = false;
            event->ignore();
            return;
        }
    }
    if (services_->ProjectOpen() && services_->ProjectModified()) {
        switch (prompter_->Confirm("Save changed to your current project?",
                                   core::Buttons::YesNoCancel)) {
            case core::Answer::Cancel:
                saveAllAnswer_ = false;
                event->ignore();
                return;
            case core::Answer::Yes: RunGuarded(*prompter_, [this] { services_->SaveProject(); }); break;
            default: break;
        }
    }
    saveAllAnswer_ = false;
    for (editor::TEditor* editor : editors) editor->CloseAnswered();
    // Settings that cannot be written are reported; the program still closes.
    RunGuarded(*prompter_, [this] {
        services_->SaveWorkspaceLayout();
        if (!isMaximized()) {
            settings_.WriteIniInteger("IDE", "Left", x());
            settings_.WriteIniInteger("IDE", "Top", y());
            settings_.WriteIniInteger("IDE", "Width", width());
            settings_.WriteIniInteger("IDE", "Height", height());
        }
    });
    event->accept();
}

}  // namespace torvane::shell
