#include "project/project_session.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "shell/settings_file.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "support/recording_export_progress.h"
#include "workspace/class_browser.h"

namespace torvane::project {
namespace {

using testing::ScriptedPrompter;

class ProjectSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = testing::CopySampleGame(dir_);
        platform::CreateDirectories(dir_.Path("prog"));
        workspace::ClassBrowserContext browserContext;
        browserContext.install = platform::GameInstall::Detect(game_);
        browserContext.cacheDirectory = dir_.Path("prog");
        browserContext.prompter = &prompter_;
        browser_ = std::make_unique<workspace::ClassBrowser>(browserContext);
        browser_->LoadEditPackages();
        session_ = std::make_unique<ProjectSession>(Context());
    }
    ProjectSessionContext Context() {
        ProjectSessionContext context;
        context.gameRoot = game_;
        context.programDirectory = dir_.Path("prog");
        context.settings = &settings_;
        context.prompter = &prompter_;
        context.status = &status_;
        context.browser = browser_.get();
        return context;
    }

    testing::TempDir dir_;
    std::string game_;
    ScriptedPrompter prompter_;
    testing::RecordingStatusSink status_;
    shell::SettingsFile settings_{dir_.Path("prog/Torvane.ini")};
    std::unique_ptr<workspace::ClassBrowser> browser_;
    std::unique_ptr<ProjectSession> session_;
};

TEST_F(ProjectSessionTest, NewImportSaveCloseLoad) {
    EXPECT_EQ(session_->RootCaption(), "<None>");
    Project p = session_->NewProjectDefaults();
    EXPECT_TRUE(p.backupSrc);
    EXPECT_EQ(p.includePacks, (std::vector<std::string>{"Core", "Engine", "DemoLib", "DemoMod"}));
    p.name = "Demo";
    prompter_.QueueAnswer(core::Answer::Yes);  // create the backup directory
    EXPECT_TRUE(session_->ValidateNewProject(p.name));
    EXPECT_TRUE(platform::DirectoryExists(game_ + "/System/PkgBackup"));
    session_->ApplyNew(p);
    EXPECT_EQ(session_->RootCaption(), "Demo.tvx");
    EXPECT_EQ(session_->InstalledPackages(), (std::vector<std::string>{"Core", "DemoLib", "DemoMod", "Engine"}));
    session_->ImportPackages({"DemoMod", "DemoLib", "demomod"});
    EXPECT_EQ(prompter_.shown().back().text, "Package demomod is already in the project.");
    ASSERT_EQ(session_->packages().size(), 2u);
    const std::string path = session_->Save();
    EXPECT_EQ(path, dir_.Path("prog/Demo.tvx"));
    EXPECT_NE(dir_.Read("prog/Demo.tvx").find("[Packages]\r\nPackage0=DemoMod\r\nPackage1=DemoLib\r\n"),
              std::string::npos);
    EXPECT_EQ(dir_.Read("prog/Demo.tvx").find("[PreBatch]"), std::string::npos);
    EXPECT_EQ(settings_.ReadIniString("Preferences", "LastProject", ""), path);
    EXPECT_EQ(status_.workspace().back(), "Project Saved...");
    session_->Close();
    EXPECT_FALSE(session_->project().IsOpen());
    EXPECT_EQ(settings_.ReadIniString("Preferences", "LastProject", "x"), "");
    EXPECT_TRUE(session_->Load(path));
    EXPECT_EQ(session_->Label(), path);
    ASSERT_EQ(session_->packages().size(), 2u);
    EXPECT_EQ(session_->packages()[0].contents.groups[0].files,
              (std::vector<std::string>{"DemoMutator.uc", "DemoPickup.uc"}));
}

TEST_F(ProjectSessionTest, SavingAfterLoadingFromElsewhereWritesTheProgramDirectory) {
    const std::string elsewhere = dir_.Write(
        "other/Far.tvx", "[Project]\r\nName=Far\r\n[Packages]\r\nPackage0=DemoMod\r\n");
    ASSERT_TRUE(session_->Load(elsewhere));
    session_->project().modified = true;
    EXPECT_EQ(session_->Save(), dir_.Path("prog/Far.tvx"));
    EXPECT_EQ(settings_.ReadIniString("Preferences", "LastProject", ""), dir_.Path("prog/Far.tvx"));
}

TEST_F(ProjectSessionTest, LoadingQuestionsForMissingAndUnlistedPackages) {
    dir_.Write("game/Extra/Classes/ExtraThing.uc", "class ExtraThing extends Object;");
    const std::string path = dir_.Write(
        "prog/P.tvx", "[Project]\r\nName=P\r\n[Packages]\r\nPackage0=Gone\r\nPackage1=Extra\r\n");
    prompter_.QueueAnswer(core::Answer::Yes);  // add Extra to EditPackages
    ASSERT_TRUE(session_->Load(path));
    EXPECT_EQ(prompter_.shown()[0].text, "A package in this project no longer exists.");
    EXPECT_EQ(prompter_.shown()[1].text, "The package Extra is not in your EditPackages.  Add it?");
    ASSERT_EQ(session_->packages().size(), 1u);
    EXPECT_GE(browser_->IndexOfEditPackage("Extra"), 0);
}

TEST_F(ProjectSessionTest, ListedPackageWithoutSourcesIsExportedWhenWanted) {
    // DecoTest is listed and compiled but has no sources; the list's own offer is declined.
    const std::string ini = dir_.Read("game/System/UnrealTournament.ini");
    dir_.Write("game/System/UnrealTournament.ini", ini + "EditPackages=DecoTest\r\n");
    platform::CopyFileOverwrite(testing::FixturesDir() + "/compiled/System/DecoTest.u", game_ + "/System/DecoTest.u");
    testing::RecordingExportProgress progress;
    workspace::ClassBrowserContext browserContext = browser_->context();
    browserContext.exportProgress = &progress;
    browser_ = std::make_unique<workspace::ClassBrowser>(browserContext);
    prompter_.QueueAnswer(core::Answer::No);
    browser_->LoadEditPackages();
    ProjectSession session(Context());
    const std::string path = dir_.Write("prog/P.tvx", "[Project]\r\nName=P\r\n[Packages]\r\nPackage0=DecoTest\r\n");

    prompter_.QueueAnswer(core::Answer::No);
    ASSERT_TRUE(session.Load(path));
    EXPECT_EQ(prompter_.shown().back().text, "The package DecoTest is installed, but not exported.  Export now?");
    EXPECT_TRUE(session.packages().empty());
    EXPECT_TRUE(progress.calls.empty());

    prompter_.QueueAnswer(core::Answer::Yes);
    ASSERT_TRUE(session.Load(path));
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"start", "package DecoTest", "finish 250"}));
    ASSERT_EQ(session.packages().size(), 1u);
    EXPECT_EQ(session.packages()[0].contents.groups[0].files,
              (std::vector<std::string>{"DecoChild.uc", "DecoFlow.uc", "DecoStates.uc"}));
}

TEST_F(ProjectSessionTest, NameClashAnsweredNoKeepsTheDialogOpen) {
    dir_.Write("prog/Taken.tvx", "[Project]\r\nName=Taken\r\n");
    EXPECT_FALSE(session_->ValidateNewProject(""));
    EXPECT_EQ(prompter_.shown().back().text, "You need to name your project.");
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_FALSE(session_->ValidateNewProject("Taken"));
    EXPECT_EQ(prompter_.shown().back().text, "A project with this name already exists!  Overwrite it?");
}

TEST_F(ProjectSessionTest, RemoveAndAddFiles) {
    Project p = session_->NewProjectDefaults();
    p.name = "R";
    session_->ApplyNew(p);
    session_->ImportPackages({"DemoMod"});
    EXPECT_TRUE(session_->AddProjectFile("demomod", "Sounds", "Boom.wav"));
    EXPECT_TRUE(session_->AddProjectFile("DemoMod", "sounds", "Bang.wav"));
    EXPECT_FALSE(session_->AddProjectFile("DemoMod", "Sounds", "BOOM.WAV"));  // listed already
    EXPECT_FALSE(session_->AddProjectFile("NotInProject", "Sounds", "x.wav"));
    const auto& groups = session_->packages()[0].contents.groups;
    EXPECT_EQ(groups.back().name, "Sounds");
    EXPECT_EQ(groups.back().files, (std::vector<std::string>{"Boom.wav", "Bang.wav"}));
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_FALSE(session_->RemovePackage(0));
    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_TRUE(session_->RemovePackage(0));
    EXPECT_TRUE(session_->packages().empty());
}

}  // namespace
}  // namespace torvane::project
