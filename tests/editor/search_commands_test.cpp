// The Search commands as a user reaches them: keys pressed in a real editor, the Search menu,
// the Find tool bar, the dialogs' own buttons and keys, and a double-click in the output log.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <functional>

#include "editor/search_options_view.h"
#include "editor/ted_find_dlg.h"
#include "editor/ted_persistent.h"
#include "editor/ted_repl_dlg.h"
#include "editor/teditor.h"
#include "editor/tfind_in_files.h"
#include "editor/tgoto_line_dialog.h"
#include "editor/tsyntax_memo.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/qt_wait.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/tworkspace.h"

namespace torvane::editor {
namespace {

using testing::ShownMessage;

class SearchCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::TMainOptions options = testing::SampleGameOptions(dir_, prompter_, game_);
        if (!edData_.empty()) dir_.Write("prog/EdData.dat", edData_);
        windows_ = std::make_unique<shell::AppWindows>(std::move(options));
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
        main().show();
        main().activateWindow();
        ASSERT_TRUE(testing::WaitUntil([this] { return QApplication::activeWindow() == &main(); }));
    }
    void TearDown() override {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog*>(window) && window->isVisible()) window->close();
        }
    }
    shell::TMain& main() { return windows_->main(); }
    template <class T>
    T& Window(const char* name) {
        return *static_cast<T*>(windows_->Window(QString::fromLatin1(name)));
    }
    workspace::TWorkspace& workspace() { return Window<workspace::TWorkspace>("TWorkspace"); }

    // A writable file in an editor with the focus, the caret at the start.
    TSyntaxMemo* Open(const std::string& text, const char* name = "notes.txt") {
        TEditor* editor = main().OpenSourceFile(dir_.Write(name, text), "", "");
        TSyntaxMemo* memo = editor->Memo1();
        memo->SetSelectionPositions(0, 0);
        memo->setFocus();
        return memo;
    }
    QAction* SearchMenu(const QString& caption) {
        for (QAction* menu : main().menuBar()->actions()) {
            if (menu->text() != "&Search") continue;
            for (QAction* action : menu->menu()->actions()) {
                if (action->text() == caption) return action;
            }
        }
        return nullptr;
    }
    QAction* FindToolButton(const QString& caption) {
        for (QAction* action : main().findChild<QToolBar*>(QStringLiteral("FindToolBar"))->actions()) {
            if (action->iconText() == caption) return action;
        }
        return nullptr;
    }
    // Runs body on the modal dialog that the next step shows, while its exec() runs.
    void WhileModal(std::function<void(QWidget*)> body) {
        QTimer::singleShot(0, [body = std::move(body)] {
            QWidget* dialog = nullptr;
            testing::WaitUntil([&dialog] { return (dialog = QApplication::activeModalWidget()) != nullptr; });
            ASSERT_NE(dialog, nullptr);
            body(dialog);
        });
    }
    std::string Selected(TSyntaxMemo* memo) { return memo->selectedText().toStdString(); }
    std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        QListWidget* log = main().OutputLogWidget();
        for (int i = 0; i < log->count(); ++i) lines.push_back(log->item(i)->text().toStdString());
        return lines;
    }
    std::string LastMessage() { return prompter_.shown().empty() ? std::string() : prompter_.shown().back().text; }

    testing::TempDir dir_;
    std::string game_;
    std::string edData_;  // written before the IDE starts when not empty
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<shell::AppWindows> windows_;
};

// Without an open file the searches in a file are visibly disabled; Find in Files is not.
TEST_F(SearchCommandsTest, SearchesInAFileNeedAnOpenFile) {
    for (const char* caption : {"Find", "Find && Replace", "Search Again", "Goto Line #"}) {
        ASSERT_NE(SearchMenu(caption), nullptr) << caption;
        EXPECT_FALSE(SearchMenu(caption)->isEnabled()) << caption;
        EXPECT_EQ(SearchMenu(caption)->statusTip(), "Open a file first.") << caption;
    }
    EXPECT_TRUE(SearchMenu("Find in Files")->isEnabled());
    Open("text\r\n");
    for (const char* caption : {"Find", "Find && Replace", "Search Again", "Goto Line #"}) {
        EXPECT_TRUE(SearchMenu(caption)->isEnabled()) << caption;
    }
}

// Ctrl+F opens the modeless find dialog on top; Enter finds, again finds the next hit (not the
// one selected), F3 in the editor goes on, and the end says "not found".
TEST_F(SearchCommandsTest, FindDialogFromTheKeyThenSearchAgainFromF3) {
    TSyntaxMemo* memo = Open("Actor one\r\nactor two\r\nACTOR three\r\n");
    QTest::keyClick(memo, Qt::Key_F, Qt::ControlModifier);
    auto& find = Window<TEdFindDlg>("TEdFindDlg");
    ASSERT_TRUE(find.isVisible());
    EXPECT_FALSE(find.isModal());
    EXPECT_TRUE(find.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(find.windowTitle(), "Find text...");
    EXPECT_FALSE(find.OkButton()->isEnabled());  // nothing selected, nothing searched yet

    QTest::keyClicks(find.FindText()->lineEdit(), "actor");
    EXPECT_TRUE(find.OkButton()->isEnabled());
    QTest::keyClick(find.FindText()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(memo->SelectionStartPosition(), 0);
    EXPECT_EQ(Selected(memo), "Actor");
    QTest::keyClick(find.FindText()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(memo->SelectionStartPosition(), 11);
    EXPECT_TRUE(find.isVisible());  // OK never closes

    QTest::keyClick(memo, Qt::Key_F3);
    EXPECT_EQ(memo->SelectionStartPosition(), 22);
    EXPECT_EQ(Selected(memo), "ACTOR");
    QTest::keyClick(memo, Qt::Key_F3);
    EXPECT_EQ(LastMessage(), "\"actor\" not found");

    // Case sensitive and back, from the last hit: the first one spelt so.
    find.findChild<QCheckBox*>("CaseSensitive")->setChecked(true);
    find.findChild<QRadioButton*>("Back")->setChecked(true);
    find.FindText()->setEditText("Actor");
    QTest::mouseClick(find.OkButton(), Qt::LeftButton);
    EXPECT_EQ(memo->SelectionStartPosition(), 0);
    EXPECT_EQ(Selected(memo), "Actor");

    // Esc closes it and the list goes to the history file, newest first.
    QTest::keyClick(find.FindText()->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(find.isVisible());
    EXPECT_EQ(dir_.Read("prog/EdData.dat"), "[FindHistory]\r\nActor\r\nactor\r\n\r\n");

    // Opened again with a selection, from the menu: the selection is the text, the history is
    // the list and the options are the last ones.
    memo->SetSelectionPositions(6, 9);
    SearchMenu("Find")->trigger();
    EXPECT_EQ(find.FindText()->currentText(), "one");
    ASSERT_EQ(find.FindText()->count(), 3);
    EXPECT_EQ(find.FindText()->itemText(0), "Actor");
    EXPECT_EQ(find.FindText()->itemText(2), "one");
    EXPECT_TRUE(find.findChild<QCheckBox*>("CaseSensitive")->isChecked());
    EXPECT_TRUE(find.findChild<QRadioButton*>("Back")->isChecked());
}

// The histories come from "EdData.dat" when the program starts.
class SearchHistoryTest : public SearchCommandsTest {
protected:
    SearchHistoryTest() {
        edData_ = "[FindHistory]\r\nDefaultProperties\r\nfunction\r\n\r\n[ReplaceHistory]\r\nFunction\r\n\r\n";
    }
};

TEST_F(SearchHistoryTest, DialogsListTheStoredHistories) {
    TSyntaxMemo* memo = Open("function f();\r\n");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
    auto& replace = Window<TEdReplDlg>("TEdReplDlg");
    ASSERT_TRUE(replace.isVisible());
    EXPECT_EQ(replace.windowTitle(), "Find and replace text...");
    ASSERT_EQ(replace.FindText()->count(), 2);
    EXPECT_EQ(replace.FindText()->itemText(1), "function");
    EXPECT_EQ(replace.FindText()->currentText(), "");
    ASSERT_EQ(replace.ReplaceText()->count(), 1);
    EXPECT_EQ(replace.ReplaceText()->itemText(0), "Function");
    replace.FindText()->setEditText("f()");
    replace.ReplaceText()->setEditText("g()");
    QTest::mouseClick(replace.ReplaceAllButton(), Qt::LeftButton);
    // Replaced by nothing: the empty replacement is not kept (an empty line would end the list
    // in the file and lose the entries after it).
    replace.FindText()->setEditText("g");
    replace.ReplaceText()->setEditText("");
    QTest::mouseClick(replace.ReplaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(memo->Bytes(), "function ();\r\n");
    replace.close();
    EXPECT_EQ(dir_.Read("prog/EdData.dat"),
              "[FindHistory]\r\ng\r\nf()\r\nDefaultProperties\r\nfunction\r\n\r\n"
              "[ReplaceHistory]\r\ng()\r\nFunction\r\n\r\n");
}

// Replace All from Ctrl+R: every hit from the start of the text, undone by one Ctrl+Z; with
// "Prompt on Replace" each hit is asked about (Yes replaces, No skips, Cancel stops).
TEST_F(SearchCommandsTest, ReplaceAllIsOneUndoStep) {
    const std::string text = "var int A;\r\nvar INT B;\r\nvar int C; // int\r\n";
    TSyntaxMemo* memo = Open(text);
    memo->SetSelectionPositions(30, 30);  // after two of the hits: Replace All starts at the top
    QTest::keyClick(memo, Qt::Key_R, Qt::ControlModifier);
    auto& replace = Window<TEdReplDlg>("TEdReplDlg");
    ASSERT_TRUE(replace.isVisible());
    EXPECT_FALSE(replace.isModal());
    EXPECT_FALSE(replace.ReplaceAllButton()->isEnabled());
    QTest::keyClicks(replace.FindText()->lineEdit(), "int");
    EXPECT_TRUE(replace.ReplaceAllButton()->isEnabled());
    QTest::keyClick(replace.FindText()->lineEdit(), Qt::Key_Tab);
    QTest::keyClicks(replace.focusWidget(), "float");
    EXPECT_EQ(replace.ReplaceText()->currentText(), "float");
    QTest::mouseClick(replace.ReplaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(memo->Bytes(), "var float A;\r\nvar float B;\r\nvar float C; // float\r\n");

    QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(memo->Bytes(), text);

    // Whole words and case, asked: Yes, No, Cancel.
    replace.findChild<QCheckBox*>("PromptOnReplace")->setChecked(true);
    replace.findChild<QCheckBox*>("CaseSensitive")->setChecked(true);
    replace.findChild<QCheckBox*>("WholeWords")->setChecked(true);
    for (auto answer : {core::Answer::Yes, core::Answer::No, core::Answer::Cancel}) prompter_.QueueAnswer(answer);
    QTest::mouseClick(replace.ReplaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(prompter_.unusedAnswers(), 0u);
    EXPECT_EQ(LastMessage(), "Replace this instance of \"int\" with \"float\" ?");
    EXPECT_EQ(memo->Bytes(), "var float A;\r\nvar INT B;\r\nvar int C; // int\r\n");
    EXPECT_TRUE(replace.findChild<QCheckBox*>("PromptOnReplace")->isEnabled());

    // Back replaces every hit as well (it would otherwise find nothing before the start).
    QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
    replace.findChild<QCheckBox*>("PromptOnReplace")->setChecked(false);
    replace.findChild<QRadioButton*>("Back")->setChecked(true);
    QTest::mouseClick(replace.ReplaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(memo->Bytes(), "var float A;\r\nvar INT B;\r\nvar float C; // float\r\n");

    // A text that is nowhere: the message, the text unchanged.
    replace.FindText()->setEditText("pawn");
    QTest::mouseClick(replace.ReplaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(LastMessage(), "\"pawn\" not found");
}

// OK in the replace dialog replaces the next hit after the caret, a regular expression with its
// groups filled in.
TEST_F(SearchCommandsTest, ReplaceNextWithARegularExpression) {
    TSyntaxMemo* memo = Open("var int Count;\r\nvar byte Mode;\r\n");
    SearchMenu("Find && Replace")->trigger();
    auto& replace = Window<TEdReplDlg>("TEdReplDlg");
    replace.findChild<QCheckBox*>("RegularExpressions")->setChecked(true);
    replace.FindText()->setEditText("var (\\w+) (\\w+);");
    replace.ReplaceText()->setEditText("var \\2 \\1;");
    QTest::keyClick(replace.FindText()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(memo->Bytes(), "var Count int;\r\nvar byte Mode;\r\n");
    QTest::mouseClick(replace.OkButton(), Qt::LeftButton);
    EXPECT_EQ(memo->Bytes(), "var Count int;\r\nvar Mode byte;\r\n");
    QTest::mouseClick(replace.OkButton(), Qt::LeftButton);
    EXPECT_EQ(LastMessage(), "\"var (\\w+) (\\w+);\" not found");
}

// Ctrl+L: the line typed must lie from 1 to the line count + 1; a wrong one is warned about and
// the dialog stays; a right one puts the caret at its start, in the middle of the window.
TEST_F(SearchCommandsTest, GotoLineWarnsOutsideTheRange) {
    std::string text;
    for (int i = 1; i <= 200; ++i) text += "line " + std::to_string(i) + "\r\n";
    TSyntaxMemo* memo = Open(text);
    memo->SetSelectionPositions(memo->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, 4L),
                                memo->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, 4L));
    std::vector<std::string> warnings;
    std::string shownLine;
    WhileModal([&](QWidget* dialog) {
        auto* gotoLine = qobject_cast<TGotoLineDialog*>(dialog);
        ASSERT_NE(gotoLine, nullptr);
        EXPECT_EQ(gotoLine->windowTitle(), "Go to line number");
        shownLine = gotoLine->Edit()->selectedText().toStdString();
        for (const char* typed : {"12x", "0", "202", "100"}) {
            gotoLine->Edit()->selectAll();
            QTest::keyClicks(gotoLine->Edit(), typed);
            QTest::keyClick(gotoLine->Edit(), Qt::Key_Return);
            if (std::string(typed) != "100") {
                EXPECT_TRUE(gotoLine->isVisible()) << typed;
                EXPECT_EQ(gotoLine->Edit()->selectedText().toStdString(), typed);
                warnings.push_back(LastMessage());
            }
        }
    });
    QTest::keyClick(memo, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(shownLine, "5");
    EXPECT_EQ(warnings, std::vector<std::string>(3, "Value must be between 1 and 201"));
    EXPECT_EQ(prompter_.shown().back().kind, ShownMessage::Kind::Warning);
    int line = 0, index = 0;
    memo->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 99);
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(memo->hasSelectedText());
    const int first = memo->firstVisibleLine();
    EXPECT_EQ(first, 99 - memo->VisibleRows() / 2);
    EXPECT_EQ(memo->text(), QString::fromStdString(text));  // Ctrl+L is never the control's own key

    // Cancel from the menu: nothing moves.
    WhileModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    SearchMenu("Goto Line #")->trigger();
    memo->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 99);
}

// The Find tool bar: Enter in the box and the Find button search forwards from the caret without
// case; F3 then goes on with the same text.
TEST_F(SearchCommandsTest, QuickFindThenSearchAgain) {
    TSyntaxMemo* memo = Open("Pickup one\r\nPICKUP two\r\npickup three\r\n");
    QLineEdit* box = main().QuickFindBox();
    box->setFocus();
    QTest::keyClicks(box, "pickup");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(memo->SelectionStartPosition(), 0);
    memo->SetSelectionPositions(memo->SelectionEndPosition(), memo->SelectionEndPosition());
    FindToolButton("Find")->trigger();
    EXPECT_EQ(memo->SelectionStartPosition(), 12);
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_F3);
    EXPECT_EQ(memo->SelectionStartPosition(), 24);
    EXPECT_EQ(Selected(memo), "pickup");
    box->setText("nowhere");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(LastMessage(), "\"nowhere\" not found");
    EXPECT_EQ(memo->SelectionStartPosition(), 24);
}

// F3 with the workspace's by-package tree focused finds the next class of its find box, even
// while a file is open (Search Again then serves the tree).
TEST_F(SearchCommandsTest, SearchAgainInTheByPackageTreeFindsTheNextClass) {
    TSyntaxMemo* memo = Open("DemoMath\r\n");
    main().SearchSettings().SetLastSearch("DemoMath", 0);
    workspace().ClassFind()->setText("demo");
    QTest::keyClick(workspace().ClassFind(), Qt::Key_Return);
    ASSERT_NE(workspace().ClassByPackage()->currentItem(), nullptr);
    EXPECT_EQ(workspace().ClassByPackage()->currentItem()->text(0), "DemoMath");
    workspace().ClassByPackage()->setFocus();
    ASSERT_TRUE(testing::WaitUntil([this] { return workspace().ClassByPackage()->hasFocus(); }));
    QTest::keyClick(workspace().ClassByPackage(), Qt::Key_F3);
    EXPECT_EQ(workspace().ClassByPackage()->currentItem()->text(0), "DemoObject");
    EXPECT_FALSE(memo->hasSelectedText());  // the file was not searched
}

// Ctrl+Alt+F shows the dialog modally; "&GO" lists the hit lines in the output log and closes
// it; a double-click on a line opens its file at that line.
TEST_F(SearchCommandsTest, FindInFilesListsHitsAndTheirLinesJump) {
    Open("notes\r\n");
    WhileModal([](QWidget* dialog) {
        auto* findInFiles = qobject_cast<TFindInFiles*>(dialog);
        ASSERT_NE(findInFiles, nullptr);
        EXPECT_EQ(findInFiles->windowTitle(), "Find in files...");
        EXPECT_TRUE(findInFiles->LocationButton(SearchLocation::AllObjects)->isChecked());
        QTest::keyClicks(findInFiles->FindText()->lineEdit(), "maxseen");
        QTest::keyClick(findInFiles->FindText()->lineEdit(), Qt::Key_Return);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(Window<TFindInFiles>("TFindInFiles").isVisible());
    const std::string mutator = game_ + "/DemoMod/Classes/DemoMutator.uc";
    ASSERT_EQ(LogLines(), (std::vector<std::string>{mutator + "(7): var config int MaxSeen;",
                                                    mutator + "(13): if ( Seen > MaxSeen )",
                                                    mutator + "(20): MaxSeen=100"}));
    QListWidget* log = main().OutputLogWidget();
    QListWidgetItem* hit = log->item(1);
    log->scrollToItem(hit);
    // The events of a double-click: press, release, double-click, release.
    const QPoint at = log->visualItemRect(hit).center();
    QTest::mouseClick(log->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(log->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(log->viewport(), Qt::LeftButton, {}, at);
    TEditor* editor = main().ActiveEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Caption(), mutator);
    int line = 0, index = 0;
    editor->Memo1()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 12);
}

// While the files are searched the status line names the file, the program is busy (no other
// search or rebuild starts), and "&Cancel" stops the walk before the next file.
TEST_F(SearchCommandsTest, CancelStopsTheSearchBeforeTheNextFile) {
    auto& dialog = Window<TFindInFiles>("TFindInFiles");
    std::string status;
    bool findInFilesEnabled = true;
    bool rebuildEnabled = true;
    QTimer::singleShot(0, [&] {  // at the first point where window messages run
        status = dialog.StatusLine()->text().toStdString();
        findInFilesEnabled = SearchMenu("Find in Files")->isEnabled();
        rebuildEnabled = main().Commands().Command(shell::cmd::kRebuildClassTree)->isEnabled();
        dialog.close();  // refused while it runs
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    main().QuickFindBox()->setText("class");
    FindToolButton("Find in Files")->trigger();
    const std::string object = game_ + "/Core/Classes/Object.uc";
    EXPECT_EQ(status, "Searching " + object);
    EXPECT_FALSE(findInFilesEnabled);
    EXPECT_FALSE(rebuildEnabled);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              object + "(2): // Object: the root of the sample game's class tree.",
                              object + "(4): class Object", object + "(11): var native const class Class;",
                              object + "(15): native(258) static final function bool ClassIsChildOf( class "
                                       "TestClass, class ParentClass );"}));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(SearchMenu("Find in Files")->isEnabled());
    EXPECT_TRUE(dialog.StatusLine()->text().isEmpty());
}

// The tool bar's Find in Files takes the box's text and the workspace page's location, and
// starts at once; the locations that have nothing to walk say why.
TEST_F(SearchCommandsTest, ToolBarFindInFilesStartsAtOnce) {
    if (!workspace().isVisible()) main().Commands().Command(shell::cmd::kViewWorkspace)->trigger();
    ASSERT_TRUE(workspace().isVisible());
    QTabWidget* pages = workspace().Pages();
    for (int i = 0; i < pages->count(); ++i) {
        if (pages->tabText(i) == "Actor") pages->setCurrentIndex(i);
    }
    main().QuickFindBox()->setText("PICKUP");
    FindToolButton("Find in Files")->trigger();
    const auto lines = LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), game_ + "/Engine/Classes/Inventory.uc(8): var() localized string PickupMessage;");
    EXPECT_EQ(Window<TFindInFiles>("TFindInFiles").Location(), SearchLocation::AllActors);

    for (int i = 0; i < pages->count(); ++i) {
        if (pages->tabText(i) == "Project") pages->setCurrentIndex(i);
    }
    FindToolButton("Find in Files")->trigger();
    EXPECT_EQ(LastMessage(), "No Project Loaded.");
    EXPECT_EQ(LogLines(), lines);  // nothing searched, the log as it was
}

}  // namespace
}  // namespace torvane::editor
