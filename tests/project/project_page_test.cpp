// The project page and the project dialogs, driven headless.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "shell/command_ids.h"
#include "editor/teditor.h"
#include "platform/file_ops.h"
#include "project/tnewproj.h"
#include "shell/app_windows.h"
#include "shell/tmain.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/tworkspace.h"

namespace torvane::project {
namespace {

class ProjectPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = testing::CopySampleGame(dir_);
        platform::CreateDirectories(dir_.Path("prog"));
        dir_.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + game_ + "\r\n");
        platform::CreateDirectories(game_ + "/System/PkgBackup");
    }
    std::unique_ptr<shell::AppWindows> Start() {
        shell::TMainOptions options;
        options.paths = {dir_.Path("prog"), dir_.Path("prog")};
        options.prompter = &prompter_;
        options.terminate = [](int) {};
        auto windows = std::make_unique<shell::AppWindows>(std::move(options));
        Workspace(*windows).SetDialogRunner([this](QDialog& dialog) { return dialogs_(dialog); });
        windows->main().Timer1Timer();
        return windows;
    }
    workspace::TWorkspace& Workspace(shell::AppWindows& windows) {
        return *static_cast<workspace::TWorkspace*>(windows.Window(QStringLiteral("TWorkspace")));
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::function<int(QDialog&)> dialogs_ = [](QDialog&) { return QDialog::Rejected; };
};

TEST_F(ProjectPageTest, NewProjectWithANameClashAnsweredNo) {
    dir_.Write("prog/Taken.tvx", "[Project]\r\nName=Taken\r\n");
    auto windows = Start();
    workspace::TWorkspace& workspace = Workspace(*windows);
    int attempts = 0;
    dialogs_ = [&](QDialog& dialog) {
        auto& form = static_cast<TNewProj&>(dialog);
        EXPECT_EQ(form.windowTitle(), "New Project");
        EXPECT_EQ(form.IncludeList()->count(), 4);
        EXPECT_FALSE(form.IncludeList()->isEnabled());
        form.pName()->setText("Taken");
        prompter_.QueueAnswer(core::Answer::No);
        form.accept();  // Ok: the clash question, No keeps the dialog open
        ++attempts;
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_EQ(form.pName()->text(), "Taken");
        form.pName()->setText("Fresh");
        form.accept();
        return form.result();
    };
    prompter_.QueueAnswer(core::Answer::No);  // import existing packages? No
    workspace.NewProject();
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(prompter_.shown()[0].text, "A project with this name already exists!  Overwrite it?");
    EXPECT_EQ(prompter_.shown()[1].text, "Would you like to import existing packages in to this project?");
    EXPECT_TRUE(workspace.ProjectOpen());
    EXPECT_TRUE(workspace.ProjectModified());
    EXPECT_EQ(workspace.ProjectTree()->topLevelItem(0)->text(0), "Fresh.tvx");
    EXPECT_EQ(workspace.ProjName()->text(), "Fresh");
    EXPECT_TRUE(windows->main().Commands().Command(shell::cmd::kProjectSettings)->isEnabled());
}

TEST_F(ProjectPageTest, ImportSaveAndReopenAtStartUp) {
    {
        auto windows = Start();
        workspace::TWorkspace& workspace = Workspace(*windows);
        dialogs_ = [&](QDialog& dialog) {
            if (auto* form = qobject_cast<TNewProj*>(&dialog)) {
                form->pName()->setText("Demo");
                form->accept();
                return form->result();
            }
            auto& add = static_cast<TProjAdd&>(dialog);
            EXPECT_FALSE(add.AddButton()->isEnabled());
            add.PkgList()->findItems("DemoMod", Qt::MatchExactly)[0]->setCheckState(Qt::Checked);
            return static_cast<int>(QDialog::Accepted);
        };
        prompter_.QueueAnswer(core::Answer::Yes);  // import existing packages
        workspace.NewProject();
        QTreeWidgetItem* root = workspace.ProjectTree()->topLevelItem(0);
        ASSERT_EQ(root->childCount(), 1);
        EXPECT_EQ(root->child(0)->text(0), "DemoMod");
        EXPECT_EQ(root->child(0)->child(0)->text(0), "Classes");
        EXPECT_FALSE(root->child(0)->child(0)->isExpanded());
        windows->main().SetCompileModeIndex(2);
        workspace.SaveProject();
        EXPECT_NE(dir_.Read("prog/Demo.tvx").find("CompileMode=2"), std::string::npos);
        EXPECT_FALSE(workspace.ProjectModified());
    }
    auto windows = Start();  // LastProject is reopened
    workspace::TWorkspace& workspace = Workspace(*windows);
    ASSERT_TRUE(workspace.ProjectOpen());
    EXPECT_EQ(windows->main().CompileModeIndex(), 2);
    EXPECT_FALSE(workspace.ProjectModified());
    windows->main().SetCompileModeIndex(1);  // the compile mode marks the project modified
    EXPECT_TRUE(workspace.ProjectModified());

    // Double-clicking a class opens it from the class tree.
    QTreeWidgetItem* classes = workspace.ProjectTree()->topLevelItem(0)->child(0)->child(0);
    workspace.ProjectTreeDblClick(classes->child(0));
    ASSERT_EQ(windows->main().Editors().size(), 1u);
    EXPECT_EQ(windows->main().Editors()[0]->ClassName(), "DemoMutator");
    EXPECT_EQ(windows->main().Editors()[0]->Package(), "DemoMod");

    prompter_.QueueAnswer(core::Answer::No);  // save changes? No
    workspace.CloseProject();
    EXPECT_EQ(workspace.ProjectTree()->topLevelItem(0)->text(0), "<None>");
    EXPECT_EQ(workspace.ProjName()->text(), "No Project Loaded...");
}

// Saving over a project file that cannot be written is refused with the error box; the old file
// stays as it was and the project stays modified.
TEST_F(ProjectPageTest, FailedSaveKeepsTheOldProjectFile) {
    const std::string path = dir_.Write("prog/Demo.tvx", "[Project]\r\nName=Demo\r\n[Packages]\r\nPackage0=DemoMod\r\n");
    const std::string before = dir_.Read("prog/Demo.tvx");
    auto windows = Start();
    workspace::TWorkspace& workspace = Workspace(*windows);
    workspace.LoadProject(path);
    ASSERT_TRUE(workspace.ProjectOpen());
    windows->main().SetCompileModeIndex(2);
    ::chmod(path.c_str(), 0444);
    windows->main().Commands().Command(shell::cmd::kSaveProject)->trigger();
    ::chmod(path.c_str(), 0644);
    ASSERT_FALSE(prompter_.shown().empty());
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_EQ(dir_.Read("prog/Demo.tvx"), before);
    EXPECT_TRUE(workspace.ProjectModified());
}

// A game configuration that cannot be written is reported when a project's package is added to
// it, while loading a project or importing packages; the project still gets the package.
TEST_F(ProjectPageTest, UnwritableConfigurationIsReportedWhileLoadingAndImporting) {
    dir_.Write("game/NewMod/Classes/NewThing.uc", "class NewThing extends Object;\r\n");
    dir_.Write("game/OtherMod/Classes/Other.uc", "class Other extends Object;\r\n");
    const std::string ini = game_ + "/System/UnrealTournament.ini";
    const std::string before = dir_.Read("game/System/UnrealTournament.ini");
    const std::string path = dir_.Write("prog/New.tvx", "[Project]\r\nName=New\r\n[Packages]\r\nPackage0=NewMod\r\n");
    auto windows = Start();
    workspace::TWorkspace& workspace = Workspace(*windows);
    ::chmod(ini.c_str(), 0444);
    prompter_.QueueAnswer(core::Answer::Yes);  // not in your EditPackages: add it?
    workspace.LoadProject(path);
    ASSERT_TRUE(workspace.ProjectOpen());
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_NE(prompter_.shown().back().text.find("Permission denied"), std::string::npos);
    EXPECT_EQ(workspace.ProjectTree()->topLevelItem(0)->child(0)->text(0), "NewMod");

    dialogs_ = [&](QDialog& dialog) {
        static_cast<TProjAdd&>(dialog).PkgList()->findItems("OtherMod", Qt::MatchExactly)[0]->setCheckState(Qt::Checked);
        return static_cast<int>(QDialog::Accepted);
    };
    const std::size_t shown = prompter_.shown().size();
    windows->main().Commands().Command(shell::cmd::kImportPackageIntoProject)->trigger();
    ::chmod(ini.c_str(), 0644);
    ASSERT_EQ(prompter_.shown().size(), shown + 1);
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_EQ(workspace.ProjectTree()->topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(workspace.ProjectTree()->topLevelItem(0)->child(1)->text(0), "OtherMod");
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), before);
}

}  // namespace
}  // namespace torvane::project
