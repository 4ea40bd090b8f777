#include "workspace/package_operations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "platform/game_paths.h"
#include "project/project_session.h"
#include "support/package_builder.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "unrealpkg/ut_packages.h"
#include "workspace/class_browser.h"
#include "workspace/edit_packages.h"

namespace torvane::workspace {
namespace {

using testing::ScriptedPrompter;

// A configuration with comments, a package whose name begins with another's, and lines after the
// EditPackages block; CR LF line ends.
constexpr const char* kIni =
    "[Editor.EditorEngine]\r\n"
    "; the packages, in order\r\n"
    "EditPackages=Core\r\n"
    "EditPackages=Engine\r\n"
    "!EditPackages=Engine\r\n"
    "EditPackages=Botpack\r\n"
    "EditPackages=BotpackX\r\n"
    "EditPackages=MyMod\r\n"
    "CacheSizeMegs=6\r\n";

class PackageOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Source("Core", "Object", "class Object native;");
        Source("Engine", "Actor", "class Actor extends Object native;");
        Source("Botpack", "Weapon2", "class Weapon2 extends Actor;");
        Source("BotpackX", "Extra", "class Extra extends Actor;");
        Source("MyMod", "Base", "class Base extends Actor;");
        Source("MyMod", "Child", "class Child extends Base;");
        dir_.Write("ut/System/UnrealTournament.ini", kIni);
        Start();
    }
    void Start() {
        platform::CreateDirectories(dir_.Path("prog"));
        ClassBrowserContext context;
        context.install = platform::GameInstall::Detect(dir_.Path("ut"));
        context.cacheDirectory = dir_.Path("prog");
        context.prompter = &prompter_;
        browser_ = std::make_unique<ClassBrowser>(context);
        ASSERT_TRUE(browser_->LoadEditPackages());
        ASSERT_TRUE(browser_->RebuildClassTrees());
    }
    void Source(const std::string& package, const std::string& name, const std::string& header) {
        dir_.Write("ut/" + package + "/Classes/" + name + ".uc", header + "\r\n");
    }
    PackageOperationsContext Context() {
        PackageOperationsContext context;
        context.browser = browser_.get();
        context.project = project_.get();
        context.prompter = &prompter_;
        context.status = &status_;
        return context;
    }
    void OpenProject(const std::vector<std::string>& packages) {
        project::ProjectSessionContext context;
        context.gameRoot = dir_.Path("ut");
        context.programDirectory = dir_.Path("prog");
        context.prompter = &prompter_;
        context.browser = browser_.get();
        project_ = std::make_unique<project::ProjectSession>(context);
        project::Project values;
        values.name = "Demo";
        project_->ApplyNew(values);
        project_->ImportPackages(packages);
        project_->project().modified = false;
    }
    std::vector<std::string> Names() const { return browser_->EditPackageNames(); }
    std::string Ini() const { return dir_.Read("ut/System/UnrealTournament.ini"); }
    const std::string& LastShown() const { return prompter_.shown().back().text; }

    testing::TempDir dir_;
    ScriptedPrompter prompter_;
    testing::RecordingStatusSink status_;
    std::unique_ptr<ClassBrowser> browser_;
    std::unique_ptr<project::ProjectSession> project_;
};

TEST_F(PackageOperationsTest, RemoveIsRefusedForPackagesOthersOrTheProjectRelyOn) {
    Source("Other", "Sub", "class Sub extends Weapon2;");  // a class of another package below Botpack's
    std::string ini = kIni;
    dir_.Write("ut/System/UnrealTournament.ini", ini + "EditPackages=Other\r\n");
    Start();
    EXPECT_FALSE(RemovePackage(Context(), "Botpack"));
    EXPECT_EQ(LastShown(), "Other packages rely on the package you are trying to remove.  Please remove them first");
    OpenProject({"MyMod"});
    EXPECT_FALSE(RemovePackage(Context(), "MyMod"));  // its own classes below each other do not count
    EXPECT_EQ(LastShown(), "Your current project relies on MyMod.  Please close the project first");
    EXPECT_EQ(Names().size(), 6u);
    EXPECT_EQ(Ini(), ini + "EditPackages=Other\r\n");
}

TEST_F(PackageOperationsTest, RemoveTakesTheLineTheEntryAndTheClasses) {
    bool treesChanged = false;
    PackageOperationsContext context = Context();
    context.treesChanged = [&] { treesChanged = true; };
    ASSERT_TRUE(RemovePackage(context, "Botpack"));
    EXPECT_TRUE(treesChanged);
    std::string expected = kIni;
    expected.erase(expected.find("EditPackages=Botpack\r\n"), 22);
    EXPECT_EQ(Ini(), expected);  // BotpackX and the comments untouched
    EXPECT_EQ(dir_.Read("ut/System/UnrealTournament.~ini"), kIni);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Core", "Engine", "BotpackX", "MyMod"}));
    EXPECT_EQ(browser_->FindClass("Weapon2"), -1);
    EXPECT_NE(browser_->FindClass("Extra"), -1);
    EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(PackageOperationsTest, InstallAddsEachInOrder) {
    Source("NewA", "A", "class A extends Actor;");
    InstallPackages(*browser_, {"NewB", "NewA", "core"});  // an entry already listed is left
    EXPECT_EQ(Names(), (std::vector<std::string>{"Core", "Engine", "Botpack", "BotpackX", "MyMod", "NewB", "NewA"}));
    EXPECT_NE(Ini().find("EditPackages=MyMod\r\nEditPackages=NewB\r\nEditPackages=NewA\r\nCacheSizeMegs"),
              std::string::npos);
    EXPECT_NE(browser_->FindClass("A"), -1);
}

// Drops in the list: D before T in the list and in the file, only D's line moving.
TEST_F(PackageOperationsTest, ReorderMovesOneLineBeforeTheTarget) {
    struct Case {
        const char* name;
        std::size_t dragged;
        std::optional<std::size_t> target;
        std::vector<std::string> names;
        const char* ini;  // nullptr: unchanged
    };
    const Case cases[] = {
        {"the entry above onto the next", 2, 3, {"Core", "Engine", "Botpack", "BotpackX", "MyMod"}, kIni},
        {"the last onto the first", 4, 0, {"MyMod", "Core", "Engine", "Botpack", "BotpackX"},
         "[Editor.EditorEngine]\r\n; the packages, in order\r\nEditPackages=MyMod\r\nEditPackages=Core\r\n"
         "EditPackages=Engine\r\n!EditPackages=Engine\r\nEditPackages=Botpack\r\nEditPackages=BotpackX\r\n"
         "CacheSizeMegs=6\r\n"},
        {"a prefix-named package", 3, 2, {"Core", "Engine", "BotpackX", "Botpack", "MyMod"},
         "[Editor.EditorEngine]\r\n; the packages, in order\r\nEditPackages=Core\r\nEditPackages=Engine\r\n"
         "!EditPackages=Engine\r\nEditPackages=BotpackX\r\nEditPackages=Botpack\r\nEditPackages=MyMod\r\n"
         "CacheSizeMegs=6\r\n"},
        {"downwards past the commented line", 0, 2, {"Engine", "Core", "Botpack", "BotpackX", "MyMod"},
         "[Editor.EditorEngine]\r\n; the packages, in order\r\nEditPackages=Engine\r\n!EditPackages=Engine\r\n"
         "EditPackages=Core\r\nEditPackages=Botpack\r\nEditPackages=BotpackX\r\nEditPackages=MyMod\r\n"
         "CacheSizeMegs=6\r\n"},
        {"onto itself", 1, 1, {"Core", "Engine", "Botpack", "BotpackX", "MyMod"}, nullptr},
        {"onto no entry", 1, std::nullopt, {"Core", "Engine", "Botpack", "BotpackX", "MyMod"}, nullptr},
    };
    for (const Case& c : cases) {
        dir_.Write("ut/System/UnrealTournament.ini", kIni);
        platform::DeleteFile(dir_.Path("ut/System/UnrealTournament.~ini"));
        ASSERT_TRUE(browser_->LoadEditPackages());
        const std::size_t shown = prompter_.shown().size();
        prompter_.QueueAnswer(core::Answer::Yes);
        MoveEditPackage(Context(), c.dragged, c.target);
        ASSERT_EQ(prompter_.shown().size(), shown + 1) << c.name;
        EXPECT_EQ(LastShown(),
                  "Warning!  Adjusting the order of the EditPackages may cause some classes to no longer compile.  "
                  "Continue?");
        EXPECT_EQ(Names(), c.names) << c.name;
        EXPECT_EQ(Ini(), c.ini ? c.ini : kIni) << c.name;
        EXPECT_EQ(platform::FileExists(dir_.Path("ut/System/UnrealTournament.~ini")), c.ini != nullptr) << c.name;
    }
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_FALSE(MoveEditPackage(Context(), 4, 0));
    EXPECT_EQ(Ini(), kIni);
}

TEST_F(PackageOperationsTest, ReorderKeepsTheLineEndsOfAnLfFile) {
    dir_.Write("ut/System/UnrealTournament.ini", "[Editor.EditorEngine]\nEditPackages=Core\nEditPackages=Engine\n");
    ASSERT_TRUE(browser_->LoadEditPackages());
    prompter_.QueueAnswer(core::Answer::Yes);
    ASSERT_TRUE(MoveEditPackage(Context(), 1, 0));
    EXPECT_EQ(Ini(), "[Editor.EditorEngine]\nEditPackages=Engine\nEditPackages=Core\n");
}

TEST_F(PackageOperationsTest, NewPackageRefusals) {
    const std::pair<std::string, std::string> cases[] = {
        {"botpack", "Sorry, but that package already exists."},
        {"Textures", "That package is already available.  Please import it instead!"},
        {"", "That package is already available.  Please import it instead!"},
        {"../Elsewhere", "\"../Elsewhere\" is not a valid package name: use letters, digits and underscores."},
    };
    platform::CreateDirectories(dir_.Path("ut/Textures"));
    for (const auto& [name, message] : cases) {
        NewPackageRequest request;
        request.name = name;
        EXPECT_FALSE(CreatePackage(Context(), request)) << name;
        EXPECT_EQ(LastShown(), message) << name;
    }
    EXPECT_FALSE(platform::DirectoryExists(dir_.Path("Elsewhere")));
    EXPECT_EQ(Ini(), kIni);
}

TEST_F(PackageOperationsTest, NewPackageMakesItsDirectoriesAndJoinsTheProject) {
    OpenProject({"MyMod"});
    NewPackageRequest request;
    request.name = "Fresh";
    request.textures = true;
    request.music = true;
    request.others = true;
    request.otherLines = {"Maps", "", "  "};
    ASSERT_TRUE(CreatePackage(Context(), request));
    EXPECT_TRUE(prompter_.shown().empty());
    for (const char* sub : {"Classes", "Textures", "Music", "Maps"}) {
        EXPECT_TRUE(platform::DirectoryExists(dir_.Path("ut/Fresh/") + sub)) << sub;
    }
    EXPECT_EQ(platform::ListDirectory(dir_.Path("ut/Fresh"), "*", {false, true}).size(), 4u);
    EXPECT_EQ(Names().back(), "Fresh");
    EXPECT_NE(Ini().find("EditPackages=MyMod\r\nEditPackages=Fresh\r\n"), std::string::npos);
    EXPECT_EQ(status_.workspace(), (std::vector<std::string>{"Creating Directory Structure", ""}));
    ASSERT_EQ(project_->packages().size(), 2u);
    const project::PackageNode& node = project_->packages()[1];
    EXPECT_EQ(node.name, "Fresh");
    ASSERT_EQ(node.contents.groups.size(), 2u);
    EXPECT_EQ(node.contents.groups[0].name, "Classes");
    EXPECT_EQ(node.contents.groups[1].name, "Textures");
    EXPECT_TRUE(project_->project().modified);
}

TEST_F(PackageOperationsTest, NewPackageWithADirectoryThatCannotBeMadeGoesOn) {
    NewPackageRequest request;
    request.name = "Partly";
    request.others = true;
    request.otherLines = {"Maps", "../../Outside"};
    ASSERT_TRUE(CreatePackage(Context(), request));
    EXPECT_EQ(LastShown(), "One or more directories in this package could not be created.");
    EXPECT_TRUE(platform::DirectoryExists(dir_.Path("ut/Partly/Maps")));
    EXPECT_FALSE(platform::DirectoryExists(dir_.Path("Outside")));
    EXPECT_EQ(Names().back(), "Partly");

    dir_.Write("ut/Blocked", "a file where the package would go");
    request.name = "Blocked";
    EXPECT_FALSE(CreatePackage(Context(), request));
    EXPECT_EQ(LastShown(), "The package could not be created.");
    EXPECT_EQ(Names().back(), "Partly");
}

TEST_F(PackageOperationsTest, ImportListsPlainPackageDirectoriesNotListed) {
    Source("Found", "F", "class F extends Actor;");
    Source("ReadOnly", "R", "class R extends Actor;");
    Source(".Hidden", "H", "class H extends Actor;");
    platform::CreateDirectories(dir_.Path("ut/NoClasses/Textures"));
    ::chmod(dir_.Path("ut/ReadOnly").c_str(), 0555);
    EXPECT_EQ(ImportablePackages(*browser_), (std::vector<std::string>{"Found"}));
    ::chmod(dir_.Path("ut/ReadOnly").c_str(), 0755);

    ImportPackages(Context(), {"Found", "MyMod"});
    EXPECT_EQ(LastShown(), "Packages add.  Torvane must rebuild it's class tree!");
    EXPECT_EQ(Names().back(), "Found");
    EXPECT_EQ(Names().size(), 6u);
    ImportPackages(Context(), {});  // nothing ticked: the same message
    EXPECT_EQ(prompter_.shown().size(), 2u);
}

TEST(PackageFlagsTest, OptionsSpelledAsTheToolTakesThem) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x1, "+AllowDownload -ClientOptional -ServerSideOnly -BrokenLinks -Unsecure"},
        {0x0, "-Allowdownload -ClientOptional -ServerSideOnly -BrokenLinks -Unsecure"},
        {0x1F, "+AllowDownload +ClientOptional +ServerSideOnly +BrokenLinks +Unsecure"},
        {0x12 | 0x400, "-Allowdownload +ClientOptional -ServerSideOnly -BrokenLinks +Unsecure"},
    };
    for (const auto& [flags, options] : cases) EXPECT_EQ(PackageFlagOptions(flags), options) << flags;
}

std::string BuiltPackage(std::uint32_t flags) {
    testing::PackageSpec spec;
    spec.flags = flags;
    spec.names = {"None"};
    return testing::BuildPackage(spec);
}

// The game's tool (the stand-in) sets the flags; the package reader reads them back.
TEST(PackageFlagsTest, TheToolWritesTheFlagsAndTheOriginalStaysAsDotV) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    dir.Write("game/System/DemoLib.u", BuiltPackage(0x1));
    const platform::GameInstall install = platform::GameInstall::Detect(root);
    EXPECT_EQ(ReadPackageFlags(install, "DemoLib"), 0x1u);
    const PackageFlagCommand command = PackageFlagCommandFor(install, root + "/System/DemoLib.u", 0x1);
    EXPECT_EQ(command.parameters,
              "packageflag DemoLib.v DemoLib.u +AllowDownload -ClientOptional -ServerSideOnly -BrokenLinks -Unsecure");
    EXPECT_EQ(command.workingDirectory, root + "/System");

    dir.Write("game/System/DemoLib.v", "an older one");
    testing::RecordingOutputLog log;
    ScriptedPrompter prompter;
    SetPackageFlags(install, "DemoLib", 0x12, log, prompter);
    EXPECT_EQ(ReadPackageFlags(install, "DemoLib"), 0x12u);
    EXPECT_EQ(unrealpkg::TUTPackage(root + "/System/DemoLib.v").PackageFlags, 0x1u);
    ASSERT_FALSE(log.lines().empty());
    EXPECT_EQ(log.lines().front(), "Package DemoLib.u written with flags 18");
    EXPECT_GT(log.scrolls(), 0);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "Done");
}

// The current patch's Linux tool runs in System64; the package it would find lies in the
// per-user directory, so the command names it by its full path.
TEST(PackageFlagsTest, LinuxLayoutNamesThePackageByItsPath) {
    testing::TempDir dir;
    testing::TempHome home;
    const std::string root = testing::CopyLinuxSampleGame(dir);
    const std::string file = testing::WriteFile(home.PreferenceDirectory() + "/DemoLib.u", BuiltPackage(0x1));
    const platform::GameInstall install = platform::GameInstall::Detect(root);
    ASSERT_EQ(install.FindPackageFile("DemoLib"), file);
    EXPECT_EQ(PackageFlagCommandFor(install, file, 0x4).parameters,
              "packageflag " + home.PreferenceDirectory() + "/DemoLib.v " + home.PreferenceDirectory() +
                  "/DemoLib.u -Allowdownload -ClientOptional +ServerSideOnly -BrokenLinks -Unsecure");
    testing::RecordingOutputLog log;
    ScriptedPrompter prompter;
    SetPackageFlags(install, "DemoLib", 0x4, log, prompter);
    EXPECT_EQ(unrealpkg::TUTPackage(file).PackageFlags, 0x4u);
    EXPECT_FALSE(platform::FileExists(root + "/System64/DemoLib.u"));
}

TEST(PackageFlagsTest, AToolThatCannotRunPutsThePackageBack) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    const std::string bytes = BuiltPackage(0x1);
    dir.Write("game/System/DemoLib.u", bytes);
    dir.Write("game/System/UCC.exe", "#!/bin/sh\necho broken\nexit 3\n");
    ::chmod(dir.Path("game/System/UCC.exe").c_str(), 0755);
    const platform::GameInstall install = platform::GameInstall::Detect(root);
    testing::RecordingOutputLog log;
    ScriptedPrompter prompter;
    EXPECT_THROW(SetPackageFlags(install, "DemoLib", 0x3, log, prompter), std::runtime_error);
    EXPECT_EQ(dir.Read("game/System/DemoLib.u"), bytes);
    EXPECT_FALSE(platform::FileExists(dir.Path("game/System/DemoLib.v")));
    EXPECT_EQ(log.lines().front(), "broken");
    EXPECT_TRUE(prompter.shown().empty());  // no "Done"

    platform::DeleteFile(dir.Path("game/System/UCC.exe"));
    const platform::GameInstall noTool = platform::GameInstall::Detect(root);
    EXPECT_THROW(SetPackageFlags(noTool, "DemoLib", 0x3, log, prompter), std::exception);
    EXPECT_EQ(dir.Read("game/System/DemoLib.u"), bytes);
    EXPECT_THROW(ReadPackageFlags(noTool, "NotThere"), platform::FileError);
}

}  // namespace
}  // namespace torvane::workspace
