#include "shell/tmain.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTreeWidget>
#include <QTest>
#include <QTimer>

#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tloading.h"
#include "shell/tprefs.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::shell {
namespace {

using testing::ScriptedPrompter;
using testing::TempDir;

// A workspace with a project whose modified flag the test sets.
class FakeWorkspace final : public WorkspaceServices {
public:
    bool ProjectOpen() const override { return open; }
    bool ProjectModified() const override { return modified; }
    void SaveProject() override { ++saves; }
    bool InitClassBrowser(const platform::GameInstall& install) override {
        initRoot = install.gameRoot();
        return true;
    }
    bool open = false;
    bool modified = false;
    int saves = 0;
    std::string initRoot;
};

class TMainTest : public ::testing::Test {
protected:
    void SetUp() override { game_ = testing::CopySampleGame(dir_); }

    std::unique_ptr<AppWindows> Start(std::optional<std::string> chosenFolder = std::nullopt) {
        TMainOptions options;
        options.paths = {dir_.Path("prog"), dir_.Path("prog")};
        platform::CreateDirectories(dir_.Path("prog"));
        options.prompter = &prompter_;
        options.homeDirectory = dir_.Path("home");
        options.chooseGameFolder = [chosenFolder] { return chosenFolder; };
        options.terminate = [this](int code) { exitCode_ = code; };
        auto windows = std::make_unique<AppWindows>(std::move(options));
        windows->main().SetWorkspaceServices(&workspace_);
        return windows;
    }
    std::string Ini() const { return dir_.Read("prog/Torvane.ini"); }

    TempDir dir_;
    std::string game_;
    ScriptedPrompter prompter_;
    FakeWorkspace workspace_;
    std::optional<int> exitCode_;
};

TEST_F(TMainTest, WindowsAreCreatedInTheirOrder) {
    auto windows = Start();
    const std::vector<QString> expected = {
        "TMain", "TLoading", "TWorkspace", "TCompile", "TCreatePackage", "TExportOptions",
        "TExportPackage", "TFindInFiles", "TNewClsDlg", "TNewProj", "TPrefs", "TProjAdd",
        "Trebuild", "TSoundImport", "TAboutBox", "TEdFindDlg", "TGotoLineDialog",
        "TParserRepository", "TEdReplDlg", "TAddPackage", "TPackageFlags", "TDefaultProps",
        "TConfigExtTools", "TAddEditTool", "TAsk", "TTextViewer", "TImageImport",
        "TSelEditOptions"};
    EXPECT_EQ(windows->CreationOrder(), expected);
    EXPECT_EQ(windows->main().windowTitle(), "Torvane 4.0");
    EXPECT_TRUE(windows->loading().isVisible());
    EXPECT_EQ(windows->loading().Status(), "Loading Preferences...");
    EXPECT_EQ(windows->main().Commands().Command(cmd::kCompileAndRun)->text(), "Compile && Run");
    EXPECT_EQ(windows->main().Commands().Command(cmd::kGotoLine)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(windows->main().ToolsMenu()->actions().size(), 5);
    EXPECT_EQ(windows->main().BrowserPanel()->width(), 1);
    EXPECT_TRUE(platform::FileExists(dir_.Path("prog/EdData.dat")));  // created empty
}

TEST_F(TMainTest, StartsWithAValidGamePath) {
    dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n");
    auto windows = Start();
    windows->main().Timer1Timer();
    EXPECT_TRUE(windows->main().Started());
    EXPECT_EQ(windows->main().GameRoot(), game_);
    EXPECT_EQ(workspace_.initRoot, game_);
    EXPECT_TRUE(prompter_.shown().empty());
    EXPECT_FALSE(windows->loading().isVisible());
    EXPECT_NE(Ini().find("AutoSaveDSK=true"), std::string::npos);
    EXPECT_FALSE(exitCode_);
}

TEST_F(TMainTest, EmptyGamePathTakesALocatedInstallOnYes) {
    testing::CopyTree(game_, dir_.Path("home/ut99"));
    prompter_.QueueAnswer(core::Answer::Yes);
    auto windows = Start();
    windows->main().Timer1Timer();
    EXPECT_EQ(windows->main().GameRoot(), dir_.Path("home/ut99"));
    EXPECT_EQ(windows->prefs().UTPath()->text().toStdString(), dir_.Path("home/ut99"));
    EXPECT_NE(Ini().find("UTPath=" + dir_.Path("home/ut99") + "\r\n"), std::string::npos);
}

TEST_F(TMainTest, CancelledFolderBrowserEndsWithoutWritingSettings) {
    auto windows = Start(std::nullopt);
    windows->main().Timer1Timer();
    EXPECT_EQ(exitCode_, 0);
    EXPECT_FALSE(windows->main().Started());
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, "Torvane doesn't work without UT!");
    EXPECT_FALSE(platform::FileExists(dir_.Path("prog/Torvane.ini")));
}

TEST_F(TMainTest, ChosenFolderBecomesTheGamePath) {
    auto windows = Start(game_);
    windows->main().Timer1Timer();
    EXPECT_EQ(windows->main().GameRoot(), game_);
    EXPECT_NE(Ini().find("UTPath=" + game_), std::string::npos);
}

TEST_F(TMainTest, BottomPanelSizingAndTheSplitterLimit) {
    dir_.Write("prog/Torvane.ini", "[OutputLog]\r\nHeight=200\r\nVisible=true\r\n");
    auto windows = Start();
    TMain& main = windows->main();
    EXPECT_EQ(main.OutputLogHeight(), 200);
    EXPECT_EQ(main.BottomPanelHeight(), 241);
    EXPECT_FALSE(main.ResizeBottomPanel(54));
    EXPECT_EQ(main.BottomPanelHeight(), 241);
    EXPECT_TRUE(main.ResizeBottomPanel(55));
    EXPECT_EQ(main.OutputLogHeight(), 14);
    EXPECT_NE(Ini().find("Height=14\r\nVisible=true"), std::string::npos) << Ini();
    main.SetOutputLogVisible(false);
    EXPECT_EQ(main.BottomPanelHeight(), 41);
    EXPECT_FALSE(main.OutputLogWidget()->isVisibleTo(&main));
    EXPECT_NE(Ini().find("Visible=false"), std::string::npos);
}

TEST_F(TMainTest, HiddenLogKeepsItsStoredHeight) {
    dir_.Write("prog/Torvane.ini", "[OutputLog]\r\nHeight=80\r\nVisible=false\r\n");
    auto windows = Start();
    EXPECT_EQ(windows->main().BottomPanelHeight(), 41);
    windows->main().SetOutputLogVisible(true);
    EXPECT_EQ(windows->main().BottomPanelHeight(), 121);
}

TEST_F(TMainTest, ClosingWithCancelKeepsTheWindowOpen) {
    auto windows = Start(game_);
    TMain& main = windows->main();
    main.show();
    workspace_.open = true;
    workspace_.modified = true;
    prompter_.QueueAnswer(core::Answer::Cancel);
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(prompter_.shown().back().text, "Save changed to your current project?");
    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_TRUE(main.close());
    EXPECT_EQ(workspace_.saves, 1);
    EXPECT_NE(Ini().find("Width="), std::string::npos);
}

TEST_F(TMainTest, AddLogLineAlsoAppendsToTheLogFile) {
    auto windows = Start();
    windows->main().AddLogLine("first");
    windows->main().AddLogLine("second");
    EXPECT_EQ(windows->main().OutputLogWidget()->count(), 2);
    EXPECT_EQ(dir_.Read("prog/Torvane.log"), "first\r\nsecond\r\n");
    windows->main().Log().AppendLine("");
    windows->main().ScrollLogToEnd();
    EXPECT_EQ(windows->main().OutputLogWidget()->count(), 2);  // the empty last line went
}

TEST_F(TMainTest, EnvironmentOptionsRestartRule) {
    dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n");
    auto windows = Start();
    windows->main().Timer1Timer();
    TPrefs& prefs = windows->prefs();
    // Cancel: the edits are dropped.
    QTimer::singleShot(0, &prefs, [&prefs] {
        prefs.UTPath()->setText("/somewhere/else");
        prefs.reject();
    });
    windows->main().EnvironmentOptions();
    EXPECT_EQ(prefs.UTPath()->text().toStdString(), game_);
    EXPECT_FALSE(exitCode_);
    // OK with the same path in another case: saved, no restart.
    QTimer::singleShot(0, &prefs, [&prefs] { prefs.accept(); });
    windows->main().EnvironmentOptions();
    EXPECT_FALSE(exitCode_);
    // OK with another path: saved, then the program ends.
    QTimer::singleShot(0, &prefs, [&prefs] {
        prefs.UTPath()->setText("/somewhere/else");
        prefs.accept();
    });
    windows->main().EnvironmentOptions();
    EXPECT_EQ(exitCode_, 0);
    EXPECT_EQ(prompter_.shown().back().text,
              "Torvane must be restarted in order to reload the class/package information.  Press OK to "
              "exit this application.");
    EXPECT_NE(Ini().find("UTPath=/somewhere/else"), std::string::npos);
}

// A setting that is not a number is reported with the standard error box; the program starts
// with its designed layout all the same.
TEST_F(TMainTest, NonNumericLayoutValueIsReportedAndTheProgramStarts) {
    dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n[IDE]\r\nLeft=abc\r\n");
    auto windows = Start();
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].kind, testing::ShownMessage::Kind::Error);
    EXPECT_EQ(prompter_.shown()[0].text, "'abc' is not a valid integer value");
    EXPECT_EQ(windows->main().BottomPanelHeight(), 150);  // the designed log height
    windows->main().Timer1Timer();
    EXPECT_TRUE(windows->main().Started());
}

// Enter in the token value box adds the token and goes no further: the dialog stays open and
// nothing is saved until OK.
TEST_F(TMainTest, EnterInTheTokenValueAddsTheTokenAndKeepsTheDialogOpen) {
    dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n");
    auto windows = Start();
    windows->main().Timer1Timer();
    TPrefs& prefs = windows->prefs();
    bool openAfterEnter = false;
    int tokensAfterEnter = 0;
    QTimer::singleShot(0, &prefs, [&] {
        QTest::keyClicks(prefs.TokenNameEdit(), "map");
        QTest::keyClicks(prefs.TokenValueEdit(), "DM-Deck16");
        QTest::keyClick(prefs.TokenValueEdit(), Qt::Key_Return);
        openAfterEnter = prefs.isVisible();
        tokensAfterEnter = prefs.TokenList()->topLevelItemCount();
        prefs.reject();
    });
    windows->main().Commands().Command(cmd::kEnvironmentOptions)->trigger();
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(tokensAfterEnter, 1);
    EXPECT_EQ(Ini().find("Token0=MAP"), std::string::npos);
    EXPECT_FALSE(exitCode_);
}

TEST_F(TMainTest, WindowLayoutIsRead) {
    dir_.Write("prog/Torvane.ini", "[IDE]\r\nLeft=-1\r\nTop=-1\r\nWidth=700\r\nHeight=500\r\n");
    auto windows = Start();
    EXPECT_EQ(windows->main().width(), 700);
    EXPECT_EQ(windows->main().height(), 500);
}

// New editors fit the area between the tool bars and the bottom panel (borders, close button and
// status bar in view), and a click on the tab of a minimised editor brings it back.
TEST_F(TMainTest, NewEditorsFitTheAreaAndATabRestoresItsEditor) {
    auto windows = Start(game_);
    TMain& main = windows->main();
    main.resize(999, 618);
    main.show();
    QApplication::processEvents();
    QMdiArea* area = main.MdiArea();
    ASSERT_LT(area->viewport()->height(), kDesignedEditorHeight);  // the designed size would not fit
    std::vector<editor::TEditor*> editors;
    for (int i = 0; i < 6; ++i) {
        editors.push_back(main.OpenSourceFile(dir_.Write("File" + std::to_string(i) + ".uc", "class A;\r\n"), "", ""));
        QApplication::processEvents();
        EXPECT_TRUE(area->viewport()->rect().contains(editors.back()->geometry()))
            << i << ": " << editors.back()->geometry().right() << "," << editors.back()->geometry().bottom();
    }

    editors[1]->showMinimized();
    area->setActiveSubWindow(editors[3]);
    QTabBar* tabs = main.FileTabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_FALSE(editors[1]->isMinimized());
    EXPECT_EQ(area->activeSubWindow(), editors[1]);
    EXPECT_EQ(tabs->currentIndex(), 1);
}

// The tool bar's buttons the user needs most stay in view at 1,000 pixels, and "Compile && Run"
// shows as "Compile & Run".
TEST_F(TMainTest, MostUsedToolBarButtonsAreInViewAtTheDesignedWidth) {
    auto windows = Start(game_);
    TMain& main = windows->main();
    main.resize(1000, 618);
    main.show();
    QApplication::processEvents();
    for (const char* id : {cmd::kOpen, cmd::kSave, cmd::kQuickFind, cmd::kQuickFindInFiles, cmd::kCompile,
                           cmd::kCompileAndRun, cmd::kRun}) {
        QAction* action = main.Commands().Command(id);
        QWidget* button = nullptr;
        for (QToolBar* bar : main.findChildren<QToolBar*>()) {
            if (QWidget* shown = bar->widgetForAction(action)) button = shown;
        }
        ASSERT_NE(button, nullptr) << id;
        EXPECT_TRUE(button->isVisible()) << id << " is behind the tool bar's overflow arrow";
        const QRect inMain(button->mapTo(&main, QPoint(0, 0)), button->size());
        EXPECT_TRUE(main.rect().contains(inMain)) << id;
    }
    QToolButton* compileAndRun = nullptr;
    for (QToolBar* bar : main.findChildren<QToolBar*>()) {
        if (auto* shown = qobject_cast<QToolButton*>(bar->widgetForAction(main.Commands().Command(cmd::kCompileAndRun)))) {
            compileAndRun = shown;
        }
    }
    ASSERT_NE(compileAndRun, nullptr);
    EXPECT_EQ(compileAndRun->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    EXPECT_EQ(compileAndRun->text(), "Compile && Run");  // a tool button shows "&&" as "&"
    EXPECT_EQ(compileAndRun->toolTip(), "Compile & Run");
}

// Captions shown as text never show a stray "&": a label whose "&" marks a key has the box that
// the key moves to. The about box is as wide as its contents and its title need.
TEST_F(TMainTest, CaptionsShowNoStrayAmpersand) {
    auto windows = Start(game_);
    for (const QString& name : windows->CreationOrder()) {
        QWidget* window = windows->Window(name);
        if (!window) continue;
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (Qt::mightBeRichText(label->text())) continue;
            const QString text = QString(label->text()).remove(QStringLiteral("&&"));
            if (text.contains(QLatin1Char('&'))) {
                EXPECT_NE(label->buddy(), nullptr) << name.toStdString() << ": " << label->text().toStdString();
            }
        }
    }
    QWidget* about = windows->Window(QStringLiteral("TAboutBox"));
    about->show();
    QApplication::processEvents();
    EXPECT_GE(about->width(), about->sizeHint().width());
    EXPECT_GE(about->width(), 2 * about->fontMetrics().horizontalAdvance(about->windowTitle()));
    for (QLabel* label : about->findChildren<QLabel*>()) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
    about->hide();
}

// The close question names no file: the editor it is about comes to the front, restored, before
// it is asked.
TEST(TMainClosingTest, EachCloseQuestionShowsItsEditorInFront) {
    class FrontNotingPrompter final : public core::Prompter {
    public:
        void Information(std::string_view) override {}
        void Warning(std::string_view) override {}
        void Error(std::string_view text) override { ADD_FAILURE() << text; }
        core::Answer Confirm(std::string_view, core::Buttons) override {
            if (asked) asked();
            return core::Answer::No;
        }
        std::function<void()> asked;
    } prompter;
    testing::TempDir dir;
    std::string game;
    AppWindows windows(testing::SampleGameOptions(dir, prompter, game));
    TMain& main = windows.main();
    main.Timer1Timer();
    main.show();
    std::vector<editor::TEditor*> editors;
    for (int i = 0; i < 5; ++i) {
        editors.push_back(main.OpenSourceFile(dir.Write("Mod" + std::to_string(i) + ".uc", "class A;\r\n"), "", ""));
        editors.back()->Memo1()->append(QStringLiteral("// changed\r\n"));
        ASSERT_TRUE(editors.back()->Modified());
    }
    editors[0]->showMinimized();
    editors[2]->showMinimized();
    main.MdiArea()->setActiveSubWindow(editors[4]);
    std::vector<std::pair<QMdiSubWindow*, bool>> inFront;  // active editor, and whether minimised
    prompter.asked = [&] {
        QMdiSubWindow* active = main.MdiArea()->activeSubWindow();
        inFront.emplace_back(active, active && active->isMinimized());
    };
    EXPECT_TRUE(main.close());
    ASSERT_EQ(inFront.size(), editors.size());
    for (std::size_t i = 0; i < editors.size(); ++i) {
        EXPECT_EQ(inFront[i].first, editors[i]) << i;
        EXPECT_FALSE(inFront[i].second) << i;
    }
}

}  // namespace
}  // namespace torvane::shell
