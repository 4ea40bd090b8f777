#include "workspace/class_browser.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/interaction.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "support/recording_export_progress.h"
#include "workspace/tree_cache.h"

namespace torvane::workspace {
namespace {

using testing::RecordingStatusSink;
using testing::ScriptedEventPump;
using testing::ScriptedPrompter;
using testing::TempDir;

class ClassBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        Source("Core", "Object", "class Object native;");
        Source("Engine", "Actor", "class Actor extends Object native;");
        Source("Engine", "Info", "class Info extends Actor;");
        Source("Engine", "Pawn", "class Pawn extends Actor;");
        Source("MyMod", "MyInfo", "class MyInfo extends info;");
        Source("MyMod", "Orphan", "class Orphan extends NotScanned;");
        Source("MyMod", "Broken", "junk before class Broken extends Object;");
        Source("Other", "Info", "class Info extends Object;");  // a second Info
        Source("Other", "Late", "class Late extends Info;");
        Config("Engine", "MyMod", "Other");
        platform::CreateDirectories(dir_.Path("prog"));
    }
    void Source(const std::string& package, const std::string& name, const std::string& header) {
        dir_.Write("ut/" + package + "/Classes/" + name + ".uc", header + "\r\n\r\ndefaultproperties\r\n{\r\n}\r\n");
    }
    void Config(const std::string& a, const std::string& b, const std::string& c) {
        dir_.Write("ut/System/UnrealTournament.ini",
                   "[Editor.EditorEngine]\r\nEditPackages=" + a + "\r\nEditPackages=" + b +
                       "\r\nEditPackages=" + c + "\r\n");
    }
    ClassBrowser Browser() {
        ClassBrowserContext context;
        context.install = platform::GameInstall::Detect(dir_.Path("ut"));
        context.cacheDirectory = dir_.Path("prog");
        context.prompter = &prompter_;
        context.status = &status_;
        context.pump = &pump_;
        return ClassBrowser(context);
    }
    std::vector<std::string> Captions(ClassTree& tree) {
        std::vector<std::string> captions;
        tree.Walk([&](ClassNode& node) {
            std::string indent;
            for (ClassNode* up = node.parent; up; up = up->parent) indent += "  ";
            captions.push_back(indent + node.entry.caption);
            return true;
        });
        return captions;
    }

    TempDir dir_;
    ScriptedPrompter prompter_;
    RecordingStatusSink status_;
    ScriptedEventPump pump_;
};

TEST_F(ClassBrowserTest, RebuildPlacesClassesUnderTheFirstParentFound) {
    ClassBrowser browser = Browser();
    ASSERT_TRUE(browser.LoadEditPackages());
    EXPECT_TRUE(browser.RebuildClassTrees());
    EXPECT_EQ(Captions(browser.objectTree()),
              (std::vector<std::string>{"Object", "  Actor", "    Info", "      Late", "      MyInfo",
                                        "    Pawn", "  Info", "Orphan"}));
    EXPECT_EQ(Captions(browser.actorTree()),
              (std::vector<std::string>{"Actor", "  Info", "    Late", "    MyInfo", "  Pawn"}));
    EXPECT_EQ(Captions(browser.byPackageTree()),
              (std::vector<std::string>{"Engine", "  Actor", "  Info", "  Pawn", "MyMod", "  MyInfo",
                                        "  Orphan", "Other", "  Info", "  Late"}));
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, "Could not parse " + dir_.Path("ut/MyMod/Classes/Broken.uc"));
    EXPECT_TRUE(browser.objectTree().roots()[0]->expanded);
    EXPECT_FALSE(browser.objectTree().roots()[0]->children[0]->expanded);
    EXPECT_GT(pump_.calls(), 0);
    EXPECT_NE(std::find(status_.splash().begin(), status_.splash().end(),
                        "Parsing MyMod.MyInfo.uc"), status_.splash().end());
    EXPECT_NE(std::find(status_.workspace().begin(), status_.workspace().end(), "Building Actor Tree"),
              status_.workspace().end());
    const std::string engine = "Engine";
    EXPECT_EQ(browser.FindClass("info"), 2);
    EXPECT_EQ(browser.FindClass("Info", &engine), 2);
    const std::string other = "Other";
    EXPECT_EQ(browser.FindClass("Info", &other), 6);
    EXPECT_EQ(browser.FindClass(""), -1);
    EXPECT_EQ(browser.FindActorClass("Pawn"), 4);
    EXPECT_EQ(browser.objectTree().NodeAt(6)->entry.fileName, dir_.Path("ut/Other/Classes/Info.uc"));
}

TEST_F(ClassBrowserTest, LowerCaseCoreIsScannedTwice) {
    Config("core", "Engine", "MyMod");
    ClassBrowser browser = Browser();
    browser.LoadEditPackages();
    browser.RebuildClassTrees();
    int objects = 0;
    browser.objectTree().Walk([&](ClassNode& node) {
        objects += node.entry.caption == "Object";
        return true;
    });
    EXPECT_EQ(objects, 2);
}

TEST_F(ClassBrowserTest, StartUpBuildsOnceThenLoadsTheCaches) {
    {
        ClassBrowser browser = Browser();
        EXPECT_EQ(browser.InitClassBrowser(), ClassBrowser::StartResult::Rebuilt);
    }
    EXPECT_EQ(dir_.Read("prog/Packages.ucd"), "Engine\r\nMyMod\r\nOther\r\n");
    const std::string classes = dir_.Read("prog/Classes.ucd");
    dir_.Write("prog/Packages.ucd", "other\r\nENGINE\r\nMyMod\r\n");  // same names, other order
    ClassBrowser again = Browser();
    EXPECT_EQ(again.InitClassBrowser(), ClassBrowser::StartResult::Loaded);
    EXPECT_EQ(TreeCacheBytes(again.objectTree()), classes);
    EXPECT_NE(std::find(status_.splash().begin(), status_.splash().end(), " Reading Classes.ucd"),
              status_.splash().end());

    platform::DeleteFile(dir_.Path("prog/Classes.ucd"));
    EXPECT_EQ(Browser().InitClassBrowser(), ClassBrowser::StartResult::Rebuilt);
}

TEST_F(ClassBrowserTest, ChangedPackageListAsksAndNoQuits) {
    Browser().InitClassBrowser();
    Config("Engine", "MyMod", "NewOne");
    Source("NewOne", "Fresh", "class Fresh extends Actor;");
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_EQ(Browser().InitClassBrowser(), ClassBrowser::StartResult::Quit);
    EXPECT_EQ(prompter_.shown().back().text, "Taking a quick exit");
    EXPECT_TRUE(platform::FileExists(dir_.Path("prog/Classes.ucd")));
    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_EQ(Browser().InitClassBrowser(), ClassBrowser::StartResult::Rebuilt);
    EXPECT_EQ(dir_.Read("prog/Packages.ucd"), "Engine\r\nMyMod\r\nNewOne\r\n");
}

TEST_F(ClassBrowserTest, DamagedCacheIsRebuilt) {
    Browser().InitClassBrowser();
    const std::string actors = dir_.Read("prog/Actors.ucd");
    const std::string classes = dir_.Read("prog/Classes.ucd");
    // Cut short; emptied or zero-filled, as a system crash may leave a cache written without
    // waiting for the disk.
    for (const std::string& damaged : {actors.substr(0, 100), std::string(),
                                       std::string(actors.size(), '\0')}) {
        dir_.Write("prog/Actors.ucd", damaged);
        ClassBrowser browser = Browser();
        EXPECT_EQ(browser.InitClassBrowser(), ClassBrowser::StartResult::Rebuilt) << damaged.size();
        EXPECT_EQ(dir_.Read("prog/Actors.ucd"), actors);
        EXPECT_EQ(dir_.Read("prog/Classes.ucd"), classes);
    }
}

TEST_F(ClassBrowserTest, ClassesNamingEachOtherAsParentStayTogether) {
    Source("Other", "Loop1", "class Loop1 extends Loop2;");
    Source("Other", "Loop2", "class Loop2 extends LOOP1;");
    ClassBrowser browser = Browser();
    browser.LoadEditPackages();
    browser.RebuildClassTrees();
    EXPECT_EQ(Captions(browser.objectTree()),
              (std::vector<std::string>{"Loop2", "  Loop1", "Object", "  Actor", "    Info",
                                        "      Late", "      MyInfo", "    Pawn", "  Info",
                                        "Orphan"}));
}

TEST_F(ClassBrowserTest, MissingConfigurationIsReportedAndLeavesAnEmptyWorkspace) {
    platform::DeleteFile(dir_.Path("ut/System/UnrealTournament.ini"));
    ClassBrowser browser = Browser();
    EXPECT_FALSE(browser.LoadEditPackages());
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_TRUE(browser.editPackages().empty());
}

TEST_F(ClassBrowserTest, ListedPackagesWithoutSourcesAreExportedOrRemoved) {
    dir_.Write("ut/System/UnrealTournament.ini",
               "[Editor.EditorEngine]\r\nEditPackages=Engine\r\nEditPackages=DecoTest\r\nEditPackages=Gone\r\n");
    platform::CopyFileOverwrite(testing::FixturesDir() + "/compiled/System/DecoTest.u", dir_.Path("ut/System/DecoTest.u"));
    prompter_.QueueAnswer(core::Answer::Yes);
    testing::RecordingExportProgress progress;
    testing::RecordingOutputLog log;
    ClassBrowserContext context = Browser().context();
    context.exportProgress = &progress;
    context.log = &log;
    ClassBrowser browser(context);
    ASSERT_TRUE(browser.LoadEditPackages());
    ASSERT_EQ(prompter_.shown().size(), 3u);  // no second question after the reload
    EXPECT_EQ(prompter_.shown()[0].text,
              "One or more packages need to be exported before you can continue.  Export them now?");
    EXPECT_EQ(prompter_.shown()[1].text,
              "WARNING! The package Gone doesn't exist and can't be exported so it has been removed.");
    EXPECT_EQ(prompter_.shown()[2].text,
              "All .UC files have been exported.  You may however need to export the resources (sound/gfx/models) as well.");
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"start", "package DecoTest", "finish 0"}));
    EXPECT_EQ(log.lines().size(), 3u);
    EXPECT_TRUE(platform::FileExists(dir_.Path("ut/DecoTest/Classes/DecoFlow.uc")));
    EXPECT_EQ(dir_.Read("ut/System/UnrealTournament.ini").find("Gone"), std::string::npos);
    // The lists were read again.
    ASSERT_EQ(browser.editPackages().size(), 2u);
    EXPECT_EQ(browser.editPackages()[0].lastModified, "[ Not Compiled ]");
    EXPECT_NE(browser.editPackages()[1].lastModified, "[ Not Compiled ]");
    ASSERT_EQ(browser.compiledPackages().size(), 1u);
    EXPECT_EQ(browser.compiledPackages()[0].exported, "Yes");
}

TEST_F(ClassBrowserTest, DeclinedExportOfferChangesNothing) {
    Config("Engine", "MyMod", "Compiled");
    dir_.Write("ut/System/Compiled.u", "x");
    prompter_.QueueAnswer(core::Answer::No);
    ClassBrowser browser = Browser();
    browser.LoadEditPackages();
    EXPECT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(browser.editPackages().size(), 3u);
    ASSERT_EQ(browser.compiledPackages().size(), 1u);
    EXPECT_EQ(browser.compiledPackages()[0].exported, "   ");
}

TEST_F(ClassBrowserTest, ExportOfAnUnreadablePackageIsReportedAndTheOthersGoOn) {
    dir_.Write("ut/System/UnrealTournament.ini",
               "[Editor.EditorEngine]\r\nEditPackages=Broken\r\nEditPackages=DecoTest\r\n");
    dir_.Write("ut/System/Broken.u", "not a package");
    platform::CopyFileOverwrite(testing::FixturesDir() + "/compiled/System/DecoTest.u", dir_.Path("ut/System/DecoTest.u"));
    prompter_.QueueAnswer(core::Answer::Yes);
    ClassBrowser browser = Browser();
    browser.LoadEditPackages();
    ASSERT_GE(prompter_.shown().size(), 2u);
    EXPECT_EQ(prompter_.shown()[1].kind, testing::ShownMessage::Kind::Error);
    EXPECT_NE(prompter_.shown()[1].text.find("Broken.u"), std::string::npos) << prompter_.shown()[1].text;
    EXPECT_TRUE(platform::FileExists(dir_.Path("ut/DecoTest/Classes/DecoFlow.uc")));
}

TEST_F(ClassBrowserTest, AddAndRemoveEditPackages) {
    ClassBrowser browser = Browser();
    browser.InitClassBrowser();
    Source("Extra", "ExtraActor", "class ExtraActor extends Actor;");
    browser.AddEditPackage("Extra");
    browser.AddEditPackage("EXTRA");  // already listed
    ASSERT_FALSE(status_.workspace().empty());
    EXPECT_EQ(status_.workspace().back(), "");  // the status line is cleared when the step ends
    EXPECT_EQ(browser.editPackages().size(), 4u);
    EXPECT_NE(browser.FindActorClass("ExtraActor"), -1);
    EXPECT_NE(dir_.Read("ut/System/UnrealTournament.ini").find("EditPackages=Other\r\nEditPackages=Extra\r\n"),
              std::string::npos);
    EXPECT_EQ(dir_.Read("prog/Packages.ucd"), "Engine\r\nMyMod\r\nOther\r\nExtra\r\n");
    browser.RemoveEditPackage("Engine");
    EXPECT_EQ(browser.IndexOfEditPackage("Engine"), -1);
    EXPECT_EQ(browser.FindClass("Actor"), -1);
    EXPECT_EQ(browser.FindClass("ExtraActor"), -1);  // went with Actor's subtree
    EXPECT_TRUE(browser.actorTree().empty());
    EXPECT_NE(browser.FindClass("Object"), -1);
}

TEST_F(ClassBrowserTest, FindBoxMovesOnWithTheSameText) {
    ClassBrowser browser = Browser();
    browser.LoadEditPackages();
    browser.RebuildClassTrees();
    const int first = browser.FindInPackageTree("INFO");
    EXPECT_EQ(browser.byPackageTree().NodeAt(first)->entry.caption, "Info");
    const int second = browser.FindInPackageTree("info");
    EXPECT_EQ(browser.byPackageTree().NodeAt(second)->entry.caption, "MyInfo");
    const int third = browser.FindInPackageTree("info");
    EXPECT_EQ(browser.byPackageTree().NodeAt(third)->entry.caption, "Info");
    EXPECT_EQ(browser.byPackageTree().NodeAt(third)->parent->entry.caption, "Other");
    EXPECT_TRUE(browser.byPackageTree().NodeAt(third)->parent->expanded);
    EXPECT_EQ(browser.FindInPackageTree("info"), -1);
    EXPECT_EQ(browser.FindInPackageTree("info"), -1);
    EXPECT_EQ(browser.FindInPackageTree("pawn"), 3);
}

TEST(FixtureClassScanTest, TheWholeGameScans) {
    TempDir dir;
    testing::ScriptedPrompter prompter;
    ClassBrowserContext context;
    context.install = platform::GameInstall::Detect(testing::FixturesDir() + "/ut99");
    context.cacheDirectory = dir.path();
    context.prompter = &prompter;
    ClassBrowser browser(context);
    ASSERT_TRUE(browser.LoadEditPackages());
    ASSERT_TRUE(browser.RebuildClassTrees());
    EXPECT_EQ(browser.objectTree().Count(), 1488u);
    EXPECT_TRUE(prompter.shown().empty()) << prompter.shown()[0].text;
    ASSERT_EQ(browser.objectTree().roots().size(), 1u);
    EXPECT_EQ(browser.objectTree().roots()[0]->entry.caption, "Object");
    ASSERT_EQ(browser.actorTree().roots().size(), 1u);
    EXPECT_EQ(browser.actorTree().roots()[0]->entry.caption, "Actor");
    for (const char* name : {"Classes.ucd", "Actors.ucd", "ClassByPackage.ucd"}) {
        const std::string bytes = dir.Read(name);
        EXPECT_EQ(TreeCacheBytes(TreeFromCacheBytes(bytes)), bytes) << name;
    }
}

}  // namespace
}  // namespace torvane::workspace
