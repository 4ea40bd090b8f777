#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "editor/editor_host.h"
#include "platform/game_install.h"
#include "shell/busy_state.h"
#include "shell/command_registry.h"
#include "shell/main_window_rules.h"
#include "shell/program_paths.h"
#include "shell/settings_file.h"
#include "shell/workspace_services.h"

class QAction;
class QComboBox;
class QsciScintilla;
class QLineEdit;
class QListWidget;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSplitter;
class QStatusBar;
class QTabBar;
class QTimer;

namespace torvane::core {
class OutputLog;
class Prompter;
}

namespace torvane::editor {
class TEdPersistent;
class TEditor;
class TParserRepository;
}

namespace torvane::shell {

class LogFile;
class TLoading;
class TPrefs;
class TAboutBox;
class TAddEditTool;
class TConfigExtTools;
class TSelEditOptions;

struct TMainOptions {
    ProgramPaths paths;
    std::vector<std::string> arguments;  // files to open
    core::Prompter* prompter = nullptr;  // nullptr: message boxes
    // The folder browser for the game root; nullptr: the real one.
    std::function<std::optional<std::string>()> chooseGameFolder;
    // Ends the process at once; nullptr: std::exit.
    std::function<void(int)> terminate;
    std::string homeDirectory;  // where installs and the game's per-user files are; empty: $HOME
    // File dialogs (nullptr: the real ones). Open gets the initial directory and whether the
    // project filter is selected; Save gets the current caption. Both return the chosen path.
    std::function<std::optional<std::string>(const std::string& directory, bool projectFilter)>
        chooseOpenFile;
    std::function<std::optional<std::string>(const std::string& current)> chooseSaveFile;
    // Called once the start-up sequence has ended (class trees filled, main window shown) and
    // the events it caused, the first painting among them, have been handled.
    std::function<void()> startupFinished;
};

// The frame window: editors in the MDI area, the docking panel for the workspace, and the
// bottom panel with the output log, the file tabs and the status bar.
class TMain final : public QMainWindow, public editor::EditorHost {
    Q_OBJECT

public:
    explicit TMain(TMainOptions options, QWidget* parent = nullptr);
    ~TMain() override;

    // The windows created after this one (start-up order).
    void AttachWindows(TLoading* loading, TPrefs* prefs, TAboutBox* about,
                       TSelEditOptions* selEditOptions, QWidget* workspace);
    void SetWorkspaceServices(WorkspaceServices* services);
    void SetParsers(editor::TParserRepository* parsers) { parsers_ = parsers; }
    // The tools dialog and its add dialog (Tools > Configure External Tools...).
    void AttachToolDialogs(TConfigExtTools* configTools, TAddEditTool* addEditTool);
    // Runs a macro tool's script line (the compile controller's interpreter).
    void SetMacroRunner(std::function<void(const std::string& scriptLine)> runMacro) { runMacro_ = std::move(runMacro); }

    // File commands.
    editor::TEditor* OpenSourceFile(const std::string& path, const std::string& package,
                                    const std::string& className);
    void NewFile();
    void OpenFile(bool projectFilter);
    void SaveActive();
    void SaveAs();
    void SaveAll();
    void RevertActive();
    void CloseActive();
    void CloseAll();
    // View entries: a game file below the game root, closing an open editor of it first when
    // closeFirst is set.
    void ViewGameFile(const std::string& file, bool closeFirst);
    std::vector<editor::TEditor*> Editors() const;  // in window order
    editor::TEditor* ActiveEditor() const;
    bool LastEditorMaximized() const { return lastEditorMaximized_; }

    // A text that is no file: shown read-only under caption (an editor with that caption is
    // brought to the front), closed without a question. fileKind names the file whose kind
    // colours the text ("Actor.uc").
    editor::TEditor* OpenTextView(const std::string& caption, const std::string& bytes, const std::string& fileKind);

    void AddLogLine(const std::string& text);
    // The status line at the bottom of the window.
    void ShowStatusText(const std::string& text);
    QString StatusText() const;
    // An information box unless the preferences limit pop-up messages.
    void ShowInfoMessage(const std::string& text);
    void ScrollLogToEnd();
    core::OutputLog& Log();
    void SelectEditorTab(QMdiSubWindow* editor);
    void AddFileTab(QMdiSubWindow* editor, const QString& caption);
    void RemoveFileTab(QMdiSubWindow* editor);

    const std::string& GameRoot() const { return gameRoot_; }
    // The game install, computed once when the game root is known.
    const platform::GameInstall& Install() const { return install_; }
    bool Started() const { return started_; }
    SettingsFile& Settings() { return settings_; }
    const ProgramPaths& Paths() const { return options_.paths; }
    QString CompileMode() const;
    int CompileModeIndex() const;
    void SetCompileModeIndex(int index);
    core::Prompter& Prompter() { return *prompter_; }
    // The last search and the find and replace histories, shared by every editor.
    editor::TEdPersistent& SearchSettings() { return *searchSettings_; }

    // The start-up sequence (run by the first timer tick).
    void Timer1Timer();
    // Bottom panel: its height, and a user's resize through the splitter (refused below 55).
    int BottomPanelHeight() const;
    int OutputLogHeight() const { return logHeight_; }
    bool ResizeBottomPanel(int newHeight);
    void SetOutputLogVisible(bool visible);
    void EnvironmentOptions();

    // The Tools menu: its five fixed items, then one item per stored tool (Tool0, Tool1, ... up
    // to the first empty one), carrying the tool's index.
    void RebuildToolsMenu();
    // A tool item's click: runs ToolExec<index> as it is stored now, a program (waited for, the
    // IDE minimised when the preferences say so) or a macro. Refused while a compile or script
    // runs; a program that cannot be started is ignored.
    void ToolLaunch(int index);
    // Tools > Configure External Tools...: the tools dialog, loaded from the settings file.
    void ConfigureExternalTools();

    QListWidget* OutputLogWidget() const { return outputLog_; }
    QTabBar* FileTabs() const { return fileTabs_; }
    QMdiArea* MdiArea() const { return mdi_; }
    QWidget* BrowserPanel() const { return browserPanel_; }
    QMenu* ToolsMenu() const { return toolsMenu_; }
    // The Find tool bar's text box.
    QLineEdit* QuickFindBox() const { return quickFind_; }
    // The IDE's commands, found by id (shell/command_ids.h).
    CommandRegistry& Commands() override { return *commands_; }
    // A compile, a script, a rebuild or a find in files running; see BusyState.
    BusyState& Busy() { return busy_; }
    // Availability rules of the commands: why one cannot run now, empty when it can. BusyReason
    // while a compile, script, rebuild or search runs; ProjectReason also without an open project.
    QString BusyReason() const;
    QString ProjectReason() const;
    // Why a command on files or text cannot run: no file is open.
    QString EditorReason() const;

signals:
    // The start-up sequence has ended: the game is known and the class trees are filled.
    void StartedUp();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

public:
    // EditorHost
    core::Prompter& EditorPrompter() override { return *prompter_; }
    SettingsFile& EditorSettings() override { return settings_; }
    bool SaveAllAnswer() const override { return saveAllAnswer_; }
    void SetSaveAllAnswer(bool value) override { saveAllAnswer_ = value; }
    void SetLastEditorMaximized(bool value) override { lastEditorMaximized_ = value; }
    void EditorActivated(editor::TEditor& editor) override;
    void EditorClosed(editor::TEditor& editor) override;
    void SelectNextTab() override;
    std::string PathOfCaption(const std::string& caption) const override;

private:
    class LogAdapter;

    void ConnectFileCommands();
    // An editor for caption, in the area and the file tabs, before its text is loaded.
    editor::TEditor* AddEditor(const std::string& caption);
    editor::TEditor* OpenEditor(const std::string& caption) const;
    bool SaveEditor(editor::TEditor& editor);

    void RegisterCommands();
    void ConnectCommands();
    void BuildMenus();
    void BuildToolBars();
    void BuildCentralArea();
    void ReadLayout();
    void OpenArguments();
    void ApplyBottomPanel();
    void ShowLastLogLine();
    void SplitterMoved();
    void ArrangeTiled(bool horizontally);
    void ViewWorkspace();
    void OnActiveEditor(const char* id, void (*call)(QsciScintilla&));
    void Terminate(int code);
    void ShowNewestLogLine();
    void UpdateToolItems();

    TMainOptions options_;
    SettingsFile settings_;
    std::unique_ptr<core::Prompter> ownPrompter_;
    core::Prompter* prompter_ = nullptr;
    WorkspaceServices defaultServices_;
    WorkspaceServices* services_ = &defaultServices_;
    std::unique_ptr<LogAdapter> logAdapter_;
    std::unique_ptr<LogFile> logFile_;
    bool logScrollPending_ = false;
    std::unique_ptr<CommandRegistry> commands_;
    BusyState busy_;

    std::string gameRoot_;
    platform::GameInstall install_;
    bool started_ = false;
    bool saveAllAnswer_ = false;
    bool lastEditorMaximized_ = false;
    int logHeight_ = kDesignedLogHeight;
    bool logVisible_ = true;
    bool applyingPanel_ = false;
    std::unique_ptr<editor::TEdPersistent> searchSettings_;

    QMdiArea* mdi_ = nullptr;
    QWidget* browserPanel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* bottomPanel_ = nullptr;
    QListWidget* outputLog_ = nullptr;
    QTabBar* fileTabs_ = nullptr;
    QStatusBar* statusLine_ = nullptr;
    QLineEdit* quickFind_ = nullptr;
    QComboBox* compileMode_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QTimer* timer1_ = nullptr;

    TLoading* loading_ = nullptr;
    TPrefs* prefs_ = nullptr;
    TAboutBox* about_ = nullptr;
    TSelEditOptions* selEditOptions_ = nullptr;
    QWidget* workspace_ = nullptr;
    editor::TParserRepository* parsers_ = nullptr;
    TConfigExtTools* configTools_ = nullptr;
    TAddEditTool* addEditTool_ = nullptr;
    std::function<void(const std::string&)> runMacro_;
};

}  // namespace torvane::shell
