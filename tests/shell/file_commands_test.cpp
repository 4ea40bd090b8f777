// Editor windows and the main window's file commands, driven headless with scripted answers.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QListWidget>
#include <QMdiArea>
#include <QTabBar>
#include <QTest>

#include "editor/lexers.h"
#include "editor/teditor.h"
#include "editor/tparser_repository.h"
#include "editor/tsyntax_memo.h"
#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/tworkspace.h"

namespace torvane::shell {
namespace {

using editor::TEditor;
using testing::ScriptedPrompter;

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = testing::CopySampleGame(dir_);
        platform::CreateDirectories(dir_.Path("prog"));
        dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n");
        TMainOptions options;
        options.paths = {dir_.Path("prog"), dir_.Path("prog")};
        options.prompter = &prompter_;
        options.terminate = [](int) { FAIL() << "terminated"; };
        options.chooseSaveFile = [this](const std::string&) { return saveAs_; };
        options.chooseOpenFile = [this](const std::string& directory, bool project) {
            openDirectory_ = directory;
            openProject_ = project;
            return openChoice_;
        };
        windows_ = std::make_unique<AppWindows>(std::move(options));
        windows_->main().Timer1Timer();
        ASSERT_TRUE(windows_->main().Started());
    }
    TMain& main() { return windows_->main(); }
    std::string Game(const std::string& relative) { return game_ + "/" + relative; }
    TEditor* Open(const std::string& path, const std::string& package = "", const std::string& cls = "") {
        return main().OpenSourceFile(path, package, cls);
    }
    // An edit that leaves the text as it was but the editor modified.
    void Touch(TEditor* editor) {
        auto* memo = editor->Memo1();
        memo->SendScintilla(QsciScintilla::SCI_INSERTTEXT, 0UL, "x");
        memo->SendScintilla(QsciScintilla::SCI_DELETERANGE, 0UL, 1L);
        ASSERT_TRUE(editor->Modified());
    }
    void Modify(TEditor* editor, const char* text = "// edited\r\n") {
        editor->Memo1()->SendScintilla(QsciScintilla::SCI_SETSEL, 0L, 0L);
        editor->Memo1()->SendScintilla(QsciScintilla::SCI_REPLACESEL, 0UL, text);
        ASSERT_TRUE(editor->Modified());
    }

    testing::TempDir dir_;
    std::string game_;
    ScriptedPrompter prompter_;
    std::unique_ptr<AppWindows> windows_;
    std::optional<std::string> saveAs_;
    std::optional<std::string> openChoice_;
    std::string openDirectory_;
    bool openProject_ = false;
};

TEST_F(FileCommandsTest, StatusBarForAProtectedClassARogueSourceAndAnIntFile) {
    TEditor* actor = Open(Game("Engine/Classes/Actor.uc"), "Engine", "Actor");
    EXPECT_TRUE(actor->ReadOnly());
    auto panels = actor->StatusPanels();
    EXPECT_EQ(panels[0], "     1:   1");
    EXPECT_EQ(panels[1], "");
    EXPECT_EQ(panels[2], "Read Only");
    EXPECT_EQ(panels[3], "Epic Protected Class -- Engine    ");
    EXPECT_EQ(actor->Memo1()->lexer(), windows_->parsers().parser(editor::TParserRepository::UnrealScript));
    actor->SetReadOnly(false);
    Touch(actor);
    actor->SetReadOnly(true);
    main().SaveActive();  // refused for read-only editors
    EXPECT_FALSE(platform::FileExists(Game("Engine/Classes/Actor.~uc")));
    actor->SetCloseWithoutAsking(true);
    actor->close();

    TEditor* rogue = Open(Game("Engine/Classes/Actor.uc"));
    EXPECT_FALSE(rogue->ReadOnly());
    EXPECT_EQ(rogue->StatusPanels()[2], " Insert");
    EXPECT_EQ(rogue->StatusPanels()[3], "Rogue UC File   ");

    dir_.Write("game/System/DemoMod.int", "[Public]\r\nObject=(Name=DemoMod.DemoMutator)\r\n");
    TEditor* intFile = Open(Game("System/DemoMod.int"));
    EXPECT_EQ(intFile->StatusPanels()[3], "Misc. File    ");
    EXPECT_EQ(intFile->Memo1()->lexer(), windows_->parsers().parser(editor::TParserRepository::IniParser));
    EXPECT_EQ(main().FileTabs()->count(), 2);
}

TEST_F(FileCommandsTest, SamePathReusesTheWindowOtherCaseOpensAnother) {
    TEditor* first = Open(Game("DemoMod/Classes/DemoMutator.uc"));
    EXPECT_EQ(Open(Game("DemoMod/Classes/DemoMutator.uc")), first);
    TEditor* other = Open(Game("DemoMod/Classes/demomutator.uc"));
    EXPECT_NE(other, first);
    EXPECT_EQ(main().Editors().size(), 2u);
    EXPECT_EQ(main().FileTabs()->count(), 2);
}

TEST_F(FileCommandsTest, CloseAllWithAllSavesEveryEditorAndCancelKeepsThem) {
    std::vector<TEditor*> editors = {Open(Game("DemoLib/Classes/DemoObject.uc")),
                                     Open(Game("DemoLib/Classes/DemoMath.uc")),
                                     Open(Game("DemoMod/Classes/DemoPickup.uc"))};
    for (TEditor* editor : editors) Modify(editor);

    prompter_.QueueAnswer(core::Answer::Cancel);
    main().CloseAll();
    EXPECT_EQ(main().Editors().size(), 3u);
    EXPECT_EQ(prompter_.shown().back().text, "This file has been modified.  Save changes?");

    prompter_.QueueAnswer(core::Answer::All);
    main().CloseAll();
    QCoreApplication::processEvents();
    EXPECT_TRUE(main().Editors().empty());
    EXPECT_EQ(main().FileTabs()->count(), 0);
    EXPECT_EQ(prompter_.shown().size(), 2u);  // one question for all three
    for (const char* file : {"DemoLib/Classes/DemoObject.uc", "DemoLib/Classes/DemoMath.uc",
                             "DemoMod/Classes/DemoPickup.uc"}) {
        EXPECT_EQ(dir_.Read(std::string("game/") + file).rfind("// edited\r\n", 0), 0u) << file;
    }
    EXPECT_FALSE(main().SaveAllAnswer());
}

// Closing the program asks every editor, then the project, before anything closes: a Cancel at
// any question keeps every editor open with its text.
TEST_F(FileCommandsTest, CancelWhileClosingTheProgramKeepsEveryEditor) {
    const std::vector<std::string> files = {"DemoLib/Classes/DemoObject.uc", "DemoLib/Classes/DemoMath.uc",
                                            "DemoMod/Classes/DemoPickup.uc"};
    std::vector<TEditor*> editors;
    for (const std::string& file : files) {
        editors.push_back(Open(Game(file)));
        Modify(editors.back(), "// mine\r\n");
    }
    prompter_.QueueAnswer(core::Answer::Yes);     // the first is saved
    prompter_.QueueAnswer(core::Answer::Cancel);  // the second stops the close
    EXPECT_FALSE(main().close());
    QCoreApplication::processEvents();
    ASSERT_EQ(main().Editors(), editors);
    EXPECT_EQ(dir_.Read("game/" + files[0]).rfind("// mine\r\n", 0), 0u);
    for (std::size_t i = 1; i < editors.size(); ++i) {
        EXPECT_TRUE(editors[i]->Modified()) << files[i];
        EXPECT_EQ(editors[i]->Memo1()->text().toStdString().rfind("// mine\r\n", 0), 0u) << files[i];
    }

    // The project's question comes after every editor's; its Cancel keeps them all as well.
    auto& workspace = *static_cast<workspace::TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace")));
    workspace.LoadProject(dir_.Write("prog/Demo.tvx", "[Project]\r\nName=Demo\r\n[Packages]\r\nPackage0=DemoMod\r\n"));
    workspace.MarkProjectModified();
    for (int i = 1; i < 3; ++i) prompter_.QueueAnswer(core::Answer::No);
    prompter_.QueueAnswer(core::Answer::Cancel);  // Save changed to your current project?
    EXPECT_FALSE(main().close());
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter_.shown().back().text, "Save changed to your current project?");
    ASSERT_EQ(main().Editors(), editors);
    EXPECT_TRUE(editors[2]->Modified());
}

TEST_F(FileCommandsTest, SaveMakesTheBackupAndKeepsLineEndsAndBytes) {
    const std::string crlf = "class A extends Object;\r\n// caf\xE9 \x80 \x93q\x94\r\n";
    const std::string lf = "class B extends Object;\n// \xFF\xFE\n";
    dir_.Write("game/DemoMod/Classes/A.uc", crlf);
    dir_.Write("game/DemoMod/Classes/B.uc", lf);
    for (const auto& [name, bytes] : {std::pair{"A", crlf}, std::pair{"B", lf}}) {
        TEditor* editor = Open(Game(std::string("DemoMod/Classes/") + name + ".uc"));
        Touch(editor);
        main().SaveActive();
        EXPECT_EQ(dir_.Read(std::string("game/DemoMod/Classes/") + name + ".uc"), bytes) << name;
        EXPECT_EQ(dir_.Read(std::string("game/DemoMod/Classes/") + name + ".~uc"), bytes) << name;
    }
    // A new line typed into the LF file gets an LF; the second save overwrites the backup.
    TEditor* b = Open(Game("DemoMod/Classes/B.uc"));
    b->Memo1()->setCursorPosition(0, 0);
    QTest::keyClick(b->Memo1(), Qt::Key_Return);
    main().SaveActive();
    EXPECT_EQ(dir_.Read("game/DemoMod/Classes/B.uc"), "\n" + lf);
    EXPECT_EQ(dir_.Read("game/DemoMod/Classes/B.~uc"), lf);
    Modify(b, "x");
    main().SaveActive();
    EXPECT_EQ(dir_.Read("game/DemoMod/Classes/B.~uc"), "\n" + lf);
}

// File > Save writes through a symbolic link (the link stays, its file changes) and refuses a
// read-only file with the error box, the editor keeping its text as modified.
TEST_F(FileCommandsTest, SaveWritesThroughALinkAndRefusesAReadOnlyFile) {
    const std::string target = dir_.Write("shared/Notes.uc", "old\r\n");
    const std::string link = dir_.Path("Notes.uc");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    TEditor* linked = Open(link);
    Modify(linked, "new ");
    main().Commands().Command(cmd::kSave)->trigger();
    EXPECT_EQ(dir_.Read("shared/Notes.uc"), "new old\r\n");
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_FALSE(linked->Modified());

    const std::string readOnly = dir_.Write("ReadOnly.uc", "keep\r\n");
    ::chmod(readOnly.c_str(), 0444);
    TEditor* refused = Open(readOnly);
    Modify(refused, "lost? ");
    main().Commands().Command(cmd::kSave)->trigger();
    ASSERT_FALSE(prompter_.shown().empty());
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_NE(prompter_.shown().back().text.find("Permission denied"), std::string::npos);
    EXPECT_EQ(dir_.Read("ReadOnly.uc"), "keep\r\n");
    EXPECT_TRUE(refused->Modified());
    ::chmod(readOnly.c_str(), 0644);
}

TEST_F(FileCommandsTest, QuickGotoLineCentresTheRowAndSelectsTenCharacters) {
    std::string text;
    for (int i = 1; i <= 300; ++i) text += "line number " + std::to_string(i) + "\r\n";
    dir_.Write("game/Long.txt", text);
    TEditor* editor = Open(Game("Long.txt"));
    editor->resize(600, 400);
    main().show();
    editor->show();
    QCoreApplication::processEvents();
    editor->QuickGotoLine(150, true);
    auto* memo = editor->Memo1();
    EXPECT_EQ(memo->selectedText(), "line numbe");
    int line = 0, index = 0;
    memo->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 149);
    EXPECT_EQ(index, 10);
    const int visible = memo->VisibleRows();
    ASSERT_GT(visible, 0);
    EXPECT_EQ(memo->firstVisibleLine(), 149 - visible / 2);
    EXPECT_TRUE(memo->ShowFocusLine());
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    EXPECT_FALSE(memo->ShowFocusLine());

    editor->QuickGotoLine(1, false);
    EXPECT_EQ(memo->firstVisibleLine(), 0);
    EXPECT_EQ(memo->selectedText(), "line numbe");
}

TEST_F(FileCommandsTest, NewFilesAreNumberedByTheOpenEditors) {
    main().NewFile();
    main().NewFile();
    ASSERT_EQ(main().Editors().size(), 2u);
    EXPECT_EQ(main().Editors()[1]->Caption(), "NONAME2");
    EXPECT_EQ(main().Editors()[1]->StatusPanels()[3], "Misc. File    ");
    main().Editors()[0]->close();
    main().NewFile();  // one editor open: NONAME2 again, brought forward
    EXPECT_EQ(main().Editors().size(), 1u);
    Modify(main().Editors()[0], "hello");
    main().SaveActive();
    EXPECT_EQ(dir_.Read("prog/NONAME2"), "hello");
}

TEST_F(FileCommandsTest, SaveAsAsksBeforeOverwriting) {
    TEditor* editor = Open(Game("DemoLib/Classes/DemoObject.uc"));
    const std::string target = Game("DemoLib/Classes/DemoMath.uc");
    const std::string before = dir_.Read("game/DemoLib/Classes/DemoMath.uc");
    saveAs_ = target;
    prompter_.QueueAnswer(core::Answer::No);
    main().SaveAs();
    EXPECT_EQ(editor->Caption(), Game("DemoLib/Classes/DemoObject.uc"));
    prompter_.QueueAnswer(core::Answer::Yes);
    main().SaveAs();
    EXPECT_EQ(prompter_.shown().back().text, "The file already exists.  Overwrite?");
    EXPECT_EQ(editor->Caption(), target);
    EXPECT_EQ(main().FileTabs()->tabText(0), "DemoMath.uc");
    EXPECT_EQ(dir_.Read("game/DemoLib/Classes/DemoMath.~uc"), before);
    EXPECT_EQ(dir_.Read("game/DemoLib/Classes/DemoMath.uc"), dir_.Read("game/DemoLib/Classes/DemoObject.uc"));
}

TEST_F(FileCommandsTest, SaveAllLogsAndRevertAsks) {
    TEditor* a = Open(Game("DemoLib/Classes/DemoObject.uc"));
    Modify(a);
    main().SaveAll();
    const std::string path = Game("DemoLib/Classes/DemoObject.uc");
    ASSERT_GE(main().OutputLogWidget()->count(), 2);
    EXPECT_EQ(main().OutputLogWidget()->item(main().OutputLogWidget()->count() - 2)->text().toStdString(),
              "Backing up " + path);
    EXPECT_EQ(main().OutputLogWidget()->item(main().OutputLogWidget()->count() - 1)->text().toStdString(),
              "Saving " + path);
    Modify(a, "junk");
    prompter_.QueueAnswer(core::Answer::No);
    main().RevertActive();
    EXPECT_TRUE(a->Modified());
    prompter_.QueueAnswer(core::Answer::Yes);
    main().RevertActive();
    EXPECT_FALSE(a->Modified());
    EXPECT_EQ(a->Memo1()->Bytes(), dir_.Read("game/DemoLib/Classes/DemoObject.uc"));
}

TEST_F(FileCommandsTest, UnreadableFileShowsTheErrorAndKeepsTheEditor) {
    platform::CreateDirectories(Game("Folder.uc"));
    TEditor* editor = Open(Game("Folder.uc"));
    ASSERT_NE(editor, nullptr);
    EXPECT_NE(prompter_.shown().back().text.find("Is a directory"), std::string::npos);
    EXPECT_EQ(main().FileTabs()->count(), 1);
    Modify(editor, "x");
    main().SaveActive();  // cannot be written either
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_TRUE(editor->Modified());
}

TEST_F(FileCommandsTest, OpenUsesTheGameRootOrTheProgramDirectoryForProjects) {
    openChoice_ = Game("DemoMod/Classes/DemoMutator.uc");
    main().OpenFile(false);
    EXPECT_EQ(openDirectory_, game_);
    EXPECT_EQ(main().Editors().size(), 1u);
    openChoice_ = std::nullopt;
    main().OpenFile(true);
    EXPECT_TRUE(openProject_);
    EXPECT_EQ(openDirectory_, dir_.Path("prog"));
}

TEST_F(FileCommandsTest, ViewLogClosesAnOpenEditorFirst) {
    dir_.Write("game/System/ucc.log", "old log\r\n");
    TEditor* log = Open(Game("System/ucc.log"));
    Modify(log, "typed ");
    prompter_.QueueAnswer(core::Answer::Cancel);
    main().ViewGameFile(Game("System/ucc.log"), true);
    EXPECT_EQ(main().Editors().size(), 1u);
    EXPECT_EQ(main().Editors()[0], log);
    prompter_.QueueAnswer(core::Answer::No);
    main().ViewGameFile(Game("System/UCC.LOG"), true);
    QCoreApplication::processEvents();
    ASSERT_EQ(main().Editors().size(), 1u);
    EXPECT_NE(main().Editors()[0], log);
    EXPECT_EQ(main().Editors()[0]->Memo1()->Bytes(), "old log\r\n");
    EXPECT_EQ(main().Editors()[0]->Memo1()->lexer(),
              windows_->parsers().parser(editor::TParserRepository::LogFileParser));
}

TEST_F(FileCommandsTest, BookmarksAndWindowState) {
    TEditor* editor = Open(Game("Engine/Classes/Actor.uc"));
    auto* memo = editor->Memo1();
    memo->setCursorPosition(5, 0);
    QTest::keyClick(memo, Qt::Key_5, Qt::ControlModifier);
    memo->setCursorPosition(0, 0);
    QTest::keyClick(memo, Qt::Key_7, Qt::AltModifier);  // no bookmark 7
    int line = 0, index = 0;
    memo->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 0);
    QTest::keyClick(memo, Qt::Key_5, Qt::AltModifier);
    memo->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 5);

    editor->showMaximized();
    EXPECT_NE(dir_.Read("prog/Torvane.ini").find("[Editor]\r\nWindowState=2"), std::string::npos);
    editor->close();
    EXPECT_TRUE(main().LastEditorMaximized());
    TEditor* next = Open(Game("Engine/Classes/Info.uc"));
    EXPECT_TRUE(next->isMaximized());
    next->showNormal();
    EXPECT_NE(dir_.Read("prog/Torvane.ini").find("WindowState=0"), std::string::npos);
}

}  // namespace
}  // namespace torvane::shell
