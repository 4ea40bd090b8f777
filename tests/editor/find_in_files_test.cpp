#include "editor/find_in_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "editor/ti_search.h"
#include "platform/game_install.h"
#include "project/project_session.h"
#include "support/run_command.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/class_browser.h"
#include "workspace/class_tree.h"
#include "workspace/edit_packages.h"

namespace torvane::editor {
namespace {

std::vector<std::pair<int, std::string>> Hits(std::string_view pattern, std::string_view text) {
    TTISearch search;
    search.SetPattern(pattern);
    std::vector<std::pair<int, std::string>> hits;
    ScanText(search, text, [&](const HitLine& hit) { hits.emplace_back(hit.number, hit.text); });
    return hits;
}

using HitList = std::vector<std::pair<int, std::string>>;

TEST(FindInFilesTest, HitLinesAndTheirNumbers) {
    const struct {
        const char* name;
        std::string text;
        HitList hits;
    } cases[] = {
        {"CrLf", "class A;\r\n\tvar Actor B;\r\nactor\r\n", {{2, "var Actor B;"}, {3, "actor"}}},
        {"LineFeedsOnly", "one\nActor two\n\nthree actor\n", {{2, "Actor two"}, {4, "three actor"}}},
        {"LoneCarriageReturns", "one\rActor\r\ractor", {{2, "Actor"}, {4, "actor"}}},
        {"Mixed", "a\r\nb\nc\rd actor\r\n", {{4, "d actor"}}},
        {"TwoHitsOnOneLine", "actor actor\r\n", {{1, "actor actor"}, {1, "actor actor"}}},
        {"ControlCharactersLeftOut", "\x01x\tActor\x1f;\x7f\xE9", {{1, "xActor;\x7f\xE9"}}},
        {"NoLineEndAtAll", "Actor", {{1, "Actor"}}},
        {"PatternLongerThanTheFile", "act", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Hits("actor", c.text), c.hits) << c.name;
    EXPECT_EQ(HitOutputLine("/g/Engine/Classes/Actor.uc", {12, "var int X;"}),
              "/g/Engine/Classes/Actor.uc(12): var int X;");
}

struct SearchRun {
    testing::RecordingOutputLog log;
    testing::ScriptedPrompter prompter;
    testing::ScriptedEventPump pump;
    std::vector<std::string> status;
    bool stop = false;

    FindInFilesResult Search(std::string_view text, const std::vector<std::string>& files) {
        FindInFilesHost host;
        host.log = &log;
        host.prompter = &prompter;
        host.pump = &pump;
        host.status = [this](const std::string& line) { status.push_back(line); };
        host.stopRequested = [this] { return stop; };
        return SearchFiles(text, files, host);
    }
};

TEST(FindInFilesTest, ListsEveryHitLineOnceAndGoesOnAfterAFileThatCannotBeRead) {
    testing::TempDir dir;
    const std::string a = dir.Write("A.uc", "class A extends Actor;\r\n// actor, ACTOR\r\n");
    const std::string b = dir.Write("B.uc", "class A extends Actor;\r\n");
    const std::string missing = dir.Path("Missing.uc");
    SearchRun run;
    run.log.AppendLine("an older line");
    const FindInFilesResult result = run.Search("actor", {a, missing, b});
    EXPECT_EQ(run.log.lines(), (std::vector<std::string>{a + "(1): class A extends Actor;",
                                                         a + "(2): // actor, ACTOR",
                                                         b + "(1): class A extends Actor;"}));
    EXPECT_EQ(result.filesSearched, 3);
    EXPECT_EQ(result.linesListed, 3);
    ASSERT_EQ(run.prompter.shown().size(), 1u);
    EXPECT_EQ(run.prompter.shown()[0].text, "Exception while scanning " + missing);
    EXPECT_EQ(run.status, (std::vector<std::string>{"Searching " + a, "Searching " + missing, "Searching " + b}));
    EXPECT_EQ(run.pump.calls(), 3 + 4);  // after each file is named and after each hit
}

TEST(FindInFilesTest, StopsBetweenFilesAndSearchesNothingForAnEmptyText) {
    testing::TempDir dir;
    const std::string a = dir.Write("A.uc", "actor\r\nactor\r\n");
    const std::string b = dir.Write("B.uc", "actor\r\n");
    SearchRun run;
    run.pump.SetAction([&run](int) { run.stop = true; });  // Cancel pressed while A is searched
    const FindInFilesResult result = run.Search("ACTOR", {a, b});
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.filesSearched, 1);
    EXPECT_EQ(run.log.lines().size(), 2u);  // A is searched to its end

    SearchRun empty;
    empty.log.AppendLine("kept");
    EXPECT_EQ(empty.Search("", {a, b}).filesSearched, 0);
    EXPECT_EQ(empty.log.lines(), std::vector<std::string>{"kept"});
}

workspace::ClassEntry Entry(const std::string& name) {
    return {name, name, "", "/g/" + name + ".uc", "Pkg"};
}

TEST(FindInFilesTest, FilesOfTheLocations) {
    workspace::ClassTree objects;
    auto& object = objects.AddTopLevel(Entry("Object"));
    auto& actor = objects.AddChild(object, Entry("Actor"));
    objects.AddChild(actor, Entry("Info"));
    objects.AddChild(actor, Entry("Pawn"));
    objects.AddChild(object, Entry("Canvas"));
    workspace::ClassTree actors;
    actors.SetSingleRootCopy(actor);

    testing::TempDir game;
    game.Write("MyMod/Classes/B.uc", "");
    game.Write("MyMod/Classes/A.uc", "");
    game.Write("MyMod/Classes/notes.txt", "");
    game.Write("Other/Classes/C.uc", "");
    const std::vector<workspace::CompiledPackage> compiled{{"MyMod", "Yes"}, {"Other", "   "}};
    const std::vector<project::PackageNode> packages{
        {"MyMod", {{{"Classes", {"A.uc"}}, {"Sounds", {"s.wav"}}}, std::string("MyMod.int")}}};

    SearchScope scope;
    scope.gameRoot = game.path();
    scope.objectTree = &objects;
    scope.actorTree = &actors;
    scope.compiledPackages = &compiled;
    auto files = [&scope](SearchLocation location) { return FilesOfLocation(location, scope); };

    using Files = std::vector<std::string>;
    EXPECT_EQ(files(SearchLocation::AllObjects).files,
              (Files{"/g/Object.uc", "/g/Actor.uc", "/g/Info.uc", "/g/Pawn.uc", "/g/Canvas.uc"}));
    EXPECT_EQ(files(SearchLocation::AllActors).files, (Files{"/g/Actor.uc", "/g/Info.uc", "/g/Pawn.uc"}));
    EXPECT_EQ(files(SearchLocation::ExportedClasses).files,
              (Files{game.Path("MyMod/Classes/A.uc"), game.Path("MyMod/Classes/B.uc")}));
    EXPECT_EQ(files(SearchLocation::ProjectClasses).message, "No Project Loaded.");
    scope.projectPackages = &packages;
    EXPECT_EQ(files(SearchLocation::ProjectClasses).files, (Files{game.Path("MyMod/Classes/A.uc")}));

    // Current Branch: the object tree's selection while its page is shown, else the actor tree's.
    const std::string branchMessage = "You must select an branch in the Actor or Object Tree first!";
    EXPECT_EQ(files(SearchLocation::CurrentBranch).message, branchMessage);
    scope.objectSelection = &actor;
    EXPECT_EQ(files(SearchLocation::CurrentBranch).message, branchMessage);  // the Object page is not shown
    scope.objectPageShown = true;
    EXPECT_EQ(files(SearchLocation::CurrentBranch).files, (Files{"/g/Actor.uc", "/g/Info.uc", "/g/Pawn.uc"}));
    scope.objectPageShown = false;
    scope.actorSelection = actors.roots()[0]->children[1].get();
    EXPECT_EQ(files(SearchLocation::CurrentBranch).files, (Files{"/g/Pawn.uc"}));
}

TEST(FindInFilesTest, LocationNames) {
    EXPECT_EQ(LocationOfName("All Objects"), SearchLocation::AllObjects);
    EXPECT_EQ(LocationOfName("EXPORTED"), SearchLocation::ExportedClasses);
    EXPECT_EQ(LocationOfName("branch"), SearchLocation::CurrentBranch);
    EXPECT_EQ(LocationOfName("everything"), std::nullopt);
    EXPECT_STREQ(LocationCaption(SearchLocation::ProjectClasses), "All Classes in Current Project");
    const std::pair<const char*, SearchLocation> pages[] = {
        {"Project", SearchLocation::ProjectClasses}, {"Object", SearchLocation::AllObjects},
        {"Actor", SearchLocation::AllActors},         {"Package", SearchLocation::ExportedClasses},
        {"System", SearchLocation::ExportedClasses}};
    for (const auto& [page, location] : pages) EXPECT_EQ(LocationOfWorkspacePage(page), location) << page;
}

// The fixture game's 1,488 sources searched as "All Objects" list exactly the lines grep lists
// for the same files in the same order: grep's path:line:text, with the characters below code
// 32 (tabs, the CR of CR LF) left out as the output log leaves them out.
TEST(FindInFilesTest, AllObjectsOfTheFixtureGameListWhatGrepLists) {
    workspace::ClassBrowserContext context;
    context.install = platform::GameInstall::Detect(testing::FixturesDir() + "/ut99");
    workspace::ClassBrowser browser(context);
    ASSERT_TRUE(browser.LoadEditPackages());
    ASSERT_TRUE(browser.RebuildClassTrees());
    const std::vector<std::string> files = FilesOfTree(browser.objectTree());
    ASSERT_EQ(files.size(), 1488u);

    testing::TempDir dir;
    std::string list;
    for (const std::string& file : files) list += file + "\n";
    const std::string listFile = dir.Write("files", list);
    for (const char* word : {"self", "ReplicationInfo", "Destroyed()"}) {
        const auto grep = testing::RunCommand("LC_ALL=C xargs -d '\\n' grep -i -F -n -H -e " +
                                              testing::ShellQuote(word) + " < " + testing::ShellQuote(listFile));
        std::vector<std::string> expected;
        std::size_t at = 0;
        while (at < grep.output.size()) {
            const std::size_t end = grep.output.find('\n', at);
            const std::string line = grep.output.substr(at, end - at);
            at = end == std::string::npos ? grep.output.size() : end + 1;
            const std::size_t pathEnd = line.find(':');
            const std::size_t numberEnd = line.find(':', pathEnd + 1);
            std::string text;
            for (char c : line.substr(numberEnd + 1)) {
                if (static_cast<unsigned char>(c) >= 32) text.push_back(c);
            }
            expected.push_back(line.substr(0, pathEnd) + "(" + line.substr(pathEnd + 1, numberEnd - pathEnd - 1) +
                               "): " + text);
        }
        ASSERT_GT(expected.size(), 10u) << word;
        SearchRun run;
        run.Search(word, files);
        EXPECT_TRUE(run.prompter.shown().empty());
        EXPECT_EQ(run.log.lines(), expected) << word;
    }
}

}  // namespace
}  // namespace torvane::editor
