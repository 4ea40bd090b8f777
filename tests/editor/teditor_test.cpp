// The editor window as a user sees it: its status panels stay apart however narrow it is made.
#include "editor/teditor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>
#include <QTest>

#include "editor/tsyntax_memo.h"
#include "shell/app_windows.h"
#include "shell/tmain.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::editor {
namespace {

// The IDE started on the sample game, its main window shown.
class TEditorTest : public ::testing::Test {
protected:
    TEditorTest() : windows_(testing::SampleGameOptions(dir, prompter_, game)), main(windows_.main()) {
        main.Timer1Timer();
        main.show();
    }

    testing::TempDir dir;
    testing::ScriptedPrompter prompter_;
    std::string game;
    shell::AppWindows windows_;
    shell::TMain& main;
};

TEST_F(TEditorTest, StatusPanelsNeverOverlap) {
    // The longest texts: a read-only class of a game package, and a writable file in overwrite mode.
    TEditor* engine = main.OpenSourceFile(game + "/Engine/Classes/Actor.uc", "UnrealShare", "Actor");
    TEditor* own = main.OpenSourceFile(dir.Write("Notes.txt", "text\r\n"), "", "");
    own->Memo1()->setOverwriteMode(true);
    for (TEditor* editor : {engine, own}) {
        editor->RefreshStatus();
        for (int width : {640, 300, 120}) {
            editor->resize(width, 300);
            QApplication::processEvents();
            auto* status = editor->findChild<QStatusBar*>(QStringLiteral("StatusBar"));
            ASSERT_NE(status, nullptr);
            const QList<QLabel*> panels = status->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
            ASSERT_EQ(panels.size(), 4);
            for (int i = 0; i + 1 < panels.size(); ++i) {
                EXPECT_LE(panels[i]->geometry().right(), panels[i + 1]->geometry().left())
                    << "panels " << i << " and " << i + 1 << " at width " << width;
            }
            for (int i = 0; i < 3; ++i) {  // the caret, "Modified" and the typing mode show whole
                EXPECT_GE(panels[i]->width(), panels[i]->fontMetrics().horizontalAdvance(panels[i]->text()))
                    << "panel " << i << " at width " << width << ": " << panels[i]->text().toStdString();
            }
            EXPECT_LE(panels[3]->geometry().right(), status->contentsRect().right()) << width;
        }
    }
    EXPECT_EQ(engine->StatusPanels()[2], "Read Only");
    EXPECT_EQ(own->StatusPanels()[2], " Overwrite");
    EXPECT_TRUE(engine->StatusPanels()[3].startsWith("Epic Protected Class -- UnrealShare"));
}

// Sources are indented with tabs: the Tab key types one, Return keeps the line's indent and
// Backspace takes one step back out of it.
TEST_F(TEditorTest, TabTypesATabAndReturnKeepsTheIndent) {
    TEditor* editor = main.OpenSourceFile(dir.Write("Typed.uc", "function F()\r\n{"), "", "");
    TSyntaxMemo* memo = editor->Memo1();
    memo->setFocus();
    memo->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Tab);
    QTest::keyClicks(memo, "A();");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "B();");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClicks(memo, "}");
    EXPECT_EQ(memo->text().toStdString(), "function F()\r\n{\r\n\tA();\r\n\tB();\r\n}");
}

}  // namespace
}  // namespace torvane::editor
