// The IDE's commands as a user reaches them: keys pressed in a real editor, menus, tool bars and
// context menus of the real windows.
#include <gtest/gtest.h>

#include <Qsci/qscicommandset.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <map>
#include <set>

#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/qt_wait.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/tworkspace.h"

namespace torvane::shell {
namespace {

using editor::TEditor;

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = testing::CopySampleGame(dir_);
        platform::CreateDirectories(dir_.Path("prog"));
        dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n");
        TMainOptions options;
        options.paths = {dir_.Path("prog"), dir_.Path("prog")};
        options.prompter = &prompter_;
        options.terminate = [](int) { FAIL() << "terminated"; };
        options.chooseOpenFile = [this](const std::string&, bool project) {
            openedWithProjectFilter_ = project;
            return openChoice_;
        };
        windows_ = std::make_unique<AppWindows>(std::move(options));
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
        main().show();
        main().activateWindow();
        ASSERT_TRUE(testing::WaitUntil([this] { return QApplication::activeWindow() == &main(); }));
    }
    TMain& main() { return windows_->main(); }
    workspace::TWorkspace& workspace() {
        return *static_cast<workspace::TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace")));
    }
    // A writable source in an editor with the focus.
    TEditor* OpenNotes(const std::string& text = "first line\r\nsecond line\r\n") {
        const std::string path = dir_.Write("notes.txt", text);
        TEditor* editor = main().OpenSourceFile(path, "", "");
        editor->Memo1()->setFocus();
        return editor;
    }
    // A menu of the menu bar, or a sub-menu of it, by caption.
    QMenu* Menu(const QString& caption, QMenu* in = nullptr) {
        const auto actions = in ? in->actions() : main().menuBar()->actions();
        for (QAction* action : actions) {
            if (action->menu() && action->text() == caption) return action->menu();
        }
        return nullptr;
    }
    QAction* Entry(QWidget* menu, const QString& caption) {
        for (QAction* action : menu->actions()) {
            if (action->text() == caption) return action;
        }
        return nullptr;
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<AppWindows> windows_;
    std::optional<bool> openedWithProjectFilter_;
    std::optional<std::string> openChoice_;
};

// A tool bar's action by the text its button shows.
QAction* ToolButton(TMain& main, const char* toolBar, const QString& text) {
    for (QAction* action : main.findChild<QToolBar*>(QString::fromLatin1(toolBar))->actions()) {
        if (action->iconText() == text) return action;
    }
    return nullptr;
}

TEST_F(CommandsTest, EveryKeyBelongsToOneAction) {
    TEditor* editor = OpenNotes();
    std::map<int, std::set<QAction*>> actionsOfKey;
    for (QAction* action : main().findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts()) actionsOfKey[key[0].toCombined()].insert(action);
    }
    ASSERT_FALSE(actionsOfKey.empty());
    for (const auto& [key, actions] : actionsOfKey) {
        EXPECT_EQ(actions.size(), 1u) << QKeySequence(key).toString().toStdString() << " is bound "
                                      << actions.size() << " times";
    }
    // The editor control has given up every key of the IDE's window-wide commands.
    QsciCommandSet* controlKeys = editor->Memo1()->standardCommands();
    for (const QKeySequence& key : main().Commands().WindowKeys()) {
        EXPECT_EQ(controlKeys->boundTo(key[0].toCombined()), nullptr) << key.toString().toStdString();
    }
    // The editor window's own keys (the bookmarks, Shift+Tab to the next file) belong to no action.
    std::vector<QKeyCombination> windowOwn{QKeyCombination(Qt::SHIFT, Qt::Key_Backtab),
                                           QKeyCombination(Qt::SHIFT, Qt::Key_Tab)};
    for (int digit = 0; digit <= 9; ++digit) {
        const auto key = static_cast<Qt::Key>(Qt::Key_0 + digit);
        windowOwn.push_back(QKeyCombination(Qt::CTRL, key));
        windowOwn.push_back(QKeyCombination(Qt::ALT, key));
    }
    for (const QKeyCombination key : windowOwn) {
        EXPECT_EQ(actionsOfKey.count(key.toCombined()), 0u) << QKeySequence(key).toString().toStdString();
    }
}

// Keys pressed in a writable editor reach the one command they belong to.
TEST_F(CommandsTest, KeysInAnEditorReachTheirCommands) {
    TEditor* editor = OpenNotes();
    auto* memo = editor->Memo1();
    memo->SendScintilla(QsciScintilla::SCI_SETSEL, 0L, 0L);
    QTest::keyClicks(memo, "new ");
    QTest::keyClick(memo, Qt::Key_S, Qt::ControlModifier);  // File > Save
    EXPECT_EQ(dir_.Read("notes.txt"), "new first line\r\nsecond line\r\n");
    EXPECT_FALSE(editor->Modified());

    // Goto Line #: its dialog (closed here with Esc), never the control's "cut line".
    bool gotoLineShown = false;
    QTimer::singleShot(0, [&gotoLineShown] {
        QWidget* dialog = nullptr;
        testing::WaitUntil([&dialog] { return (dialog = QApplication::activeModalWidget()) != nullptr; });
        gotoLineShown = dialog && dialog->objectName() == "TGotoLineDialog";
        if (dialog) QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::keyClick(memo, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(gotoLineShown);
    ASSERT_TRUE(testing::WaitUntil([this] { return QApplication::activeWindow() == &main(); }));
    EXPECT_EQ(memo->text().toStdString(), "new first line\r\nsecond line\r\n");

    QTest::keyClicks(memo, "xx");
    prompter_.QueueAnswer(core::Answer::Yes);
    QTest::keyClick(memo, Qt::Key_R, Qt::ControlModifier | Qt::AltModifier);  // File > Revert
    ASSERT_FALSE(prompter_.shown().empty());
    EXPECT_EQ(prompter_.shown().back().text,
              "This file has been modified.  Reverting will lose all changes.  Continue");
    EXPECT_EQ(memo->text().toStdString(), "new first line\r\nsecond line\r\n");

    QTest::keyClicks(memo, "yy");
    QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);  // Edit > Undo
    QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(memo->text().toStdString(), "new first line\r\nsecond line\r\n");

    QTest::keyClick(memo, Qt::Key_F4, Qt::ControlModifier);  // File > Close
    EXPECT_TRUE(editor->IsClosed());
}

// Text, caret and selection of an editor control, to tell whether a key changed anything.
struct MemoState {
    std::string text;
    long anchor = 0;
    long caret = 0;
    bool operator==(const MemoState&) const = default;
};
void PrintTo(const MemoState& state, std::ostream* out) {
    *out << "\"" << state.text << "\" selected " << state.anchor << ".." << state.caret;
}
MemoState StateOf(editor::TSyntaxMemo* memo) {
    return {memo->text().toStdString(), memo->SendScintilla(QsciScintilla::SCI_GETANCHOR),
            memo->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS)};
}

// A key the IDE owns never edits text: while its command cannot run, pressing it in an editor
// does nothing at all (the control's own binding of the key is gone).
TEST_F(CommandsTest, AKeyOfTheIdeNeverEditsTextWhileItsCommandIsDisabled) {
    TEditor* editor = OpenNotes("first line\r\nsecond line\r\nthird line\r\n");
    auto* memo = editor->Memo1();
    QTest::keyClicks(memo, "typed ");  // something to undo
    memo->SendScintilla(QsciScintilla::SCI_SETSEL, 20L, 24L);
    const MemoState before = StateOf(memo);
    CommandRegistry& commands = main().Commands();
    for (const std::string& id : commands.Ids()) commands.Command(id)->setEnabled(false);
    const std::vector<QKeySequence> keys = commands.WindowKeys();
    ASSERT_GE(keys.size(), 15u);
    for (const QKeySequence& key : keys) {
        QTest::keyClick(memo, key[0].key(), key[0].keyboardModifiers());
        EXPECT_EQ(StateOf(memo), before) << key.toString().toStdString();
        ASSERT_FALSE(editor->IsClosed()) << key.toString().toStdString();
    }
}

// Commands registered after an editor was created (another window's, a later feature's) take
// their keys from the control of every editor, open or opened later.
TEST_F(CommandsTest, KeysOfCommandsRegisteredLaterReachTheirCommands) {
    TEditor* first = OpenNotes();
    const int duplicateLine = QKeyCombination(Qt::CTRL | Qt::Key_D).toCombined();
    ASSERT_NE(first->Memo1()->standardCommands()->boundTo(duplicateLine), nullptr);  // the control's own
    int runs = 0;
    main().Commands().Register("Test.Later", "Later", "A command registered late", QKeySequence(Qt::CTRL | Qt::Key_D));
    main().Commands().Connect("Test.Later", &main(), [&runs] { ++runs; });
    const MemoState before = StateOf(first->Memo1());
    QTest::keyClick(first->Memo1(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(StateOf(first->Memo1()), before);

    TEditor* second = main().OpenSourceFile(dir_.Write("other.txt", "other\r\n"), "", "");
    second->Memo1()->setFocus();
    QTest::keyClick(second->Memo1(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(second->Memo1()->text(), "other\r\n");
}

// The control keeps the editing keys the IDE leaves to it.
TEST_F(CommandsTest, TheControlKeepsItsOwnEditingKeys) {
    TEditor* editor = OpenNotes("alpha beta\r\n");
    auto* memo = editor->Memo1();
    memo->setSelection(0, 0, 0, 5);
    QTest::keyClick(memo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "alpha");
    QTest::keyClick(memo, Qt::Key_End);
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(memo->text(), "alpha betaalpha\r\n");
    QTest::keyClick(memo, Qt::Key_Backspace, Qt::ControlModifier);  // deletes the word before the caret
    EXPECT_EQ(memo->text(), "alpha \r\n");
    QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);  // Edit > Undo
    QTest::keyClick(memo, Qt::Key_Y, Qt::ControlModifier);  // the control's redo
    EXPECT_EQ(memo->text(), "alpha \r\n");
    QTest::keyClick(memo, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(memo, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(memo->text(), "\r\n");
    EXPECT_EQ(QApplication::clipboard()->text(), "alpha ");
}

// The commands on files and text are disabled while no file is open, and follow the editors.
TEST_F(CommandsTest, FileAndTextCommandsNeedAnOpenFile) {
    const char* ids[] = {cmd::kSave, cmd::kSaveAs, cmd::kSaveAll, cmd::kClose, cmd::kCloseAll, cmd::kRevert,
                         cmd::kUndo, cmd::kRedo, cmd::kCut, cmd::kCopy, cmd::kPaste, cmd::kSelectAll};
    for (const char* id : ids) EXPECT_FALSE(main().Commands().Command(id)->isEnabled()) << id;
    TEditor* editor = OpenNotes();
    for (const char* id : ids) EXPECT_TRUE(main().Commands().Command(id)->isEnabled()) << id;
    editor->close();
    QApplication::processEvents();
    for (const char* id : ids) EXPECT_FALSE(main().Commands().Command(id)->isEnabled()) << id;
    EXPECT_TRUE(main().Commands().Command(cmd::kOpen)->isEnabled());
}

TEST_F(CommandsTest, ToolBarCutCopyPasteActOnTheActiveEditor) {
    TEditor* editor = OpenNotes("alpha beta\r\n");
    auto* memo = editor->Memo1();
    memo->setSelection(0, 0, 0, 5);
    ToolButton(main(), "GeneralToolBar", "Cut")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "alpha");
    EXPECT_EQ(memo->text(), " beta\r\n");
    memo->setSelection(0, 1, 0, 5);
    ToolButton(main(), "GeneralToolBar", "Copy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "beta");
    memo->setCursorPosition(0, 0);
    ToolButton(main(), "GeneralToolBar", "Paste")->trigger();
    EXPECT_EQ(memo->text(), "beta beta\r\n");
}

TEST_F(CommandsTest, WorkspaceTabsMenuPlacesTheTabs) {
    QMenu* tabs = Menu("Workspace Tabs", Menu("&View"));
    ASSERT_NE(tabs, nullptr);
    QTabWidget* pages = workspace().Pages();
    const std::pair<const char*, QTabWidget::TabPosition> cases[] = {
        {"Top", QTabWidget::North}, {"Left", QTabWidget::West}, {"Right", QTabWidget::East},
        {"Bottom", QTabWidget::South}};
    for (const auto& [caption, position] : cases) {
        Entry(tabs, caption)->trigger();
        EXPECT_EQ(pages->tabPosition(), position) << caption;
    }
}

TEST_F(CommandsTest, ProjectTreeMenuFollowsTheOpenProject) {
    QTreeWidget* tree = workspace().ProjectTree();
    Entry(tree, "Open Project")->trigger();
    EXPECT_EQ(openedWithProjectFilter_, true);
    const QString projectOnly[] = {"Import Package in to Project", "Remove Package From Project", "Settings..."};
    for (const QString& caption : projectOnly) {
        ASSERT_NE(Entry(tree, caption), nullptr) << caption.toStdString();
        EXPECT_FALSE(Entry(tree, caption)->isEnabled()) << caption.toStdString();
    }
    openChoice_ = dir_.Write("prog/Demo.tvx", "[Project]\r\nName=Demo\r\n[Packages]\r\nPackage0=DemoMod\r\n");
    Entry(Menu("&File"), "&Open")->trigger();
    ASSERT_TRUE(workspace().ProjectOpen());
    for (const QString& caption : projectOnly) EXPECT_TRUE(Entry(tree, caption)->isEnabled()) << caption.toStdString();
    Entry(Menu("&File"), "Close Project")->trigger();
    for (const QString& caption : projectOnly) EXPECT_FALSE(Entry(tree, caption)->isEnabled()) << caption.toStdString();
}

// Menus, tool bars and context menus show one action per command, so a command reached from
// any of them is the same command with the same key and state.
TEST_F(CommandsTest, ContextMenusAndToolBarsShowTheMenusOwnCommands) {
    TEditor* editor = OpenNotes();
    const auto editorMenu = editor->Memo1()->actions();
    QMenu* file = Menu("&File");
    QMenu* project = Menu("&Project");
    for (const char* caption : {"&Save", "Revert", "&Close"}) {
        QAction* command = Entry(file, caption);
        ASSERT_NE(command, nullptr) << caption;
        EXPECT_TRUE(editorMenu.contains(command)) << caption;
        EXPECT_TRUE(main().FileTabs()->actions().contains(command)) << caption;
    }
    for (const char* caption : {"Compile", "Compile && Run"}) {
        QAction* command = Entry(project, caption);
        ASSERT_NE(command, nullptr) << caption;
        EXPECT_TRUE(editorMenu.contains(command)) << caption;
        EXPECT_EQ(ToolButton(main(), "CompileToolBar", command->iconText()), command) << caption;
    }
    EXPECT_EQ(ToolButton(main(), "GeneralToolBar", "Cut"), Entry(Menu("&Edit"), "Cu&t"));
    EXPECT_TRUE(workspace().ClassTree()->actions().contains(Entry(Menu("&Class"), "Rebuild Class Tree")));
    EXPECT_TRUE(workspace().ProjectTree()->actions().contains(Entry(file, "New Project")));

    // Whatever its caption says, the command stays the command.
    Entry(file, "&Save")->setText("Store");
    QTest::keyClicks(editor->Memo1(), "new ");
    QTest::keyClick(editor->Memo1(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dir_.Read("notes.txt"), "new first line\r\nsecond line\r\n");
}

// Every command a window shows either has its handler or is visibly disabled with the reason.
TEST_F(CommandsTest, EveryEnabledCommandHasAHandler) {
    CommandRegistry& commands = main().Commands();
    for (const std::string& id : commands.Ids()) {
        QAction* action = commands.Command(id);
        if (action->isEnabled()) {
            EXPECT_TRUE(commands.HasHandler(id)) << id;
        } else {
            EXPECT_FALSE(action->statusTip().isEmpty()) << id;
        }
    }
    // Every command is built: none is left waiting for its part.
    for (const std::string& id : commands.Ids()) {
        EXPECT_NE(commands.Command(id)->statusTip(), "Not available yet.") << id;
    }
    EXPECT_THROW(commands.Command("No.Such.Command"), std::logic_error);
}

}  // namespace
}  // namespace torvane::shell
