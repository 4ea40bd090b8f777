// The code intelligence as a user reaches it: keys pressed in real editors on a copy of the
// sample game (F12, Ctrl+click, Shift+F12, Ctrl+Space, a typed '.', Ctrl+Shift+Space, Ctrl+Shift+O,
// Alt+Left, Alt+Right), the Navigate menu, the output log's double-click and the outline window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "navigation/code_intel_controller.h"
#include "navigation/toutline.h"
#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/qt_wait.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "widgets/text_codec.h"
#include "workspace/edit_packages.h"

namespace torvane::navigation {
namespace {

using editor::TEditor;
using editor::TSyntaxMemo;

class CodeIntelWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = testing::CopySampleGame(dir_);
        PrepareGame();
        Start(testing::GameOptions(dir_, prompter_, game_));
    }
    virtual void PrepareGame() {}
    void Start(shell::TMainOptions options) {
        windows_ = std::make_unique<shell::AppWindows>(std::move(options));
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
        main().show();
        main().activateWindow();
        ASSERT_TRUE(testing::WaitUntil([this] { return QApplication::activeWindow() == &main(); }));
    }
    shell::TMain& main() { return windows_->main(); }
    CodeIntelController& intel() { return windows_->codeIntel(); }
    std::string Source(const std::string& relative) const { return game_ + "/" + relative; }
    TEditor* Open(const std::string& relative) {
        TEditor* editor = main().OpenSourceFile(Source(relative), "", "");
        editor->Memo1()->setFocus();
        return editor;
    }
    // Puts the caret on the occurrence-th word of line (from 1).
    static void CaretAt(TSyntaxMemo* memo, int line, const QString& word, int occurrence = 1) {
        const QString text = memo->text(line - 1);
        int index = -1;
        for (int i = 0; i < occurrence; ++i) index = text.indexOf(word, index + 1);
        ASSERT_GE(index, 0) << word.toStdString() << " in " << text.toStdString();
        memo->setCursorPosition(line - 1, index + 1);
    }
    static std::pair<int, int> Caret(const TSyntaxMemo* memo) {
        int line = 0, index = 0;
        memo->getCursorPosition(&line, &index);
        return {line + 1, index + 1};
    }
    TEditor* Active() { return main().ActiveEditor(); }
    // A new line after line (from 1), indented as that line; the caret at its end.
    static void NewLineAfter(TSyntaxMemo* memo, int line) {
        memo->setCursorPosition(line - 1, 0);
        memo->SendScintilla(QsciScintilla::SCI_LINEEND);
        QTest::keyClick(memo, Qt::Key_Return);
    }
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        QListWidget* log = windows_->main().OutputLogWidget();
        for (int i = 0; i < log->count(); ++i) lines.push_back(widgets::FromQString(log->item(i)->text()));
        return lines;
    }
    // Types text as keys; a line feed is the Return key.
    static void Type(QWidget* widget, const QString& text) {
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) QTest::keyClick(widget, Qt::Key_Return);
            QTest::keyClicks(widget, lines[i]);
        }
    }
    static void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(widget, key, modifiers);
    }
    static bool ListShown(const TSyntaxMemo* memo) { return memo->SendScintilla(QsciScintilla::SCI_AUTOCACTIVE) != 0; }
    static QString ListCurrent(TSyntaxMemo* memo) {
        QByteArray text(512, '\0');
        const long length = memo->SendScintilla(QsciScintilla::SCI_AUTOCGETCURRENTTEXT, 0UL, text.data());
        return QString::fromUtf8(text.constData(), static_cast<int>(length));
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<shell::AppWindows> windows_;
};

// F12 opens the declaration at its line with its name selected; Alt+Left returns to where the
// jump started, Alt+Right goes there again; Ctrl+click jumps like F12.
TEST_F(CodeIntelWindowTest, GoToDefinitionThenBackAndForward) {
    QAction* back = main().Commands().Command(shell::cmd::kNavigateBack);
    EXPECT_FALSE(back->isEnabled());
    TEditor* pickup = Open("DemoMod/Classes/DemoPickup.uc");
    // Line 10: "<tab>Charge = class'DemoMath'.static.Clamp3(Charge + BonusCharge, 0, 100);"
    CaretAt(pickup->Memo1(), 10, "Charge");
    Key(pickup->Memo1(), Qt::Key_F12);
    TEditor* inventory = Active();
    ASSERT_NE(inventory, pickup);
    EXPECT_EQ(inventory->Caption(), Source("Engine/Classes/Inventory.uc"));
    EXPECT_EQ(Caret(inventory->Memo1()).first, 9);
    EXPECT_EQ(inventory->Memo1()->selectedText(), "Charge");
    EXPECT_NE(main().StatusText().indexOf("variable Inventory.Charge"), -1) << main().StatusText().toStdString();
    EXPECT_TRUE(back->isEnabled());

    Key(inventory->Memo1(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Active(), pickup);
    EXPECT_EQ(Caret(pickup->Memo1()), (std::pair{10, 3}));
    Key(pickup->Memo1(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(Active(), inventory);
    EXPECT_EQ(Caret(inventory->Memo1()).first, 9);
    Key(inventory->Memo1(), Qt::Key_Left, Qt::AltModifier);
    ASSERT_EQ(Active(), pickup);

    // Ctrl+click on Clamp3: the static function of DemoMath.
    TSyntaxMemo* memo = pickup->Memo1();
    const long clamp = memo->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, 9UL) + memo->text(9).indexOf("Clamp3") + 2;
    const QPoint at(static_cast<int>(memo->SendScintilla(QsciScintilla::SCI_POINTXFROMPOSITION, 0UL, clamp)) + 3,
                    static_cast<int>(memo->SendScintilla(QsciScintilla::SCI_POINTYFROMPOSITION, 0UL, clamp)) + 3);
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
    ASSERT_EQ(Active()->Caption(), Source("DemoLib/Classes/DemoMath.uc")) << main().StatusText().toStdString() << " at " << at.x() << "," << at.y();
    EXPECT_EQ(Caret(Active()->Memo1()).first, 7);
    EXPECT_EQ(Active()->Memo1()->selectedText(), "Clamp3");

    // A keyword names nothing: the status line says so and nothing moves.
    TEditor* math = Active();
    CaretAt(math->Memo1(), 9, "if");
    Key(math->Memo1(), Qt::Key_F12);
    EXPECT_EQ(Active(), math);
    EXPECT_EQ(main().StatusText(), "No name at the cursor.");
    EXPECT_TRUE(prompter_.shown().empty());
}

// Shift+F12 lists the references in the output log as "path(line): text"; a double-click on a
// line opens the source there. An editor's unsaved text is searched as it stands.
TEST_F(CodeIntelWindowTest, FindReferencesListsLinesThatJump) {
    TEditor* pickup = Open("DemoMod/Classes/DemoPickup.uc");
    TSyntaxMemo* memo = pickup->Memo1();
    NewLineAfter(memo, 10);  // in GiveCharge
    QTest::keyClicks(memo, "BonusCharge++;");
    CaretAt(memo, 6, "BonusCharge");  // "var() int BonusCharge;"
    const std::size_t before = LogLines().size();
    Key(memo, Qt::Key_F12, Qt::ShiftModifier);
    const std::vector<std::string> all = LogLines();
    const std::vector<std::string> lines(all.begin() + static_cast<long>(before), all.end());
    const std::string file = Source("DemoMod/Classes/DemoPickup.uc");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "References of variable DemoPickup.BonusCharge:",
                         file + "(6): var() int BonusCharge;",
                         file + "(10): Charge = class'DemoMath'.static.Clamp3(Charge + BonusCharge, 0, 100);",
                         file + "(11): BonusCharge++;",
                         file + "(16): BonusCharge=25",
                     }));

    // The double-click of find in files: the class's source at the line.
    QListWidget* log = main().OutputLogWidget();
    QListWidgetItem* item = log->item(static_cast<int>(before) + 2);
    log->scrollToItem(item);
    const QRect rect = log->visualItemRect(item);
    memo->setCursorPosition(0, 0);
    // The events of a double-click: press, release, double-click, release.
    QTest::mouseClick(log->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(log->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseRelease(log->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(Active(), pickup);
    EXPECT_EQ(Caret(memo).first, 10);
}

// Completion after a typed '.' lists the members the expression reaches; typing on picks a row,
// Enter puts in only the name. Ctrl+Space completes the name being typed.
TEST_F(CodeIntelWindowTest, CompletionAfterADotAndOnCtrlSpace) {
    TEditor* pickup = Open("DemoMod/Classes/DemoPickup.uc");
    TSyntaxMemo* memo = pickup->Memo1();
    NewLineAfter(memo, 10);  // in GiveCharge
    QTest::keyClicks(memo, "class'DemoMath'.static.");
    ASSERT_TRUE(ListShown(memo));
    QTest::keyClicks(memo, "su");
    EXPECT_TRUE(ListCurrent(memo).startsWith("SumTo")) << ListCurrent(memo).toStdString();
    EXPECT_NE(ListCurrent(memo).indexOf("static function int SumTo(int N)  (DemoMath)"), -1)
        << ListCurrent(memo).toStdString();
    Key(memo, Qt::Key_Return);
    EXPECT_FALSE(ListShown(memo));
    EXPECT_EQ(memo->text(10), "\tclass'DemoMath'.static.SumTo\r\n");

    // Ctrl+Space on "Bonu": the class's variable (the names inherited, then the keywords, follow).
    QTest::keyClicks(memo, "(1);");
    NewLineAfter(memo, 11);
    QTest::keyClicks(memo, "Bonu");
    Key(memo, Qt::Key_Space, Qt::ControlModifier);
    ASSERT_TRUE(ListShown(memo));
    EXPECT_TRUE(ListCurrent(memo).startsWith("BonusCharge")) << ListCurrent(memo).toStdString();
    Key(memo, Qt::Key_Tab);
    EXPECT_EQ(memo->text(11), "\tBonusCharge\r\n");

    // Escape closes the list and leaves the text as typed; a '.' after a number lists nothing.
    QTest::keyClicks(memo, " = 1.");
    EXPECT_FALSE(ListShown(memo));
    Key(memo, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(main().StatusText(), "Nothing to complete here.");
}

// Inside a call's parentheses the hint shows the called function's signature and marks the
// argument at the caret; it follows the caret and goes when the caret leaves the call.
TEST_F(CodeIntelWindowTest, ParameterHintFollowsTheArguments) {
    TEditor* pickup = Open("DemoMod/Classes/DemoPickup.uc");
    TSyntaxMemo* memo = pickup->Memo1();
    NewLineAfter(memo, 10);
    QTest::keyClicks(memo, "class'DemoMath'.static.Clamp3(");
    memo->SendScintilla(QsciScintilla::SCI_AUTOCCANCEL);
    EXPECT_TRUE(memo->SendScintilla(QsciScintilla::SCI_CALLTIPACTIVE));
    EXPECT_EQ(intel().HintText(), "static function int Clamp3(int Value, int Low, int High)  (DemoMath)");
    EXPECT_EQ(intel().HintParameter(), "int Value");
    QTest::keyClicks(memo, "BonusCharge, ");
    EXPECT_EQ(intel().HintParameter(), "int Low");
    Key(memo, Qt::Key_Left);
    Key(memo, Qt::Key_Left);
    ASSERT_TRUE(testing::WaitUntil([&] { return intel().HintParameter() == "int Value"; }));

    // Asked for outside a call: nothing is shown and the status line says why.
    memo->setCursorPosition(5, 0);
    Key(memo, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(memo->SendScintilla(QsciScintilla::SCI_CALLTIPACTIVE));
    EXPECT_TRUE(intel().HintText().empty());
    EXPECT_EQ(main().StatusText(), "The cursor is not inside the parentheses of a call.");
}

// Ctrl+Shift+O lists the class's declarations; typing narrows the list, Enter jumps there.
TEST_F(CodeIntelWindowTest, OutlineListsTheClassAndJumps) {
    TEditor* math = Open("DemoLib/Classes/DemoMath.uc");
    Key(math->Memo1(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    TOutline& outline = windows_->outline();
    ASSERT_TRUE(outline.isVisible());
    QTreeWidget* entries = outline.Entries();
    ASSERT_EQ(entries->topLevelItemCount(), 2);
    EXPECT_EQ(entries->topLevelItem(0)->text(0), "static function int Clamp3(int Value, int Low, int High)");
    EXPECT_EQ(entries->topLevelItem(1)->text(1), "16");
    QTest::keyClicks(outline.Filter(), "sum");
    ASSERT_EQ(entries->topLevelItemCount(), 1);
    Key(outline.Filter(), Qt::Key_Return);
    EXPECT_FALSE(outline.isVisible());
    EXPECT_EQ(Caret(math->Memo1()).first, 16);
    EXPECT_EQ(math->Memo1()->selectedText(), "SumTo");
    Key(math->Memo1(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Caret(math->Memo1()).first, 1);
}

// What is typed reaches the index once typing pauses: a variable declared in the editor (not
// saved) is found by go to definition and offered by completion.
TEST_F(CodeIntelWindowTest, TheIndexFollowsTheEditorsText) {
    TEditor* pickup = Open("DemoMod/Classes/DemoPickup.uc");
    TSyntaxMemo* memo = pickup->Memo1();
    NewLineAfter(memo, 6);
    QTest::keyClicks(memo, "var int ExtraCharge;");
    ASSERT_TRUE(testing::WaitUntil([&] { return !intel().HasChangedEditors(); }));
    NewLineAfter(memo, 11);  // in GiveCharge, after the added line
    QTest::keyClicks(memo, "ExtraCharge = 1;");
    CaretAt(memo, 12, "ExtraCharge");
    Key(memo, Qt::Key_F12);
    EXPECT_EQ(Active(), pickup);
    EXPECT_EQ(Caret(memo).first, 7);
    EXPECT_EQ(memo->selectedText(), "ExtraCharge");
    EXPECT_TRUE(pickup->Modified());
}

// A class of a package shipped without sources opens read-only, rebuilt from the package, at the
// declaration; the menu shows every command with its key.
class CompiledOnlyClassTest : public CodeIntelWindowTest {
protected:
    void PrepareGame() override {
        testing::WriteFile(game_ + "/System/TestMod2.u",
                           platform::ReadWholeFile(testing::FixturesDir() + "/compiled/System/TestMod2.u"));
        workspace::InsertEditPackageLine(game_ + "/System/UnrealTournament.ini", "TestMod2");
        user_ = dir_.Write("game/DemoMod/Classes/DemoCounter.uc",
                           "class DemoCounter extends Object;\r\n\r\nvar Counter2 Counter;\r\n\r\n"
                           "function int Twice(int A)\r\n{\r\n\treturn Counter.Add(A, A);\r\n}\r\n");
        prompter_.QueueAnswer(core::Answer::No);  // the offer to export the package's sources
    }
    std::string user_;
};

TEST_F(CompiledOnlyClassTest, OpensReadOnlyRebuiltAtTheDeclaration) {
    const std::string user = user_;
    TEditor* counter = main().OpenSourceFile(user, "DemoMod", "DemoCounter");
    CaretAt(counter->Memo1(), 7, "Add");
    Key(counter->Memo1(), Qt::Key_F12);
    TEditor* rebuilt = Active();
    ASSERT_NE(rebuilt, counter);
    EXPECT_EQ(rebuilt->Caption(), "TestMod2.Counter2 (rebuilt from TestMod2.u)");
    EXPECT_TRUE(rebuilt->ReadOnly());
    EXPECT_EQ(rebuilt->Memo1()->selectedText(), "Add");
    EXPECT_NE(rebuilt->Memo1()->text(Caret(rebuilt->Memo1()).first - 1).indexOf("function int Add("), -1);

    // Back and Forward reach the rebuilt view as they reach a file.
    Key(rebuilt->Memo1(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Active(), counter);
    Key(counter->Memo1(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(Active(), rebuilt);

    QMenu* navigate = nullptr;
    for (QAction* action : main().menuBar()->actions()) {
        if (action->text() == "&Navigate") navigate = action->menu();
    }
    ASSERT_NE(navigate, nullptr);
    std::vector<std::string> entries;
    for (QAction* action : navigate->actions()) {
        if (action->isSeparator()) continue;
        entries.push_back(widgets::FromQString(action->text() + "\t" + action->shortcut().toString()));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"Go to Definition\tF12", "Find References\tShift+F12",
                                                 "Complete Code\tCtrl+Space", "Parameter Hint\tCtrl+Shift+Space",
                                                 "Outline...\tCtrl+Shift+O", "Back\tAlt+Left", "Forward\tAlt+Right"}));
}

}  // namespace
}  // namespace torvane::navigation
