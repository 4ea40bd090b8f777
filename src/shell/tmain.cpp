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

#include "core/interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_install_locator.h"
#include "platform/game_paths.h"
#include "shell/game_locator.h"
#include "shell/log_file.h"
#include "shell/main_window_rules.h"
#include "shell/qt_interaction.h"
#include "shell/search_history.h"
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
    prompter_ = options_.prompter;
    if (!prompter_) {
        ownPrompter_ = std::make_unique<MessageBoxPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    logAdapter_ = std::make_unique<LogAdapter>(*this);
    resize(999, 618);
    BuildCentralArea();
    BuildToolBars();
    BuildMenus();
    ConnectFileCommands();
    compileMode_->setCurrentIndex(0);
    // The search settings read "EdData.dat" (created empty when missing) beside the program.
    searchHistory_ = LoadHistoryFile(options_.paths.File("EdData.dat"));
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
            mdi_->setActiveSubWindow(editor);
        }
    });
    connect(mdi_, &QMdiArea::subWindowActivated, this, &TMain::SelectEditorTab);
}

void TMain::ReadLayout() {
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
    viewOutputLog_->setChecked(logVisible_);
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
    viewOutputLog_->setChecked(visible);
    ApplyBottomPanel();
    settings_.WriteIniInteger("OutputLog", "Height", logHeight_);
    settings_.WriteIniBool("OutputLog", "Visible", logVisible_);
}

// --- menus and toolbars ----------------------------------------------------------------------

QAction* TMain::AddAction(QMenu* menu, const QString& caption, const QString& hint,
                          const QKeySequence& key) {
    auto* action = new QAction(caption, this);
    action->setStatusTip(hint);
    if (!key.isEmpty()) action->setShortcut(key);
    menu->addAction(action);
    return action;
}

QAction* TMain::FindAction(const QString& caption) const {
    for (QAction* action : findChildren<QAction*>()) {
        if (action->text() == caption) return action;
    }
    return nullptr;
}

void TMain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    AddAction(file, QStringLiteral("New Package"), QStringLiteral("Create a new package"));
    AddAction(file, QStringLiteral("New Project"), QStringLiteral("Create a new project"));
    AddAction(file, QStringLiteral("&Open"), QStringLiteral("Open a file or a project"), QKeySequence(Qt::CTRL | Qt::Key_O));
    AddAction(file, QStringLiteral("Open Project"), QStringLiteral("Open a project"));
    AddAction(file, QStringLiteral("&Save"), QStringLiteral("Save the active file"), QKeySequence(Qt::CTRL | Qt::Key_S));
    AddAction(file, QStringLiteral("Save &As..."), QStringLiteral("Save the active file under another name"));
    AddAction(file, QStringLiteral("Save Project"), QStringLiteral("Save the project"));
    AddAction(file, QStringLiteral("Save All"), QStringLiteral("Save every modified file"));
    file->addSeparator();
    AddAction(file, QStringLiteral("&Close"), QStringLiteral("Close the active file"));
    AddAction(file, QStringLiteral("Close All"), QStringLiteral("Close all files"));
    AddAction(file, QStringLiteral("Close Project"), QStringLiteral("Close the project"));
    AddAction(file, QStringLiteral("Revert"), QStringLiteral("Reload the active file"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R));
    file->addSeparator();
    connect(AddAction(file, QStringLiteral("E&xit"), QStringLiteral("Leave Torvane")),
            &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    auto onEditor = [this](auto call) {
        return [this, call] {
            if (QMdiSubWindow* sub = mdi_->activeSubWindow()) {
                if (auto* memo = sub->findChild<QsciScintilla*>()) call(memo);
            }
        };
    };
    connect(AddAction(edit, QStringLiteral("Undo"), QStringLiteral("Undo the last change"), QKeySequence(Qt::CTRL | Qt::Key_Z)),
            &QAction::triggered, this, onEditor([](QsciScintilla* m) { m->undo(); }));
    connect(AddAction(edit, QStringLiteral("Redo"), QStringLiteral("Redo the last undone change")),
            &QAction::triggered, this, onEditor([](QsciScintilla* m) { m->redo(); }));
    edit->addSeparator();
    connect(AddAction(edit, QStringLiteral("Cu&t"), QStringLiteral("Cut the selection")),
            &QAction::triggered, this, onEditor([](QsciScintilla* m) { m->cut(); }));
    connect(AddAction(edit, QStringLiteral("&Copy"), QStringLiteral("Copy the selection")),
            &QAction::triggered, this, onEditor([](QsciScintilla* m) { m->copy(); }));
    connect(AddAction(edit, QStringLiteral("&Paste"), QStringLiteral("Paste the clipboard")),
            &QAction::triggered, this, onEditor([](QsciScintilla* m) { m->paste(); }));
    connect(AddAction(edit, QStringLiteral("Select All"), QStringLiteral("Select the whole text"), QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, onEditor([](QsciScintilla* m) { m->selectAll(true); }));

    QMenu* search = menuBar()->addMenu(QStringLiteral("&Search"));
    AddAction(search, QStringLiteral("Find"), QStringLiteral("Find text"), QKeySequence(Qt::CTRL | Qt::Key_F));
    AddAction(search, QStringLiteral("Find && Replace"), QStringLiteral("Find and replace text"), QKeySequence(Qt::CTRL | Qt::Key_R));
    AddAction(search, QStringLiteral("Search Again"), QStringLiteral("Repeat the last search"), QKeySequence(Qt::Key_F3));
    AddAction(search, QStringLiteral("Find in Files"), QStringLiteral("Search all sources"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F));
    AddAction(search, QStringLiteral("Goto Line #"), QStringLiteral("Go to a line"), QKeySequence(Qt::CTRL | Qt::Key_L));

    QMenu* project = menuBar()->addMenu(QStringLiteral("&Project"));
    connect(AddAction(project, QStringLiteral("Compile"), QStringLiteral("Compile the changed packages"), QKeySequence(Qt::Key_F7)),
            &QAction::triggered, this, [this] { emit CompileRequested(false); });
    connect(AddAction(project, QStringLiteral("Compile && Run"), QStringLiteral("Compile, then run the game"), QKeySequence(Qt::CTRL | Qt::Key_F7)),
            &QAction::triggered, this, [this] { emit CompileRequested(true); });
    AddAction(project, QStringLiteral("Run"), QStringLiteral("Run the game"), QKeySequence(Qt::Key_F9));
    project->addSeparator();
    projectSettings_ = AddAction(project, QStringLiteral("Settings..."), QStringLiteral("Edit the project settings"), QKeySequence(Qt::Key_F4));
    projectSettings_->setEnabled(false);
    doPreBatch_ = AddAction(project, QStringLiteral("Do PreBatch..."), QStringLiteral("Run the pre-compile script"));
    doPreBatch_->setEnabled(false);
    QMenu* postBatch = project->addMenu(QStringLiteral("Do PostBatch..."));
    AddAction(postBatch, QStringLiteral("Simulate Successful Compile"), QStringLiteral("Run the post-compile script as after a successful compile"));
    AddAction(postBatch, QStringLiteral("Simulate Failed Compile"), QStringLiteral("Run the post-compile script as after a failed compile"));

    QMenu* classMenu = menuBar()->addMenu(QStringLiteral("&Class"));
    AddAction(classMenu, QStringLiteral("Create a SubClass"), QStringLiteral("Create a sub-class of the chosen class"), QKeySequence(Qt::CTRL | Qt::Key_N));
    AddAction(classMenu, QStringLiteral("Delete Class"), QStringLiteral("Delete the chosen class"));
    AddAction(classMenu, QStringLiteral("Rebuild Class Tree"), QStringLiteral("Scan all sources again"));
    AddAction(classMenu, QStringLiteral("Default Properties"), QStringLiteral("Show the default properties of the chosen class"), QKeySequence(Qt::Key_F4));

    toolsMenu_ = menuBar()->addMenu(QStringLiteral("&Tools"));
    connect(AddAction(toolsMenu_, QStringLiteral("Editor Preferences..."), QStringLiteral("Colours and fonts of the editors")),
            &QAction::triggered, this, [this] {
                if (selEditOptions_) selEditOptions_->exec();
            });
    connect(AddAction(toolsMenu_, QStringLiteral("Enviroment Options..."), QStringLiteral("Preferences")),
            &QAction::triggered, this, &TMain::EnvironmentOptions);
    toolsMenu_->addSeparator();
    AddAction(toolsMenu_, QStringLiteral("Configure External Tools..."), QStringLiteral("Add, edit and remove tools"));
    toolsMenu_->addSeparator();

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    viewWorkspace_ = AddAction(view, QStringLiteral("WorkSpace"), QStringLiteral("Show or hide the workspace"), QKeySequence(Qt::CTRL | Qt::Key_F12));
    viewWorkspace_->setCheckable(true);
    connect(viewWorkspace_, &QAction::triggered, this, &TMain::ViewWorkspace);
    viewOutputLog_ = AddAction(view, QStringLiteral("Output Log"), QStringLiteral("Show or hide the output log"), QKeySequence(Qt::CTRL | Qt::Key_F11));
    viewOutputLog_->setCheckable(true);
    viewOutputLog_->setChecked(true);
    connect(viewOutputLog_, &QAction::triggered, this, &TMain::SetOutputLogVisible);
    QMenu* tabs = view->addMenu(QStringLiteral("Workspace Tabs"));
    for (const char* position : {"Top", "Bottom", "Left", "Right"}) {
        AddAction(tabs, QString::fromLatin1(position), QStringLiteral("Position of the workspace tabs"));
    }
    view->addSeparator();
    for (const char* entry : {"View | Edit UnrealTournament.log", "View | Edit UnrealTournament.ini",
                              "View | Edit UCC.Log", "View | Edit Server.log"}) {
        AddAction(view, QString::fromLatin1(entry), QStringLiteral("Open one of the game's files"));
    }

    windowMenu_ = menuBar()->addMenu(QStringLiteral("&Window"));
    connect(AddAction(windowMenu_, QStringLiteral("&Cascade"), QStringLiteral("Cascade the editors")),
            &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(AddAction(windowMenu_, QStringLiteral("Tile &Horizontally"), QStringLiteral("Tile the editors one above the other")),
            &QAction::triggered, this, [this] { ArrangeTiled(true); });
    connect(AddAction(windowMenu_, QStringLiteral("Tile &Vertically"), QStringLiteral("Tile the editors side by side")),
            &QAction::triggered, this, [this] { ArrangeTiled(false); });
    connect(AddAction(windowMenu_, QStringLiteral("&Minimize All"), QStringLiteral("Minimize every editor")),
            &QAction::triggered, this, [this] {
                for (QMdiSubWindow* sub : mdi_->subWindowList()) sub->showMinimized();
            });
    connect(AddAction(windowMenu_, QStringLiteral("&Arrange All"), QStringLiteral("Arrange the minimized editors")),
            &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    windowMenu_->addSeparator();
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] {
        const auto actions = windowMenu_->actions();
        for (int i = 6; i < actions.size(); ++i) delete actions[i];
        for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
            QAction* item = windowMenu_->addAction(sub->windowTitle());
            connect(item, &QAction::triggered, this, [this, sub] { mdi_->setActiveSubWindow(sub); });
        }
    });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(AddAction(help, QStringLiteral("&About..."), QStringLiteral("About Torvane")),
            &QAction::triggered, this, [this] {
                if (about_) about_->exec();
            });

    // Pop-up menu of the file tabs: the File menu's own commands.
    for (const char* caption : {"&Save", "Revert", "&Close"}) {
        if (QAction* action = FindAction(QString::fromLatin1(caption))) fileTabs_->addAction(action);
    }
}

void TMain::BuildToolBars() {
    QToolBar* general = addToolBar(QStringLiteral("General"));
    general->setObjectName(QStringLiteral("GeneralToolBar"));
    general->setMovable(true);
    QAction* newFile = general->addAction(QStringLiteral("New"));
    newFile->setStatusTip(QStringLiteral("A new empty file"));
    connect(newFile, &QAction::triggered, this, &TMain::NewFile);
    connect(general->addAction(QStringLiteral("Open")), &QAction::triggered, this,
            [this] { OpenFile(false); });
    connect(general->addAction(QStringLiteral("Save")), &QAction::triggered, this, &TMain::SaveActive);
    general->addSeparator();
    general->addAction(QStringLiteral("Cut"))->setStatusTip(QStringLiteral("Cut the selection"));
    general->addAction(QStringLiteral("Copy"))->setStatusTip(QStringLiteral("Copy the selection"));
    general->addAction(QStringLiteral("Paste"))->setStatusTip(QStringLiteral("Paste the clipboard"));
    general->addSeparator();
    connect(general->addAction(QStringLiteral("Cascade")), &QAction::triggered, this,
            [this] { mdi_->cascadeSubWindows(); });
    connect(general->addAction(QStringLiteral("Tile Horizontally")), &QAction::triggered, this,
            [this] { ArrangeTiled(true); });
    connect(general->addAction(QStringLiteral("Tile Vertically")), &QAction::triggered, this,
            [this] { ArrangeTiled(false); });

    QToolBar* find = addToolBar(QStringLiteral("Find"));
    find->setObjectName(QStringLiteral("FindToolBar"));
    quickFind_ = new QLineEdit(find);
    quickFind_->setObjectName(QStringLiteral("QuickFind"));
    quickFind_->setToolTip(QStringLiteral("Text to find..."));
    quickFind_->setStatusTip(QStringLiteral("Text to find..."));
    quickFind_->setFixedWidth(160);
    find->addWidget(quickFind_);
    connect(quickFind_, &QLineEdit::returnPressed, this, &TMain::QuickFindSearch);
    connect(find->addAction(QStringLiteral("Find")), &QAction::triggered, this, &TMain::QuickFindSearch);
    find->addAction(QStringLiteral("Find in Files"))->setStatusTip(QStringLiteral("Search all sources"));

    QToolBar* compile = addToolBar(QStringLiteral("Compile"));
    compile->setObjectName(QStringLiteral("CompileToolBar"));
    compileMode_ = new QComboBox(compile);
    compileMode_->setObjectName(QStringLiteral("CompileMode"));
    compileMode_->addItems({QStringLiteral("Release Mode"), QStringLiteral("Debug Mode"),
                            QStringLiteral("Beta Mode")});
    compile->addWidget(compileMode_);
    connect(compileMode_, &QComboBox::currentIndexChanged, this, [this] {
        if (services_->ProjectOpen()) services_->MarkProjectModified();
    });
    QAction* compileButton = compile->addAction(QStringLiteral("Compile"));
    compileButton->setStatusTip(QStringLiteral("Compile the changed packages"));
    connect(compileButton, &QAction::triggered, this, [this] { emit CompileRequested(false); });
    QAction* compileRun = compile->addAction(QStringLiteral("Compile & Run"));
    compileRun->setStatusTip(QStringLiteral("Compile, then run the game"));
    connect(compileRun, &QAction::triggered, this, [this] { emit CompileRequested(true); });
    compile->addAction(QStringLiteral("Run"))->setStatusTip(QStringLiteral("Run the game"));
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

bool TMain::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        statusLine_->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// --- output log and file tabs ----------------------------------------------------------------

void TMain::AddLogLine(const std::string& text) {
    outputLog_->addItem(ToQString(text));
    const int itemHeight = std::max(1, outputLog_->sizeHintForRow(0));
    const int visible = VisibleRows(outputLog_->viewport()->height(), itemHeight);
    const int top = TopLineAfterAppend(outputLog_->count(), visible);
    outputLog_->scrollToItem(outputLog_->item(top), QAbstractItemView::PositionAtTop);
    AppendToLogFile(options_.paths.File("Torvane.log"), text);
}

void TMain::ScrollLogToEnd() {
    if (outputLog_->count() > 0 && outputLog_->item(outputLog_->count() - 1)->text().isEmpty()) {
        delete outputLog_->takeItem(outputLog_->count() - 1);
    }
    const int itemHeight = std::max(1, outputLog_->sizeHintForRow(0));
    const int visible = VisibleRows(outputLog_->viewport()->height(), itemHeight);
    const int top = TopLineAfterScrollToEnd(outputLog_->count(), visible);
    if (outputLog_->count() > 0) {
        outputLog_->scrollToItem(outputLog_->item(top), QAbstractItemView::PositionAtTop);
    }
    outputLog_->repaint();
}

core::OutputLog& TMain::Log() { return *logAdapter_; }

void TMain::AddFileTab(QMdiSubWindow* editor, const QString& caption) {
    const int index = fileTabs_->addTab(caption);
    fileTabs_->setTabData(index, QVariant::fromValue(editor));
    fileTabs_->setCurrentIndex(index);
}

void TMain::RemoveFileTab(QMdiSubWindow* editor) {
    for (int i = fileTabs_->count() - 1; i >= 0; --i) {
        if (fileTabs_->tabData(i).value<QMdiSubWindow*>() == editor) fileTabs_->removeTab(i);
    }
}

void TMain::SelectEditorTab(QMdiSubWindow* editor) {
    if (!editor) return;
    for (int i = 0; i < fileTabs_->count(); ++i) {
        if (fileTabs_->tabData(i).value<QMdiSubWindow*>() == editor) fileTabs_->setCurrentIndex(i);
    }
}

void TMain::QuickFindSearch() {
    const QString text = quickFind_->text();
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    auto* memo = sub ? sub->findChild<QsciScintilla*>() : nullptr;
    if (text.isEmpty() || !memo) return;
    int line = 0, index = 0;
    memo->getCursorPosition(&line, &index);
    if (memo->findFirst(text, false, false, false, false, true, line, index)) {
        lastSearchText_ = text;
    } else {
        prompter_->Information("\"" + FromQString(text) + "\" not found");
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
    viewWorkspace_->setChecked(workspace_->isVisible());
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

void TMain::Timer1Timer() {
    if (loading_) loading_->show();
    QCoreApplication::processEvents();
    timer1_->stop();
    const std::string templatePath = options_.paths.File("NewClass.ucd");
    if (!started_) {
        try {
            if (prefs_) prefs_->LoadPreferences(settings_, templatePath);
        } catch (const std::exception& e) {
            prompter_->Error(e.what());
        }
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
        try {
            if (prefs_) prefs_->SavePreferences(settings_, templatePath);
        } catch (const std::exception& e) {
            prompter_->Error(e.what());
        }
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
    if (workspace_ && settings_.ReadIniBool("Workspace", "Visible", false)) {
        services_->LoadWorkspaceLayout();
        workspace_->show();
    }
    viewWorkspace_->setChecked(workspace_ && workspace_->isVisible());
    if (loading_) loading_->hide();
    show();
    services_->ActivatePages();
    const std::string lastProject = settings_.ReadIniString("Preferences", "LastProject", "");
    if (prefs_ && prefs_->Current().autoLoadProject && !lastProject.empty()) {
        services_->LoadProject(lastProject);
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

void TMain::closeEvent(QCloseEvent* event) {
    for (QMdiSubWindow* editor : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!editor->close()) {
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
            case core::Answer::Yes: services_->SaveProject(); break;
            default: break;
        }
    }
    saveAllAnswer_ = false;
    services_->SaveWorkspaceLayout();
    if (!isMaximized()) {
        settings_.WriteIniInteger("IDE", "Left", x());
        settings_.WriteIniInteger("IDE", "Top", y());
        settings_.WriteIniInteger("IDE", "Width", width());
        settings_.WriteIniInteger("IDE", "Height", height());
    }
    event->accept();
}

}  // namespace torvane::shell
