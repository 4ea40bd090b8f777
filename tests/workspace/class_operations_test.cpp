#include "workspace/class_operations.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "project/project_session.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/class_browser.h"
#include "workspace/tree_cache.h"

namespace torvane::workspace {
namespace {

using testing::ScriptedPrompter;
using testing::ShownMessage;

TEST(ClassOperationsRulesTest, NewFileLineByLineWithoutTemplate) {
    const std::string source = NewClassSource({}, "MyPawn", "Pawn", "Engine.Pawn", "MyMod");
    const std::string rule = "//" + std::string(76, '=');
    EXPECT_EQ(source, rule + "\r\n// MyPawn - Created by Torvane\r\n" + rule +
                          "\r\n\r\nclass MyPawn extends Pawn;\r\n\r\n\r\n\r\n\r\ndefaultproperties\r\n{\r\n\r\n}\r\n");
    const std::vector<std::string> lines = core::SplitLines(source);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[1], "// MyPawn - Created by Torvane");
    EXPECT_EQ(lines[4], "class MyPawn extends Pawn;");
    EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
              (std::vector<std::string>{"defaultproperties", "{", "", "}"}));
}

TEST(ClassOperationsRulesTest, TemplatePlaceholders) {
    const std::pair<const char*, const char*> cases[] = {
        {"//  Class:  <@PACK>.<@CLASS>", "//  Class:  MyMod.MyPawn"},
        {"//  Parent: <@PARENT>", "//  Parent: Engine.Pawn"},
        {"// <@CLASS> and <@CLASS> again", "// MyPawn and <@CLASS> again"},  // the first only
        {"<@PACK><@PARENT><@CLASS>", "MyModEngine.PawnMyPawn"},
        {"<@class> stays", "<@class> stays"},  // placeholders are written in capitals
        {"", ""},
    };
    for (const auto& [line, expanded] : cases) {
        EXPECT_EQ(ExpandTemplateLine(line, "MyPawn", "Engine.Pawn", "MyMod"), expanded) << line;
    }
    const std::string source =
        NewClassSource({"// <@PACK>.<@CLASS>", "//  Parent: <@PARENT>"}, "MyPawn", "Pawn", "Engine.Pawn", "MyMod");
    EXPECT_EQ(source.substr(0, source.find("class ")),
              "// MyMod.MyPawn\r\n//  Parent: Engine.Pawn\r\n\r\n");
}

TEST(ClassOperationsRulesTest, NewClassForm) {
    const std::vector<std::string> editPackages{"Core", "Engine", "MyMod", "engine", "Other"};
    NewClassForm form = PrepareNewClassForm({"Pawn", "Engine"}, editPackages, "");
    EXPECT_EQ(form.caption, "Create Sub-Class of Pawn");
    EXPECT_EQ(form.parentField, "Engine.Pawn");
    EXPECT_EQ(form.packages, (std::vector<std::string>{"Core", "Engine", "MyMod", "Other"}));
    EXPECT_EQ(form.selected, 1);  // the parent's package
    EXPECT_EQ(PrepareNewClassForm({"Pawn", "Engine"}, editPackages, "other").selected, 3);  // the project's
    EXPECT_EQ(PrepareNewClassForm({"Pawn", "Engine"}, editPackages, "NotListed").selected, 1);
    EXPECT_EQ(PrepareNewClassForm({"Foo", "Gone"}, editPackages, "").selected, -1);
}

TEST(ClassOperationsRulesTest, NamesOfANewClass) {
    EXPECT_EQ(NewClassNameProblem("MyPawn", "MyMod"), "");
    EXPECT_EQ(NewClassNameProblem("_Pawn2", "Mod_2"), "");
    EXPECT_EQ(NewClassNameProblem("", "MyMod"), "You need to name the new class.");
    EXPECT_EQ(NewClassNameProblem("My Pawn", "MyMod"),
              "\"My Pawn\" is not a valid class name: use letters, digits and underscores.");
    EXPECT_NE(NewClassNameProblem("2Pawn", "MyMod"), "");
    EXPECT_EQ(NewClassNameProblem("MyPawn", ""), "You need to choose a package for the new class.");
    EXPECT_EQ(NewClassNameProblem("MyPawn", "../System"),
              "\"../System\" is not a valid package name: use letters, digits and underscores.");
}

// A small game: Core.Object, Engine.Actor/Info/Pawn, MyMod.MyInfo below Engine's Info, and
// Other.Info, a second class of that name.
class ClassOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Source("Core", "Object", "class Object native;");
        Source("Engine", "Actor", "class Actor extends Object native;");
        Source("Engine", "Info", "class Info extends Actor;");
        Source("Engine", "Pawn", "class Pawn extends Actor;");
        Source("MyMod", "MyInfo", "class MyInfo extends Info;");
        Source("Other", "Info", "class Info extends Object;");
        Source("Other", "Leaf", "class Leaf extends Object;");
        dir_.Write("ut/System/UnrealTournament.ini",
                   "[Editor.EditorEngine]\r\n;EditPackages=Commented\r\nEditPackages=Core\r\nEditPackages=Engine\r\n"
                   "EditPackages=MyMod\r\nEditPackages=Other\r\n\r\n[Engine.GameEngine]\r\nServerPackages=MyMod\r\n");
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
        dir_.Write("ut/" + package + "/Classes/" + name + ".uc", header + "\r\n\r\ndefaultproperties\r\n{\r\n}\r\n");
    }
    ClassOperationsContext Context() {
        ClassOperationsContext context;
        context.browser = browser_.get();
        context.project = project_.get();
        context.prompter = &prompter_;
        context.closeEditor = [this](const std::string& file) { closed_.push_back(file); };
        return context;
    }
    void OpenProject(bool backupSrc, const std::vector<std::string>& packages) {
        project::ProjectSessionContext context;
        context.gameRoot = dir_.Path("ut");
        context.programDirectory = dir_.Path("prog");
        context.prompter = &prompter_;
        context.browser = browser_.get();
        project_ = std::make_unique<project::ProjectSession>(context);
        project::Project values;
        values.name = "Demo";
        values.backupSrc = backupSrc;
        project_->ApplyNew(values);
        project_->ImportPackages(packages);
        project_->project().modified = false;
    }
    std::vector<std::string> Captions(const ClassTree& tree) {
        std::vector<std::string> captions;
        tree.Walk([&](const ClassNode& node) {
            std::string indent;
            for (ClassNode* up = node.parent; up; up = up->parent) indent += "  ";
            captions.push_back(indent + node.entry.caption + (node.selected ? " *" : ""));
            return true;
        });
        return captions;
    }
    const ShownMessage& LastShown() const { return prompter_.shown().back(); }

    testing::TempDir dir_;
    ScriptedPrompter prompter_;
    std::unique_ptr<ClassBrowser> browser_;
    std::unique_ptr<project::ProjectSession> project_;
    std::vector<std::string> closed_;
};

TEST_F(ClassOperationsTest, NewSubClassWritesTheFileAndUpdatesTheTreesAndCaches) {
    const auto created = CreateSubClass(Context(), {"Pawn", "Engine"}, "MyPawn", "mymod", {});
    ASSERT_TRUE(created);
    EXPECT_EQ(created->fileName, dir_.Path("ut/MyMod/Classes/MyPawn.uc"));
    EXPECT_EQ(dir_.Read("ut/MyMod/Classes/MyPawn.uc"), NewClassSource({}, "MyPawn", "Pawn", "Engine.Pawn", "MyMod"));
    EXPECT_TRUE(prompter_.shown().empty());
    ASSERT_NE(created->objectNode, nullptr);
    EXPECT_EQ(created->objectNode->entry.package, "MyMod");  // as the list spells it
    EXPECT_EQ(created->objectNode->entry.parentName, "Pawn");
    const std::vector<std::string> expected{"Object", "  Actor", "    Info", "      MyInfo", "    Pawn",
                                            "      MyPawn *", "  Info", "  Leaf"};
    EXPECT_EQ(Captions(browser_->objectTree()), expected);
    EXPECT_EQ(Captions(LoadTreeCache(dir_.Path("prog/Classes.ucd"))), expected);
    EXPECT_EQ(Captions(LoadTreeCache(dir_.Path("prog/Actors.ucd"))),
              (std::vector<std::string>{"Actor", "  Info", "    MyInfo", "  Pawn", "    MyPawn *"}));

    // An existing source is never overwritten, whatever the letter case of its name.
    EXPECT_FALSE(CreateSubClass(Context(), {"Pawn", "Engine"}, "mypawn", "MyMod", {"// changed"}));
    EXPECT_EQ(LastShown().text, "There already is a class called mypawn in the package MyMod");
    EXPECT_EQ(dir_.Read("ut/MyMod/Classes/MyPawn.uc"), NewClassSource({}, "MyPawn", "Pawn", "Engine.Pawn", "MyMod"));
}

TEST_F(ClassOperationsTest, ParentInTwoPackagesGetsTheChildBelowTheFirstInTheTree) {
    const auto created = CreateSubClass(Context(), {"Info", "Other"}, "OtherChild", "Other", {"// <@PARENT>"});
    ASSERT_TRUE(created);
    EXPECT_EQ(dir_.Read("ut/Other/Classes/OtherChild.uc").substr(0, 17), "// Other.Info\r\n\r\n");
    EXPECT_EQ(created->objectNode->parent->entry.package, "Engine");
}

TEST_F(ClassOperationsTest, ANewPackageIsCreatedOnlyOnYes) {
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_FALSE(CreateSubClass(Context(), {"Actor", "Engine"}, "Thing", "NewMod", {}));
    EXPECT_EQ(LastShown().text, "The package you have chosen doesn't exist!  Create it now?");
    EXPECT_FALSE(platform::DirectoryExists(dir_.Path("ut/NewMod")));

    const std::string ini = dir_.Read("ut/System/UnrealTournament.ini");
    prompter_.QueueAnswer(core::Answer::Yes);
    const auto created = CreateSubClass(Context(), {"Actor", "Engine"}, "Thing", "NewMod", {});
    ASSERT_TRUE(created);
    EXPECT_TRUE(platform::FileExists(dir_.Path("ut/NewMod/Classes/Thing.uc")));
    EXPECT_EQ(browser_->IndexOfEditPackage("NewMod"), 4);
    std::string expected = ini;
    expected.insert(expected.find("\r\n\r\n[Engine.GameEngine]"), "\r\nEditPackages=NewMod");
    EXPECT_EQ(dir_.Read("ut/System/UnrealTournament.ini"), expected);  // the comment line kept
    EXPECT_EQ(dir_.Read("ut/System/UnrealTournament.~ini"), ini);
    EXPECT_EQ(created->objectNode->parent->entry.caption, "Actor");
}

TEST_F(ClassOperationsTest, APackageThatCannotBeCreatedEndsTheCommand) {
    dir_.Write("ut/Blocked", "a file where the package directory would go");
    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_FALSE(CreateSubClass(Context(), {"Actor", "Engine"}, "Thing", "Blocked", {}));
    EXPECT_EQ(LastShown().text, "The package could not be created.");
    EXPECT_EQ(browser_->IndexOfEditPackage("Blocked"), -1);
}

TEST_F(ClassOperationsTest, TheProjectGetsTheNewClassOrIsToldItLacksThePackage) {
    OpenProject(true, {"MyMod"});
    ASSERT_TRUE(CreateSubClass(Context(), {"Info", "Engine"}, "MyInfo2", "MyMod", {}));
    EXPECT_TRUE(project_->project().modified);
    const auto& classes = project_->packages()[0].contents.groups[0];
    EXPECT_EQ(classes.name, "Classes");
    EXPECT_EQ(classes.files.back(), "MyInfo2.uc");

    project_->project().modified = false;
    ASSERT_TRUE(CreateSubClass(Context(), {"Info", "Engine"}, "OtherInfo", "Other", {}));
    EXPECT_EQ(LastShown().text,
              "You have created a new class in the package Other but that package is not a part of this project.  "
              "You should now add the package to this project.");
    EXPECT_FALSE(project_->project().modified);
    EXPECT_TRUE(platform::FileExists(dir_.Path("ut/Other/Classes/OtherInfo.uc")));
}

TEST_F(ClassOperationsTest, DeleteRefusesGameClassesAndParentsAndAsks) {
    EXPECT_FALSE(DeleteClass(Context(), {"Pawn", "Engine"}));
    EXPECT_EQ(LastShown().text, "You can not delete native Epic classes");
    CreateSubClass(Context(), {"Leaf", "Other"}, "UnderLeaf", "Other", {});
    EXPECT_FALSE(DeleteClass(Context(), {"Leaf", "Other"}));
    EXPECT_EQ(LastShown().text, "You can not delete a class that has children!");
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_FALSE(DeleteClass(Context(), {"UnderLeaf", "Other"}));
    EXPECT_EQ(LastShown().text, "Delete Other.UnderLeaf?  Are you sure?");
    EXPECT_TRUE(platform::FileExists(dir_.Path("ut/Other/Classes/UnderLeaf.uc")));
    EXPECT_FALSE(platform::FileExists(dir_.Path("ut/Other/Classes/UnderLeaf.~uc")));
    EXPECT_TRUE(closed_.empty());
    EXPECT_FALSE(DeleteClass(Context(), {"NotThere", "Other"}));  // nothing asked
    EXPECT_EQ(prompter_.unusedAnswers(), 0u);
}

TEST_F(ClassOperationsTest, DeleteALeafWithoutAProjectKeepsABackup) {
    const std::string source = dir_.Read("ut/MyMod/Classes/MyInfo.uc");
    prompter_.QueueAnswer(core::Answer::Yes);
    ASSERT_TRUE(DeleteClass(Context(), {"MyInfo", "MyMod"}));
    EXPECT_FALSE(platform::FileExists(dir_.Path("ut/MyMod/Classes/MyInfo.uc")));
    EXPECT_EQ(dir_.Read("ut/MyMod/Classes/MyInfo.~uc"), source);
    EXPECT_EQ(closed_, (std::vector<std::string>{dir_.Path("ut/MyMod/Classes/MyInfo.uc")}));
    EXPECT_EQ(LastShown().text, "Class deleted!");
    const std::vector<std::string> expected{"Object", "  Actor", "    Info", "    Pawn", "  Info", "  Leaf"};
    EXPECT_EQ(Captions(browser_->objectTree()), expected);
    EXPECT_EQ(Captions(LoadTreeCache(dir_.Path("prog/Classes.ucd"))), expected);
    EXPECT_EQ(Captions(browser_->actorTree()), (std::vector<std::string>{"Actor", "  Info", "  Pawn"}));
}

// Two classes named Info: the one of the chosen package goes, never the first of the name.
TEST_F(ClassOperationsTest, DeleteTakesTheClassOfTheChosenPackage) {
    OpenProject(false, {"Other"});
    prompter_.QueueAnswer(core::Answer::Yes);
    ASSERT_TRUE(DeleteClass(Context(), {"Info", "other"}));
    EXPECT_FALSE(platform::FileExists(dir_.Path("ut/Other/Classes/Info.uc")));
    EXPECT_TRUE(platform::FileExists(dir_.Path("ut/Engine/Classes/Info.uc")));
    EXPECT_FALSE(platform::FileExists(dir_.Path("ut/Other/Classes/Info.~uc")));  // BackupSrc is off
    EXPECT_EQ(Captions(browser_->objectTree()),
              (std::vector<std::string>{"Object", "  Actor", "    Info", "      MyInfo", "    Pawn", "  Leaf"}));
    EXPECT_TRUE(project_->project().modified);
    EXPECT_EQ(project_->packages()[0].contents.groups[0].files, (std::vector<std::string>{"Leaf.uc"}));
}

TEST_F(ClassOperationsTest, ABackupThatCannotBeWrittenKeepsTheClass) {
    platform::CreateDirectories(dir_.Path("ut/MyMod/Classes/MyInfo.~uc"));  // in the way
    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_THROW(DeleteClass(Context(), {"MyInfo", "MyMod"}), platform::FileError);
    EXPECT_TRUE(platform::FileExists(dir_.Path("ut/MyMod/Classes/MyInfo.uc")));
    EXPECT_TRUE(closed_.empty());
    EXPECT_NE(browser_->FindClass("MyInfo"), -1);
}

TEST_F(ClassOperationsTest, ReparentingAsksAndChangesNothing) {
    ClassTree& tree = browser_->objectTree();
    ClassNode* myInfo = tree.NodeAt(browser_->FindClass("MyInfo"));
    ClassNode* leaf = tree.NodeAt(browser_->FindClass("Leaf"));
    ClassNode* pawn = tree.NodeAt(browser_->FindClass("Pawn"));
    const std::vector<std::string> before = Captions(tree);
    const std::string source = dir_.Read("ut/MyMod/Classes/MyInfo.uc");

    AskReparent(prompter_, *myInfo, myInfo);  // onto itself: nothing asked
    AskReparent(prompter_, *myInfo, nullptr);  // onto no node
    EXPECT_TRUE(prompter_.shown().empty());
    for (core::Answer answer : {core::Answer::Yes, core::Answer::No}) {
        prompter_.QueueAnswer(answer);
        AskReparent(prompter_, *myInfo, leaf);
        EXPECT_EQ(LastShown().kind, ShownMessage::Kind::Confirm);
        EXPECT_EQ(LastShown().text, "Make \"Leaf\" MyInfo's Parent? (This may screw up stuff)");
    }
    AskReparent(prompter_, *pawn, leaf);
    EXPECT_EQ(LastShown().text, "You can not change the parent of an Epic Class");
    AskReparent(prompter_, *pawn, pawn);
    EXPECT_EQ(prompter_.shown().size(), 4u);
    EXPECT_EQ(Captions(tree), before);
    EXPECT_EQ(dir_.Read("ut/MyMod/Classes/MyInfo.uc"), source);
}

TEST_F(ClassOperationsTest, TheClassOfEachPage) {
    ClassTree& tree = browser_->objectTree();
    const ClassNode* myInfo = tree.NodeAt(browser_->FindClass("MyInfo"));
    const ClassNode* actorPawn = browser_->actorTree().NodeAt(browser_->FindActorClass("Pawn"));
    ClassSelection selection;
    selection.objectNode = myInfo;
    selection.actorNode = actorPawn;
    selection.project = ProjectTreeSelection{"Leaf.uc", "Classes", "Other"};

    struct Case {
        WorkspacePage page;
        bool projectOpen;
        std::optional<std::pair<std::string, std::string>> selected;
        std::string defaults;  // the class whose default properties show
    };
    const Case cases[] = {
        {WorkspacePage::Object, false, std::pair{"MyInfo", "MyMod"}, "MyInfo"},
        {WorkspacePage::Actor, false, std::pair{"Pawn", "Engine"}, "Pawn"},
        {WorkspacePage::Project, true, std::pair{"Leaf", "Other"}, "Leaf"},
        {WorkspacePage::Project, false, std::pair{"Leaf", "Other"}, "MyInfo"},
        {WorkspacePage::Package, false, std::nullopt, "MyInfo"},
        {WorkspacePage::System, false, std::nullopt, "MyInfo"},
    };
    for (const Case& c : cases) {
        selection.page = c.page;
        const auto selected = SelectedClassOf(selection);
        ASSERT_EQ(selected.has_value(), c.selected.has_value()) << static_cast<int>(c.page);
        if (selected) {
            EXPECT_EQ(selected->className, c.selected->first);
            EXPECT_EQ(selected->package, c.selected->second);
        }
        const ClassNode* shown = tree.NodeAt(DefaultPropertiesPosition(selection, c.projectOpen, *browser_));
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->entry.caption, c.defaults) << static_cast<int>(c.page);
    }
    // A project node that is no class file: no class for the class commands, the object tree's
    // for the default properties.
    selection.page = WorkspacePage::Project;
    selection.project = ProjectTreeSelection{"Classes", "MyMod", "Demo.tvx"};
    EXPECT_FALSE(SelectedClassOf(selection));
    EXPECT_EQ(tree.NodeAt(DefaultPropertiesPosition(selection, true, *browser_)), myInfo);
    selection.objectNode = nullptr;
    EXPECT_EQ(DefaultPropertiesPosition(selection, true, *browser_), -1);
}

}  // namespace
}  // namespace torvane::workspace
