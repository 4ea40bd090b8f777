#include "build/compile_pipeline.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "build/headless_compile_monitor.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "platform/game_paths.h"
#include "platform/locale_formats.h"
#include "project/project.h"
#include "support/run_command.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/class_browser.h"

namespace torvane::build {
namespace {

using testing::ScriptedPrompter;

class FailingScripts final : public CompileScripts {
public:
    void PreCompile() override { throw std::runtime_error("Error at Line No. 0 statement skipped"); }
    void PostCompile(bool success) override { postSuccess = success; }
    std::optional<bool> postSuccess;
};

// Reads the configuration when the pre-compile script runs: the file the tool is about to read.
class ConfigSnapshotScripts final : public CompileScripts {
public:
    explicit ConfigSnapshotScripts(std::string path) : path_(std::move(path)) {}
    void PreCompile() override { atPreCompile = platform::ReadWholeFile(path_); }
    void PostCompile(bool) override {}
    std::string atPreCompile;

private:
    std::string path_;
};

class CompilePipelineTest : public ::testing::Test {
protected:
    void SetUp() override { Open(testing::CopySampleGame(dir_), "System"); }
    // The game at root, whose tool reads the UnrealTournament.ini of configDir.
    void Open(const std::string& root, const std::string& configDir) {
        game_ = root;
        ini_ = game_ + "/" + configDir + "/UnrealTournament.ini";
        install_ = platform::GameInstall::Detect(game_);
        workspace::ClassBrowserContext browserContext;
        browserContext.install = install_;
        browserContext.cacheDirectory = dir_.path();
        browserContext.prompter = &prompter_;
        browser_ = std::make_unique<workspace::ClassBrowser>(browserContext);
        browser_->LoadEditPackages();
        browser_->RebuildClassTrees();
    }
    // Compiles everything once, as the game would have it.
    void MakeAll() {
        const auto [directory, program] = platform::SplitLastSeparator(install_.tool().program);
        ASSERT_EQ(testing::RunCommand("cd " + testing::ShellQuote(directory) + " && ./" + program + " make >/dev/null").exitCode, 0);
    }
    CompilePipeline Pipeline() {
        CompileContext context;
        context.install = install_;
        context.browser = browser_.get();
        context.project = &project_;
        context.prompter = &prompter_;
        context.log = &log_;
        context.status = &status_;
        context.monitor = &monitor_;
        context.scripts = scripts_;
        context.saveAll = [this] { ++saves_; };
        context.confirmRebuild = [this](const std::vector<std::string>& packages) {
            rebuildList_ = packages;
            return true;
        };
        context.jumpToError = [this](const ErrorLocation& location, int position, const std::string& line) {
            jumped_ = location;
            jumpPosition_ = position;
            jumpLine_ = line;
        };
        return CompilePipeline(context);
    }
    // An open project with DemoMod that compiles only the included packages.
    void UserIncludeProject(std::vector<std::string> includePacks) {
        project_.name = "Demo";
        project_.packages = {"DemoMod"};
        project_.userInclude = true;
        project_.includePacks = std::move(includePacks);
    }
    bool LogHas(const std::string& text) const {
        return std::find(log_.lines().begin(), log_.lines().end(), text) != log_.lines().end();
    }

    testing::TempDir dir_;
    std::string game_;
    std::string ini_;
    platform::GameInstall install_;
    ScriptedPrompter prompter_;
    testing::RecordingOutputLog log_;
    testing::RecordingStatusSink status_;
    std::function<bool()> cancel_;
    HeadlessCompileMonitor monitor_{[this] { return cancel_ && cancel_(); }};
    FailingScripts failingScripts_;
    CompileScripts* scripts_ = &failingScripts_;
    std::unique_ptr<workspace::ClassBrowser> browser_;
    project::Project project_;
    int saves_ = 0;
    std::vector<std::string> rebuildList_;
    std::optional<ErrorLocation> jumped_;
    int jumpPosition_ = -1;
    std::string jumpLine_;
};

TEST_F(CompilePipelineTest, NothingToCompile) {
    MakeAll();
    CompilePipeline pipeline = Pipeline();
    EXPECT_FALSE(pipeline.DoCompile(false));
    EXPECT_EQ(pipeline.outcome(), CompileOutcome::NothingToCompile);
    EXPECT_EQ(prompter_.shown().back().text, "Nothing to compile.");
    EXPECT_EQ(log_.lines(), (std::vector<std::string>{"------- In DoCompile", "Creating Lists", "Saving All Files",
                                                      "Processing EditPacks", "Checking Project",
                                                      "Checking CompList.Count"}));
    EXPECT_EQ(saves_, 1);
}

TEST_F(CompilePipelineTest, APackageWithoutItsCompiledFileIsRebuilt) {
    MakeAll();
    platform::DeleteFile(game_ + "/System/DemoMod.u");
    const std::string iniBefore = dir_.Read("game/System/UnrealTournament.ini");
    CompilePipeline pipeline = Pipeline();
    EXPECT_TRUE(pipeline.DoCompile(false));
    EXPECT_EQ(pipeline.outcome(), CompileOutcome::ToolRan);
    EXPECT_EQ(rebuildList_, (std::vector<std::string>{"DemoMod"}));
    EXPECT_TRUE(platform::FileExists(game_ + "/System/DemoMod.u"));
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.torvane"));
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), iniBefore);
    EXPECT_TRUE(LogHas("--------------------DemoMod--------------------"));
    EXPECT_EQ(pipeline.errorCount(), 0);
    EXPECT_EQ(pipeline.output().gauge(), 4);
    EXPECT_EQ(status_.workspace(), (std::vector<std::string>{"Making backups...", "Compiling...", ""}));
    EXPECT_TRUE(monitor_.finished());
    EXPECT_EQ(browser_->editPackages()[3].lastModified.empty(), false);
}

TEST_F(CompilePipelineTest, UserIncludeProjectRewritesAndRestoresTheConfiguration) {
    MakeAll();
    const std::string iniBefore =
        "[Engine.Engine]\r\nGameRenderDevice=SoftDrv.SoftwareRenderDevice\r\n\r\n[Editor.EditorEngine]\r\n"
        "CacheSizeMegs=6\r\nEditPackages=Core\r\nEditPackages=Engine\r\n!EditPackages=Commented\r\n"
        "EditPackages=DemoLib\r\nEditPackages=DemoMod\r\nGridEnabled=True\r\n";
    dir_.Write("game/System/UnrealTournament.ini", iniBefore);
    UserIncludeProject({"DemoLib", "DemoMod"});
    CompilePipeline pipeline = Pipeline();
    EXPECT_TRUE(pipeline.DoCompile(false));
    EXPECT_FALSE(LogHas("--------------------Core--------------------"));  // the tool saw only the two
    EXPECT_TRUE(LogHas("--------------------DemoLib--------------------"));
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), iniBefore);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.~ini"), iniBefore);
    EXPECT_TRUE(platform::FileExists(game_ + "/System/DemoMod.~u"));  // backed up before it went
}

// A configuration that is a link (kept elsewhere by the user) is rewritten and put back through
// the link: afterwards it is still the same link, and its file holds the same bytes.
TEST_F(CompilePipelineTest, LinkedConfigurationStaysALink) {
    MakeAll();
    const std::string original = dir_.Read("game/System/UnrealTournament.ini");
    const std::string kept = dir_.Write("configs/ut.ini", original);
    platform::DeleteFile(ini_);
    ASSERT_EQ(::symlink(kept.c_str(), ini_.c_str()), 0);
    UserIncludeProject({"DemoLib", "DemoMod"});
    CompilePipeline pipeline = Pipeline();
    EXPECT_TRUE(pipeline.DoCompile(false));
    EXPECT_FALSE(LogHas("--------------------Core--------------------"));
    EXPECT_TRUE(LogHas("--------------------DemoMod--------------------"));
    struct stat st {};
    ASSERT_EQ(::lstat(ini_.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(dir_.Read("configs/ut.ini"), original);
}

TEST_F(CompilePipelineTest, ThreeErrorsOpenTheFirstAtItsLine) {
    MakeAll();
    dir_.Write("game/DemoMod/Classes/DemoPickup.uc",
               "class DemoPickup extends Inventory;\r\n\r\n// STANDIN: Error, first\r\n"
               "// STANDIN: Error, second\r\n// STANDIN: Error, third\r\n");
    platform::SetFileModifiedTime(game_ + "/System/DemoMod.u", 1000);  // older than the edit
    CompilePipeline pipeline = Pipeline();
    EXPECT_TRUE(pipeline.DoCompile(false));
    EXPECT_EQ(pipeline.errorCount(), 3);
    ASSERT_TRUE(jumped_);
    EXPECT_EQ(jumped_->className, "DemoPickup");
    EXPECT_EQ(jumped_->lineText, "3");
    EXPECT_EQ(jumpPosition_, browser_->FindClass("DemoPickup"));
    EXPECT_EQ(jumpLine_, "DemoMod\\Classes\\DemoPickup.uc(3) : Error, first");
    EXPECT_EQ(pipeline.output().FirstErrorMessage(), " first");
}

TEST_F(CompilePipelineTest, CancelEndsTheTool) {
    platform::DeleteFile(game_ + "/System/DemoMod.u");
    ::setenv("UCC_STANDIN_LINE_DELAY_MS", "300", 1);
    int lines = 0;
    cancel_ = [&] { return ++lines >= 3; };
    const auto started = std::chrono::steady_clock::now();
    CompilePipeline pipeline = Pipeline();
    pipeline.DoCompile(false);
    ::unsetenv("UCC_STANDIN_LINE_DELAY_MS");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
    EXPECT_TRUE(LogHas("Compile aborted by User!"));
    EXPECT_EQ(pipeline.outcome(), CompileOutcome::Aborted);
    EXPECT_FALSE(LogHas("Success - 0 error(s), 0 warnings"));
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.torvane"));
}

TEST_F(CompilePipelineTest, ToolThatCannotStartIsReportedAndTheConfigurationRestored) {
    platform::DeleteFile(game_ + "/System/UCC.exe");
    CompilePipeline pipeline = Pipeline();
    pipeline.DoCompile(false);
    EXPECT_NE(prompter_.shown().back().text.find("Could not find file"), std::string::npos);
    EXPECT_EQ(pipeline.outcome(), CompileOutcome::Failed);
    EXPECT_TRUE(monitor_.finished());
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.torvane"));
}

TEST_F(CompilePipelineTest, FailedPreCompileScriptPutsTheConfigurationBack) {
    const std::string iniBefore = dir_.Read("game/System/UnrealTournament.ini");
    UserIncludeProject({"DemoMod"});
    project_.doPreBatch = true;
    CompilePipeline pipeline = Pipeline();
    EXPECT_FALSE(pipeline.DoCompile(false));
    EXPECT_EQ(prompter_.shown().back().text, "Error at Line No. 0 statement skipped");
    EXPECT_EQ(pipeline.outcome(), CompileOutcome::Failed);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), iniBefore);
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.torvane"));
}

TEST_F(CompilePipelineTest, InterruptedCompileIsRepairedAtStart) {
    const std::string iniBefore = dir_.Read("game/System/UnrealTournament.ini");
    dir_.Write("game/System/UnrealTournament.torvane", iniBefore);
    dir_.Write("game/System/UnrealTournament.ini", "[Editor.EditorEngine]\r\nEditPackages=DemoMod\r\n");
    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_TRUE(RestoreInterruptedCompile(ini_, prompter_));
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), iniBefore);
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.torvane"));
    EXPECT_FALSE(RestoreInterruptedCompile(ini_, prompter_));
}

// A compile copy left by a compile that did not finish is never overwritten: the compile stops
// before anything changes unless the user restores the configuration from it.
TEST_F(CompilePipelineTest, LeftoverCompileCopyIsNeverOverwritten) {
    MakeAll();
    const std::string good = dir_.Read("game/System/UnrealTournament.ini");
    const std::string rewritten = "[Editor.EditorEngine]\r\nEditPackages=DemoMod\r\n";
    dir_.Write("game/System/UnrealTournament.torvane", good);
    dir_.Write("game/System/UnrealTournament.ini", rewritten);
    UserIncludeProject({"DemoMod"});

    prompter_.QueueAnswer(core::Answer::No);
    CompilePipeline refused = Pipeline();
    EXPECT_FALSE(refused.DoCompile(false));
    ASSERT_EQ(prompter_.shown().size(), 2u);
    EXPECT_NE(prompter_.shown()[0].text.find("UnrealTournament.torvane is left from a compile that did not finish"),
              std::string::npos);
    EXPECT_EQ(prompter_.shown()[1].text.rfind("Nothing was compiled.", 0), 0u);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.torvane"), good);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), rewritten);
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.~ini"));
    EXPECT_TRUE(platform::FileExists(game_ + "/System/DemoMod.u"));
    EXPECT_EQ(saves_, 0);

    prompter_.QueueAnswer(core::Answer::Yes);  // restore, then compile
    CompilePipeline restored = Pipeline();
    EXPECT_TRUE(restored.DoCompile(false));
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), good);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.~ini"), good);  // the backup holds no rewritten ini
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.torvane"));
}

// When the compile copy cannot be made, the compile stops before any package is deleted or the
// configuration rewritten.
TEST_F(CompilePipelineTest, FailedCompileCopyStopsBeforeAnythingChanges) {
    MakeAll();
    const std::string ini = dir_.Read("game/System/UnrealTournament.ini");
    const std::string compiled = dir_.Read("game/System/DemoMod.u");
    platform::CreateDirectories(game_ + "/System/UnrealTournament.torvane");  // cannot be written
    UserIncludeProject({"DemoMod"});
    CompilePipeline pipeline = Pipeline();
    EXPECT_FALSE(pipeline.DoCompile(false));
    ASSERT_FALSE(prompter_.shown().empty());
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_NE(prompter_.shown().back().text.find("Nothing was compiled."), std::string::npos);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), ini);
    EXPECT_EQ(dir_.Read("game/System/DemoMod.u"), compiled);
    EXPECT_FALSE(platform::FileExists(game_ + "/System/DemoMod.~u"));
    EXPECT_FALSE(monitor_.finished());  // the tool never ran
}

TEST_F(CompilePipelineTest, ProtectedAndUpToDatePackagesAreNotCompiled) {
    MakeAll();
    EXPECT_FALSE(NeedsCompile(install_, "Engine"));
    EXPECT_FALSE(NeedsCompile(install_, "DemoMod"));
    platform::SetFileModifiedTime(game_ + "/System/DemoMod.u", 1000);
    EXPECT_TRUE(NeedsCompile(install_, "DemoMod"));
    EXPECT_TRUE(NeedsCompile(install_, "NoSuchPackage"));
}

// The current patch's Linux install: the tool (System64/ucc-bin-amd64) reads
// System64/UnrealTournament.ini and keeps its packages in ~/.utpg/System.
class LinuxLayoutCompileTest : public CompilePipelineTest {
protected:
    void SetUp() override { Open(testing::CopyLinuxSampleGame(dir_), "System64"); }
    std::string UserFile(const std::string& name) const { return home_.PreferenceDirectory() + "/" + name; }
    testing::TempHome home_;
};

// Compile, edit a source, compile again: the second compile really compiles the package again,
// wherever the tool keeps it.
class CompileInBothLayoutsTest : public CompilePipelineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        if (GetParam()) {
            Open(testing::CopyLinuxSampleGame(dir_), "System64");
        } else {
            CompilePipelineTest::SetUp();
        }
    }
    std::string PackageDirectory() const { return GetParam() ? home_.PreferenceDirectory() : game_ + "/System"; }
    testing::TempHome home_;
};

TEST_P(CompileInBothLayoutsTest, EditedSourceIsCompiledAgain) {
    ASSERT_TRUE(Pipeline().DoCompile(false));
    const std::string package = PackageDirectory() + "/DemoMod.u";
    ASSERT_EQ(install_.FindPackageFile("DemoMod"), package);
    const std::string first = platform::ReadWholeFile(package);
    platform::SetFileModifiedTime(package, 1000);  // the edit comes later
    dir_.Write("game/DemoMod/Classes/DemoPickup.uc", "class DemoPickup extends Inventory;\r\nvar int Edited;\r\n");

    CompilePipeline second = Pipeline();
    ASSERT_TRUE(second.DoCompile(false));
    EXPECT_EQ(rebuildList_, (std::vector<std::string>{"DemoMod"}));
    EXPECT_TRUE(LogHas("Compiling DemoPickup"));
    EXPECT_EQ(second.errorCount(), 0);
    EXPECT_NE(platform::ReadWholeFile(package), first);
    EXPECT_EQ(browser_->editPackages()[3].lastModified, platform::FormatDateTime(*platform::FileModifiedTime(package)));
}

INSTANTIATE_TEST_SUITE_P(Layouts, CompileInBothLayoutsTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Linux64" : "Windows"); });

TEST_F(LinuxLayoutCompileTest, EveryCopyTheToolCouldFindIsBackedUpAndDeleted) {
    MakeAll();
    const std::string stale = platform::ReadWholeFile(UserFile("DemoMod.u"));
    dir_.Write("game/System64/DemoMod.u", "beside the tool");
    dir_.Write("game/System/DemoMod.u", "in System");
    platform::CreateDirectories(dir_.Path("backup"));
    project_.name = "Demo";
    project_.packages = {"DemoMod"};
    project_.backupDir = dir_.Path("backup");
    ASSERT_TRUE(Pipeline().DoCompile(false));
    EXPECT_TRUE(LogHas("Compiling DemoPickup"));
    EXPECT_EQ(dir_.Read("backup/DemoMod.~u"), stale);  // the copy the tool would have found
    EXPECT_EQ(dir_.Read("game/System64/DemoMod.~u"), "beside the tool");
    EXPECT_EQ(dir_.Read("game/System/DemoMod.~u"), "in System");
    EXPECT_FALSE(platform::FileExists(game_ + "/System64/DemoMod.u"));
    EXPECT_FALSE(platform::FileExists(game_ + "/System/DemoMod.u"));
    EXPECT_TRUE(platform::FileExists(UserFile("DemoMod.u")));
}

// The compile copy lives beside the configuration the tool reads, not in System: a copy left
// there by a compile that did not finish is found, offered at start-up and before a compile, and
// restored over that configuration.
TEST_F(LinuxLayoutCompileTest, LeftoverCompileCopyBesideTheIniTheToolReadsIsRestored) {
    MakeAll();
    const std::string copy = CompileCopyPath(ini_);
    ASSERT_EQ(platform::SplitLastSeparator(copy).first, platform::SplitLastSeparator(ini_).first);
    ASSERT_NE(copy, game_ + "/System/UnrealTournament.torvane");
    const std::string good = platform::ReadWholeFile(ini_);
    const std::string rewritten = "[Editor.EditorEngine]\r\nEditPackages=DemoMod\r\n";
    testing::WriteFile(copy, good);
    testing::WriteFile(ini_, rewritten);

    prompter_.QueueAnswer(core::Answer::No);  // the start-up question: keep it for now
    EXPECT_TRUE(RestoreInterruptedCompile(ini_, prompter_));
    EXPECT_EQ(platform::ReadWholeFile(copy), good);

    platform::DeleteFile(UserFile("DemoMod.u"));  // so that the compile has a package to build
    prompter_.QueueAnswer(core::Answer::Yes);  // the compile's question: restore, then compile
    EXPECT_TRUE(Pipeline().DoCompile(false));
    ASSERT_EQ(prompter_.shown().size(), 2u);
    EXPECT_EQ(prompter_.shown()[1].text.rfind(copy + " is left from a compile that did not finish", 0), 0u);
    EXPECT_EQ(platform::ReadWholeFile(ini_), good);
    EXPECT_FALSE(platform::FileExists(copy));
    EXPECT_TRUE(LogHas("Compiling DemoPickup"));
}

TEST_F(LinuxLayoutCompileTest, UserIncludeRewritesAndRestoresTheIniTheToolReads) {
    MakeAll();
    const std::string iniBefore = platform::ReadWholeFile(ini_);
    const std::string rootIni = dir_.Read("game/System/UnrealTournament.ini");
    ASSERT_NE(iniBefore.find("\n;EditPackages=RelicsBindings\n"), std::string::npos);
    ConfigSnapshotScripts snapshot(ini_);
    scripts_ = &snapshot;
    project_.name = "Demo";
    project_.packages = {"DemoMod"};
    project_.userInclude = true;
    project_.doPreBatch = true;
    project_.includePacks = {"DemoLib", "DemoMod"};
    ASSERT_TRUE(Pipeline().DoCompile(false));
    EXPECT_NE(snapshot.atPreCompile.find("EditPackages=DemoLib\nEditPackages=DemoMod\n;EditPackages=RelicsBindings\n"),
              std::string::npos)
        << snapshot.atPreCompile;
    EXPECT_FALSE(LogHas("--------------------Core--------------------"));  // the tool read the rewrite
    EXPECT_TRUE(LogHas("--------------------DemoMod--------------------"));
    EXPECT_FALSE(LogHas("--------------------RelicsBindings--------------------"));
    EXPECT_EQ(platform::ReadWholeFile(ini_), iniBefore);
    EXPECT_EQ(dir_.Read("game/System64/UnrealTournament.~ini"), iniBefore);
    EXPECT_FALSE(platform::FileExists(game_ + "/System64/UnrealTournament.torvane"));
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), rootIni);
    EXPECT_FALSE(platform::FileExists(game_ + "/System/UnrealTournament.~ini"));
}

// The per-user ini appeared after the install was looked at (the game made it): the tool reads
// another list than the one prepared and shown, and the compile says so and fails.
TEST_F(LinuxLayoutCompileTest, ToolReadingAnotherIniFailsTheCompile) {
    const std::string userIni = testing::WriteFile(UserFile("UnrealTournament.ini"), "[Editor.EditorEngine]\nEditPackages=DemoLib\n");
    CompilePipeline pipeline = Pipeline();
    ASSERT_TRUE(pipeline.DoCompile(false));
    EXPECT_TRUE(LogHas("Success - 0 error(s), 0 warnings"));
    const std::string mismatch = ConfigMismatchLine(userIni, ini_);
    EXPECT_TRUE(LogHas(mismatch));
    EXPECT_EQ(pipeline.errorCount(), 1);
    EXPECT_EQ(pipeline.output().FirstErrorMessage(), mismatch);
    EXPECT_FALSE(jumped_);

    platform::DeleteFile(userIni);  // the same file named another way is no mismatch
    platform::DeleteFile(UserFile("DemoMod.u"));
    CompilePipeline again = Pipeline();
    ASSERT_TRUE(again.DoCompile(false));
    EXPECT_EQ(again.errorCount(), 0);
}

}  // namespace
}  // namespace torvane::build
