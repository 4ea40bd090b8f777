// Highlighting as a user meets it: text typed into a real editor of the running IDE is coloured
// when it is painted, in every kind of file, also with several editors open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <string>
#include <vector>

#include "editor/lexers.h"
#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "editor/unrealscript_syntax.h"
#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/tmain.h"
#include "support/qt_wait.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::editor {
namespace {

class HighlightingTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string game = testing::CopySampleGame(dir_);
        platform::CreateDirectories(dir_.Path("prog"));
        dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game + "\r\n");
        shell::TMainOptions options;
        options.paths = {dir_.Path("prog"), dir_.Path("prog")};
        options.prompter = &prompter_;
        options.terminate = [](int) { FAIL() << "terminated"; };
        windows_ = std::make_unique<shell::AppWindows>(std::move(options));
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
        main().show();
    }
    shell::TMain& main() { return windows_->main(); }

    // Opens a file in an editor with the caret at the end of its text.
    TSyntaxMemo* Open(const std::string& name, const std::string& text) {
        TEditor* editor = main().OpenSourceFile(dir_.Write(name, text), "", "");
        TSyntaxMemo* memo = editor->Memo1();
        memo->setFocus();
        memo->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
        Paint(memo);
        return memo;
    }
    // Styling happens when the control paints what it shows.
    static void Paint(TSyntaxMemo* memo) {
        memo->viewport()->repaint();
        QApplication::processEvents();
    }
    // The style of the first character of the last occurrence of text.
    static int StyleOf(TSyntaxMemo* memo, const std::string& text) {
        const std::string all = memo->text().toStdString();
        const std::size_t at = all.rfind(text);
        EXPECT_NE(at, std::string::npos) << text;
        if (at == std::string::npos) return -1;
        return static_cast<int>(memo->SendScintilla(QsciScintilla::SCI_GETSTYLEAT, static_cast<unsigned long>(at)));
    }
    static void TypeLine(TSyntaxMemo* memo, const char* text) {
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, text);
        Paint(memo);
    }

    testing::TempDir dir_;
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<shell::AppWindows> windows_;
};

struct TypedCase {
    const char* file;
    const char* typed;
    const char* piece;
    int style;
};

// Each kind of file, typed text read back from the control.
TEST_F(HighlightingTest, TypedTextIsStyledInEveryKindOfFile) {
    const TypedCase cases[] = {
        {"Typed.uc", "var int Foo; // c1", "var", kUsKeyword},
        {"Typed.uc", "var int Foo; // c1", "int", kUsKeyword},
        {"Typed.uc", "var int Foo; // c1", "// c1", kUsComment},
        {"Typed.uc", "var string S; // \"x\"", "// \"x\"", kUsComment},
        {"Typed.ini", "[Engine.GameInfo]", "[Engine", IniLexer::Section},
        {"Typed.ini", "bLowGore=True", "bLowGore", IniLexer::Key},
        {"Typed.ini", "; note", "; note", IniLexer::Comment},
        {"Typed.log", "Foo.uc(3) : Error, Bad", "Foo.uc(3)", IniLexer::Error},
        {"Typed.log", "Warning: slow", "Warning", IniLexer::Warning},
    };
    for (const TypedCase& c : cases) {
        TSyntaxMemo* memo = Open(c.file, "first line\r\n");
        TypeLine(memo, c.typed);
        EXPECT_EQ(StyleOf(memo, c.piece), c.style) << c.file << ": " << c.typed;
        prompter_.QueueAnswer(core::Answer::No);  // the typed text is not kept
        main().CloseAll();
    }
    // Plain text is styled too (the default style), right to the end of what was typed.
    TSyntaxMemo* memo = Open("Typed.txt", "first line\r\n");
    TypeLine(memo, "var int Foo;");
    EXPECT_EQ(memo->SendScintilla(QsciScintilla::SCI_GETENDSTYLED), memo->SendScintilla(QsciScintilla::SCI_GETLENGTH));
}

// Editors of one kind share their highlighting settings; each is styled all the same.
TEST_F(HighlightingTest, EveryOpenEditorFollowsItsEdits) {
    TSyntaxMemo* first = Open("First.uc", "class First extends Object;\r\n");
    TSyntaxMemo* second = Open("Second.uc", "class Second extends Object;\r\n");
    EXPECT_EQ(StyleOf(first, "class"), kUsKeyword);
    EXPECT_EQ(StyleOf(second, "class"), kUsKeyword);
    main().MdiArea()->setActiveSubWindow(main().Editors().front());
    first->setFocus();
    TypeLine(first, "var int Foo; // c1");
    EXPECT_EQ(StyleOf(first, "var"), kUsKeyword);
    EXPECT_EQ(StyleOf(first, "// c1"), kUsComment);
    main().MdiArea()->setActiveSubWindow(main().Editors().back());  // a click into it
    second->setFocus();
    TypeLine(second, "local float F;");
    EXPECT_EQ(StyleOf(second, "local"), kUsKeyword);
}

// A block comment opened by typing colours the lines after it; closing it gives them back.
TEST_F(HighlightingTest, TypedBlockCommentReachesTheLinesAfterIt) {
    TSyntaxMemo* memo = Open("Block.uc", "class Block extends Object;\r\nvar int A;\r\nvar int B;\r\n");
    memo->setCursorPosition(1, 0);
    QTest::keyClicks(memo, "/* ");
    Paint(memo);
    EXPECT_EQ(StyleOf(memo, "var int B"), kUsComment);
    memo->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
    QTest::keyClicks(memo, "*/");
    Paint(memo);
    memo->setCursorPosition(1, 0);
    QTest::keyClick(memo, Qt::Key_Delete);
    QTest::keyClick(memo, Qt::Key_Delete);
    QTest::keyClick(memo, Qt::Key_Delete);
    Paint(memo);
    EXPECT_EQ(StyleOf(memo, "var int B"), kUsKeyword);
}

// Typing in a long class styles what changed and what is shown, not the whole text again.
TEST_F(HighlightingTest, TypingInALongClassStylesOnlyWhatItShows) {
    std::string text = "class Long extends Object;\r\n";
    for (int i = 0; i < 7000; ++i) text += "var int Value" + std::to_string(i) + "; // line\r\n";
    TSyntaxMemo* memo = Open("Long.uc", text);
    memo->setCursorPosition(3, 0);
    memo->SendScintilla(QsciScintilla::SCI_SETFIRSTVISIBLELINE, 0L);
    Paint(memo);
    QTest::keyClicks(memo, "var int Typed;");
    Paint(memo);
    EXPECT_EQ(StyleOf(memo, "Typed"), kUsDefault);
    EXPECT_EQ(memo->SendScintilla(QsciScintilla::SCI_GETSTYLEAT,
                                  memo->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, 3L)),
              kUsKeyword);
    const long styledTo = memo->SendScintilla(QsciScintilla::SCI_GETENDSTYLED);
    EXPECT_LT(memo->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, styledTo), 500);
}

}  // namespace
}  // namespace torvane::editor
