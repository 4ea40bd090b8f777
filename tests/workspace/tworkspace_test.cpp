#include "workspace/tworkspace.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTabBar>
#include <map>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "editor/teditor.h"
#include "platform/file_ops.h"
#include "platform/locale_formats.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tloading.h"
#include "shell/tmain.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::workspace {
namespace {

using shell::AppWindows;
using shell::TMainOptions;

class TWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = LayOutGame();
        platform::CreateDirectories(dir_.Path("prog"));
        dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n");
    }
    // The game tree the test runs on: the Windows install of the sample game.
    virtual std::string LayOutGame() { return testing::CopySampleGame(dir_); }
    std::unique_ptr<AppWindows> Start(std::vector<std::string> arguments = {}) {
        TMainOptions options;
        options.paths = {dir_.Path("prog"), dir_.Path("prog")};
        options.prompter = &prompter_;
        options.arguments = std::move(arguments);
        options.terminate = [this](int code) { exitCode_ = code; };
        auto windows = std::make_unique<AppWindows>(std::move(options));
        windows->main().Timer1Timer();
        return windows;
    }
    TWorkspace& Workspace(AppWindows& windows) {
        return *static_cast<TWorkspace*>(windows.Window(QStringLiteral("TWorkspace")));
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::optional<int> exitCode_;
};

TEST_F(TWorkspaceTest, StartUpShowsTheTreesAndTheLists) {
    auto windows = Start();
    ASSERT_TRUE(windows->main().Started());
    TWorkspace& workspace = Workspace(*windows);
    ASSERT_EQ(workspace.ClassTree()->topLevelItemCount(), 1);
    QTreeWidgetItem* object = workspace.ClassTree()->topLevelItem(0);
    EXPECT_EQ(object->text(0), "Object");
    EXPECT_TRUE(object->isExpanded());
    EXPECT_EQ(object->child(0)->text(0), "Actor");
    EXPECT_EQ(object->child(0)->toolTip(0), "Engine.Actor (child of Object)");
    EXPECT_EQ(workspace.ActorTree()->topLevelItem(0)->text(0), "Actor");
    EXPECT_EQ(workspace.ClassByPackage()->topLevelItemCount(), 4);
    ASSERT_EQ(workspace.EditPackages()->topLevelItemCount(), 4);
    EXPECT_EQ(workspace.EditPackages()->topLevelItem(2)->text(0), "DemoLib");
    EXPECT_EQ(workspace.EditPackages()->topLevelItem(2)->text(1), "[ Not Compiled ]");
    EXPECT_EQ(workspace.Pages()->tabText(4), "System");
    EXPECT_TRUE(platform::FileExists(dir_.Path("prog/Classes.ucd")));
    EXPECT_EQ(dir_.Read("prog/Packages.ucd"), "Core\r\nEngine\r\nDemoLib\r\nDemoMod\r\n");

    // The next start reads the caches.
    windows.reset();
    auto again = Start();
    EXPECT_EQ(again->loading().Status(), " Reading ClassByPackage.ucd");
    EXPECT_EQ(Workspace(*again).ClassTree()->topLevelItem(0)->text(0), "Object");
}

// The current patch's Linux install: the tool in System64 reads the ini beside it (with the
// patch's commented ";EditPackages=RelicsBindings") and writes packages to ~/.utpg/System.
class TWorkspaceLinuxLayoutTest : public TWorkspaceTest {
protected:
    std::string LayOutGame() override { return testing::CopyLinuxSampleGame(dir_); }
    testing::TempHome home_;
};

TEST_F(TWorkspaceLinuxLayoutTest, SystemPageShowsWhatTheToolReadsAndWrites) {
    const std::string compiled = testing::WriteFile(home_.PreferenceDirectory() + "/DemoLib.u", "package");
    platform::SetFileModifiedTime(compiled, 946684800);
    dir_.Write("game/System/UnrealTournament.ini", "[Editor.EditorEngine]\r\nEditPackages=Core\r\n");
    auto windows = Start();
    ASSERT_TRUE(windows->main().Started());
    EXPECT_TRUE(prompter_.shown().empty());  // nothing to export: the comment is no package

    QStringList log;
    QListWidget* output = windows->main().OutputLogWidget();
    for (int i = 0; i < output->count(); ++i) log << output->item(i)->text();
    EXPECT_TRUE(log.contains(QString::fromStdString("Game configuration: " + game_ + "/System64/UnrealTournament.ini")));
    EXPECT_TRUE(log.contains(QString::fromStdString("Compiled packages are written to: " + home_.PreferenceDirectory())));

    QTreeWidget* editPackages = Workspace(*windows).EditPackages();
    ASSERT_EQ(editPackages->topLevelItemCount(), 4);
    EXPECT_EQ(editPackages->topLevelItem(1)->text(0), "Engine");
    EXPECT_EQ(editPackages->topLevelItem(2)->text(0), "DemoLib");
    EXPECT_EQ(editPackages->topLevelItem(2)->text(1), QString::fromStdString(platform::FormatDateTime(946684800)));
    EXPECT_EQ(editPackages->topLevelItem(3)->text(1), "[ Not Compiled ]");
    QTreeWidget* compiledPackages = Workspace(*windows).AvailablePackages();
    ASSERT_EQ(compiledPackages->topLevelItemCount(), 1);
    EXPECT_EQ(compiledPackages->topLevelItem(0)->text(0), "DemoLib");
    EXPECT_EQ(compiledPackages->topLevelItem(0)->text(1), "Yes");
}

TEST_F(TWorkspaceTest, DoubleClickOpensTheSourceReadOnlyForGamePackages) {
    auto windows = Start();
    TWorkspace& workspace = Workspace(*windows);
    QTreeWidgetItem* actor = workspace.ClassTree()->topLevelItem(0)->child(0);
    workspace.ClassTreeDblClick(actor);
    ASSERT_EQ(windows->main().Editors().size(), 1u);
    editor::TEditor* editor = windows->main().Editors()[0];
    EXPECT_EQ(editor->Caption(), game_ + "/Engine/Classes/Actor.uc");
    EXPECT_TRUE(editor->ReadOnly());
    EXPECT_EQ(editor->ClassName(), "Actor");

    const int position = workspace.FindClass("demomutator", "");
    ASSERT_GE(position, 0);
    workspace.OpenClass(position);
    ASSERT_EQ(windows->main().Editors().size(), 2u);
    EXPECT_FALSE(windows->main().Editors()[1]->ReadOnly());
    EXPECT_EQ(workspace.FindClass("DemoMutator", "demomod"), -1);  // the package compares exactly
}

TEST_F(TWorkspaceTest, CommandLineClassOpensFromTheTreeAndStopsThere) {
    auto windows = Start({dir_.Path("anywhere/Actor.uc"), dir_.Path("notes.txt")});
    ASSERT_EQ(windows->main().Editors().size(), 1u);
    EXPECT_EQ(windows->main().Editors()[0]->Caption(), game_ + "/Engine/Classes/Actor.uc");
    EXPECT_TRUE(windows->main().Editors()[0]->ReadOnly());
}

TEST_F(TWorkspaceTest, CollapsingANodeCollapsesItsSubtree) {
    auto windows = Start();
    TWorkspace& workspace = Workspace(*windows);
    QTreeWidgetItem* object = workspace.ClassTree()->topLevelItem(0);
    QTreeWidgetItem* actor = object->child(0);
    actor->setExpanded(true);
    actor->child(0)->setExpanded(true);
    object->setExpanded(false);
    EXPECT_FALSE(actor->isExpanded());
    EXPECT_FALSE(actor->child(0)->isExpanded());
}

TEST_F(TWorkspaceTest, FindBoxWithEnterAndF3) {
    auto windows = Start();
    TWorkspace& workspace = Workspace(*windows);
    workspace.ClassFind()->setText("demo");
    QTest::keyClick(workspace.ClassFind(), Qt::Key_Return);
    ASSERT_NE(workspace.ClassByPackage()->currentItem(), nullptr);
    EXPECT_EQ(workspace.ClassByPackage()->currentItem()->text(0), "DemoMath");
    QTest::keyClick(workspace.ClassByPackage(), Qt::Key_F3);
    EXPECT_EQ(workspace.ClassByPackage()->currentItem()->text(0), "DemoObject");
    EXPECT_TRUE(workspace.ClassByPackage()->currentItem()->parent()->isExpanded());
}

TEST_F(TWorkspaceTest, LayoutKeys) {
    dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ +
                                       "\r\n[Workspace]\r\nVisible=true\r\nDocked=true\r\nWidth=250\r\n"
                                       "Tab=-3\r\nTabPosition=7\r\n");
    auto windows = Start();
    TWorkspace& workspace = Workspace(*windows);
    EXPECT_TRUE(workspace.isVisibleTo(&windows->main()));
    EXPECT_EQ(workspace.Pages()->currentIndex(), 3);
    EXPECT_EQ(workspace.Pages()->tabPosition(), QTabWidget::South);
    workspace.SaveWorkspaceLayout();
    const std::string ini = dir_.Read("prog/Torvane.ini");
    EXPECT_NE(ini.find("Docked=true"), std::string::npos);
    EXPECT_NE(ini.find("Left=-1\r\nTop=-1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Tab=3\r\nTabPosition=1"), std::string::npos) << ini;
}

TEST_F(TWorkspaceTest, ChangedPackagesAnsweredNoEndTheProgram) {
    { auto first = Start(); }
    dir_.Write("game/System/UnrealTournament.ini",
               "[Editor.EditorEngine]\r\nEditPackages=Core\r\nEditPackages=Engine\r\n");
    prompter_.QueueAnswer(core::Answer::No);
    auto windows = Start();
    EXPECT_EQ(exitCode_, 0);
    EXPECT_FALSE(windows->main().Started());
    EXPECT_EQ(prompter_.shown().back().text, "Taking a quick exit");
}

// A tree cache that cannot be written ("Packages.ucd" is a directory) is reported at start-up
// and by Rebuild Class Tree; the program starts, and the trees are shown and stay on screen.
TEST_F(TWorkspaceTest, UnwritableCachesAreReportedAndTheTreesStay) {
    platform::CreateDirectories(dir_.Path("prog/Packages.ucd"));
    auto windows = Start();
    ASSERT_TRUE(windows->main().Started());
    ASSERT_FALSE(prompter_.shown().empty());
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_NE(prompter_.shown().back().text.find("Packages.ucd"), std::string::npos) << prompter_.shown().back().text;
    TWorkspace& workspace = Workspace(*windows);
    ASSERT_EQ(workspace.ClassTree()->topLevelItemCount(), 1);
    EXPECT_EQ(workspace.ClassTree()->topLevelItem(0)->text(0), "Object");

    platform::DeleteFile(dir_.Path("prog/Classes.ucd"));
    platform::CreateDirectories(dir_.Path("prog/Classes.ucd"));
    const std::size_t shown = prompter_.shown().size();
    windows->main().Commands().Command(shell::cmd::kRebuildClassTree)->trigger();
    ASSERT_EQ(prompter_.shown().size(), shown + 1);
    EXPECT_NE(prompter_.shown().back().text.find("Classes.ucd"), std::string::npos);
    EXPECT_FALSE(workspace.ClassTree()->isHidden());
    EXPECT_FALSE(workspace.ActorTree()->isHidden());
    EXPECT_EQ(workspace.ClassTree()->topLevelItemCount(), 1);
    EXPECT_TRUE(windows->main().Commands().Command(shell::cmd::kRebuildClassTree)->isEnabled());
}

// A game configuration that is missing is reported at start-up and nothing more happens to it:
// no rebuild question, the caches stay byte for byte and are shown, Rebuild Class Tree keeps
// them, and a project's package is not written into a new configuration.
TEST_F(TWorkspaceTest, MissingConfigurationKeepsTheCachesAndCreatesNothing) {
    { auto first = Start(); }
    const std::string ini = game_ + "/System/UnrealTournament.ini";
    platform::DeleteFile(ini);
    std::map<std::string, std::string> caches;
    for (const char* file : {"Classes.ucd", "Actors.ucd", "ClassByPackage.ucd", "Packages.ucd"}) {
        caches[file] = dir_.Read(std::string("prog/") + file);
    }
    auto windows = Start();
    ASSERT_TRUE(windows->main().Started());
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].kind, testing::ShownMessage::Kind::Error);
    EXPECT_NE(prompter_.shown()[0].text.find("UnrealTournament.ini"), std::string::npos);
    TWorkspace& workspace = Workspace(*windows);
    ASSERT_EQ(workspace.ClassTree()->topLevelItemCount(), 1);
    EXPECT_GT(workspace.ClassTree()->topLevelItem(0)->childCount(), 1);  // more than Core

    windows->main().Commands().Command(shell::cmd::kRebuildClassTree)->trigger();
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    prompter_.QueueAnswer(core::Answer::Yes);  // not in your EditPackages: add it?
    workspace.LoadProject(dir_.Write("prog/Demo.tvx", "[Project]\r\nName=Demo\r\n[Packages]\r\nPackage0=DemoMod\r\n"));
    EXPECT_TRUE(workspace.ProjectOpen());
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_FALSE(platform::FileExists(ini));
    for (const auto& [file, bytes] : caches) EXPECT_EQ(dir_.Read("prog/" + file), bytes) << file;
}

// The first start (no layout keys yet) shows the workspace docked at the left, wide enough for
// its page tabs; hidden and shown again from the View menu, it comes back docked.
TEST_F(TWorkspaceTest, FirstStartShowsTheWorkspaceDockedAtTheLeft) {
    auto windows = Start();
    shell::TMain& main = windows->main();
    TWorkspace& workspace = Workspace(*windows);
    QApplication::processEvents();
    EXPECT_TRUE(workspace.isVisible());
    EXPECT_FALSE(workspace.isFloating());
    EXPECT_EQ(main.dockWidgetArea(&workspace), Qt::LeftDockWidgetArea);
    QAction* view = main.Commands().Command(shell::cmd::kViewWorkspace);
    EXPECT_TRUE(view->isChecked());
    QTabBar* tabs = workspace.Pages()->tabBar();
    EXPECT_GE(tabs->width(), tabs->sizeHint().width()) << "the page tabs need scroll arrows";
    EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), tabs->width());
    // The same in the ini for the next start.
    main.close();
    EXPECT_NE(dir_.Read("prog/Torvane.ini").find("[Workspace]\r\nVisible=true\r\nDocked=true"), std::string::npos)
        << dir_.Read("prog/Torvane.ini");

    auto again = Start();
    TWorkspace& shownAgain = Workspace(*again);
    QAction* viewAgain = again->main().Commands().Command(shell::cmd::kViewWorkspace);
    viewAgain->trigger();
    EXPECT_FALSE(shownAgain.isVisible());
    viewAgain->trigger();
    EXPECT_TRUE(shownAgain.isVisible());
    EXPECT_FALSE(shownAgain.isFloating());
}

// Enter on a class in any of the class trees opens it, as a double-click does.
TEST_F(TWorkspaceTest, EnterOnAClassOpensIt) {
    auto windows = Start();
    TWorkspace& workspace = Workspace(*windows);
    QTreeWidgetItem* demoPackage = nullptr;
    for (int i = 0; i < workspace.ClassByPackage()->topLevelItemCount(); ++i) {
        if (workspace.ClassByPackage()->topLevelItem(i)->text(0) == "DemoMod") {
            demoPackage = workspace.ClassByPackage()->topLevelItem(i);
        }
    }
    ASSERT_NE(demoPackage, nullptr);
    ASSERT_GT(demoPackage->childCount(), 0);
    struct Case {
        QTreeWidget* tree;
        QTreeWidgetItem* item;
        Qt::Key key;
    };
    const Case cases[] = {
        {workspace.ClassTree(), workspace.ClassTree()->topLevelItem(0)->child(0), Qt::Key_Return},  // Actor
        {workspace.ActorTree(), workspace.ActorTree()->topLevelItem(0), Qt::Key_Enter},             // Actor
        {workspace.ClassByPackage(), demoPackage->child(0), Qt::Key_Return},
    };
    for (const Case& c : cases) {
        for (editor::TEditor* open : windows->main().Editors()) open->CloseAnswered();
        QApplication::processEvents();
        c.tree->setCurrentItem(c.item);
        QTest::keyClick(c.tree, c.key, c.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        ASSERT_EQ(windows->main().Editors().size(), 1u) << c.tree->objectName().toStdString();
        EXPECT_EQ(QString::fromStdString(windows->main().Editors()[0]->ClassName()), c.item->text(0))
            << c.tree->objectName().toStdString();
    }
    // A package row opens nothing.
    for (editor::TEditor* open : windows->main().Editors()) open->CloseAnswered();
    QApplication::processEvents();
    workspace.ClassByPackage()->setCurrentItem(demoPackage);
    QTest::keyClick(workspace.ClassByPackage(), Qt::Key_Return);
    EXPECT_TRUE(windows->main().Editors().empty());
}

// The status line shows a step's progress while it runs and nothing once it has ended.
TEST_F(TWorkspaceTest, StatusLineIsClearedWhenTheRebuildEnds) {
    auto windows = Start();
    TWorkspace& workspace = Workspace(*windows);
    workspace.Status()->setText(QStringLiteral("before"));
    windows->main().Commands().Command(shell::cmd::kRebuildClassTree)->trigger();
    EXPECT_EQ(workspace.Status()->text(), "");
    EXPECT_EQ(workspace.ClassTree()->topLevelItem(0)->text(0), "Object");
}

}  // namespace
}  // namespace torvane::workspace
