// Icons as a user meets them: the toolbars, the menus, the trees and the windows show pictures
// from the icon theme, and the bundled ones where the theme has none.
#include "shell/icons.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeWidget>

#include "editor/teditor.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/tworkspace.h"

namespace torvane::shell {
namespace {

bool SamePicture(const QIcon& a, const QIcon& b) {
    return !a.isNull() && a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
}

TEST(IconsTest, ThemeFirstThenTheBundledPictures) {
    UseIconTheme();
    // Named by the theme: found through the theme lookup.
    EXPECT_TRUE(QIcon::hasThemeIcon(QStringLiteral("document-open")));
    EXPECT_EQ(ThemeIcon("document-open").name(), "document-open");
    // Had by no theme: the bundled picture in every bundled size.
    const QIcon compile = ThemeIcon("torvane-compile");
    ASSERT_FALSE(compile.isNull());
    EXPECT_TRUE(compile.name().isEmpty());
    const QList<QSize> sizes = compile.availableSizes();
    for (int size : {16, 24, 32}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    // Had by neither: no picture, and no error.
    EXPECT_TRUE(ThemeIcon("torvane-no-such-picture").isNull());

    EXPECT_FALSE(ProgramIcon().isNull());
    const QByteArray png = ProgramIconPng(48);
    ASSERT_GT(png.size(), 8);
    EXPECT_EQ(png.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_TRUE(ProgramIconPng(20).isEmpty());
}

class IdeIconsTest : public ::testing::Test {
protected:
    void SetUp() override {
        windows_ = std::make_unique<AppWindows>(testing::SampleGameOptions(dir_, prompter_, game_));
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
    }
    TMain& main() { return windows_->main(); }
    workspace::TWorkspace& Workspace() {
        return *static_cast<workspace::TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace")));
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<AppWindows> windows_;
};

TEST_F(IdeIconsTest, EveryToolBarButtonAndTheMostUsedMenuCommandsHavePictures) {
    for (QToolBar* bar : main().findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            if (action->isSeparator() || action->text().isEmpty()) continue;  // the boxes
            EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
        }
    }
    for (const char* id : {cmd::kOpen, cmd::kSave, cmd::kSaveAs, cmd::kUndo, cmd::kRedo, cmd::kFind,
                           cmd::kFindReplace, cmd::kGotoLine, cmd::kCompile, cmd::kCompileAndRun, cmd::kRun,
                           cmd::kCreateSubClass, cmd::kDeleteClass, cmd::kRebuildClassTree,
                           cmd::kEnvironmentOptions, cmd::kAbout}) {
        EXPECT_FALSE(main().Commands().Command(id)->icon().isNull()) << id;
    }
    EXPECT_TRUE(SamePicture(main().Commands().Command(cmd::kCompile)->icon(), ThemeIcon("torvane-compile")));
    EXPECT_EQ(main().Commands().Command(cmd::kOpen)->icon().name(), "document-open");
}

TEST_F(IdeIconsTest, WindowsShowTheProgramsIconAndEditorsTheirFilesKind) {
    EXPECT_TRUE(SamePicture(main().windowIcon(), ProgramIcon()));
    editor::TEditor* source = main().OpenSourceFile(dir_.Write("Mine.uc", "class Mine;\r\n"), "", "");
    editor::TEditor* notes = main().OpenSourceFile(dir_.Write("notes.txt", "x\r\n"), "", "");
    EXPECT_EQ(source->windowIcon().name(), "text-x-script");
    EXPECT_EQ(notes->windowIcon().name(), "text-x-generic");
}

TEST_F(IdeIconsTest, TreeNodesShowWhatTheyAre) {
    workspace::TWorkspace& workspace = Workspace();
    QTreeWidgetItem* object = workspace.ClassTree()->topLevelItem(0);
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(SamePicture(object->icon(0), ThemeIcon("torvane-class")));
    EXPECT_TRUE(SamePicture(object->child(0)->icon(0), ThemeIcon("torvane-class")));
    QTreeWidgetItem* actor = workspace.ActorTree()->topLevelItem(0);
    ASSERT_NE(actor, nullptr);
    EXPECT_TRUE(SamePicture(actor->icon(0), ThemeIcon("torvane-actor")));
    QTreeWidgetItem* package = workspace.ClassByPackage()->topLevelItem(0);
    ASSERT_NE(package, nullptr);
    ASSERT_GT(package->childCount(), 0);
    EXPECT_EQ(package->icon(0).name(), "package-x-generic");
    EXPECT_TRUE(SamePicture(package->child(0)->icon(0), ThemeIcon("torvane-class")));
    QTreeWidgetItem* project = workspace.ProjectTree()->topLevelItem(0);
    ASSERT_NE(project, nullptr);
    EXPECT_TRUE(SamePicture(project->icon(0), ThemeIcon("torvane-project")));
}

}  // namespace
}  // namespace torvane::shell
