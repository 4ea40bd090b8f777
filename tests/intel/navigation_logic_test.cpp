// The small rules of the editors' code intelligence: Back and Forward, the outline and its
// filter, the parameter the hint marks, the rows of the completion list, and an editor's text
// taking the place of its file in the index.
#include <gtest/gtest.h>

#include "intel/class_outline.h"
#include "intel/completion.h"
#include "intel/declaration_parser.h"
#include "intel/index_builder.h"
#include "intel/navigation_history.h"
#include "intel/parameter_hint.h"
#include "sample_classes.h"

namespace torvane::intel {
namespace {

TEST(NavigationHistoryTest, BackAndForwardRetraceTheJumps) {
    NavigationHistory history;
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_FALSE(history.Back({"A.uc", 1, 1}).has_value());
    history.Jumped({"A.uc", 10, 2});  // A -> B
    history.Jumped({"B.uc", 20, 3});  // B -> C
    history.Jumped({"B.uc", 20, 3});  // the same place twice in a row counts once
    const NavigationPlace atC{"C.uc", 5, 1};
    EXPECT_EQ(history.Back(atC), (NavigationPlace{"B.uc", 20, 3}));
    EXPECT_EQ(history.Back({"B.uc", 20, 3}), (NavigationPlace{"A.uc", 10, 2}));
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_EQ(history.Forward({"A.uc", 10, 2}), (NavigationPlace{"B.uc", 20, 3}));
    EXPECT_EQ(history.Forward({"B.uc", 20, 3}), atC);
    EXPECT_FALSE(history.CanGoForward());

    // A new jump after going back forgets what lay ahead.
    EXPECT_TRUE(history.Back(atC).has_value());
    history.Jumped({"B.uc", 1, 1});
    EXPECT_FALSE(history.CanGoForward());

    history.Forget("B.uc");
    EXPECT_EQ(history.Back({"D.uc", 1, 1}), (NavigationPlace{"A.uc", 10, 2}));
}

TEST(NavigationHistoryTest, TheOldestPlacesGoBeyondTheLimit) {
    NavigationHistory history(3);
    for (int line = 1; line <= 5; ++line) history.Jumped({"A.uc", line, 1});
    int steps = 0;
    NavigationPlace at{"A.uc", 99, 1};
    while (const auto back = history.Back(at)) {
        at = *back;
        ++steps;
    }
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(at.line, 3);
}

TEST(ClassOutlineTest, MembersInTextOrderWithStateFunctionsBelowTheirState) {
    const ClassSymbols pawn = ParseClassSymbols(kPawn);
    std::vector<std::string> rows;
    for (const OutlineEntry& entry : ClassOutline(pawn)) {
        rows.push_back(std::to_string(entry.line) + (entry.depth ? "   " : " ") + entry.text);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"2 var Pawn Enemy", "3 var int Health", "4 function Touch(Actor Other)",
                                              "19 state Idle", "21   function Bump()"}));

    const ClassSymbols object = ParseClassSymbols(kObject);
    const std::vector<OutlineEntry> entries = ClassOutline(object);
    ASSERT_EQ(entries.size(), 7u) << "struct, enum, constant and four functions; no struct members or enum values";
    EXPECT_EQ(entries[0].kind, SymbolKind::Struct);

    const struct {
        const char* filter;
        std::size_t shown;
    } filters[] = {{"", 7}, {"vsize", 1}, {"FINAL function", 3}, {"static vector", 1}, {"nothing", 0}};
    for (const auto& f : filters) {
        std::size_t shown = 0;
        for (const OutlineEntry& entry : entries) shown += OutlineEntryMatches(entry, f.filter);
        EXPECT_EQ(shown, f.shown) << f.filter;
    }
}

TEST(ParameterSpanTest, MarksTheParameterOfTheList) {
    const std::string spawn = "function Actor Spawn(class<Actor> SpawnClass, optional Actor SpawnOwner)";
    const struct {
        std::string signature;
        int parameter;
        std::string marked;  // empty: none
    } rows[] = {
        {spawn, 0, "class<Actor> SpawnClass"},
        {spawn, 1, "optional Actor SpawnOwner"},
        {spawn, 2, ""},
        {"native(129) static final preoperator bool !(bool A)", 0, "bool A"},
        {"function Bump()", 0, ""},
        {"function F(int A[4], out string B)", 1, "out string B"},
    };
    for (const auto& row : rows) {
        const auto [begin, end] = ParameterSpan(row.signature, row.parameter);
        const std::string marked = begin == std::string::npos ? "" : row.signature.substr(begin, end - begin);
        EXPECT_EQ(marked, row.marked) << row.signature << " " << row.parameter;
    }
}

TEST(CompletionRowTest, NameThenDeclarationThenClass) {
    CompletionItem health{CompletionItem::Group::Member, "Health", "var int Health", "Pawn"};
    EXPECT_EQ(CompletionRow(health, 8), "Health    var int Health  (Pawn)");
    EXPECT_EQ(CompletionRow(health, 3), "Health  var int Health  (Pawn)") << "a longer name pushes the column";
    const CompletionItem keyword{CompletionItem::Group::Keyword, "return", {}, {}};
    EXPECT_EQ(CompletionRow(keyword, 8), "return");
    const CompletionItem local{CompletionItem::Group::Local, "P", "Pawn P", {}};
    EXPECT_EQ(CompletionRow(local, 2), "P   Pawn P");
    EXPECT_EQ(NameOfCompletionRow(CompletionRow(health, 8)), "Health");
    EXPECT_EQ(NameOfCompletionRow("return"), "return");
}

TEST(IndexSourceTextTest, AnEditorsTextTakesThePlaceOfItsFile) {
    SymbolIndex index;
    index.SetPackageOrder({"Core", "Engine"});
    index.SetUnit(SourceUnit("/game/Core/Classes/Object.uc", "Core", kObject, {1, 1}));
    index.SetUnit(SourceUnit("/game/Engine/Classes/Actor.uc", "Engine", kActor, {1, 1}));
    index.SetUnit(SourceUnit("/game/Engine/Classes/Pawn.uc", "Engine", kPawn, {1, 1}));
    index.Link();
    // The editor spells the path otherwise; the class keeps its unit and package.
    const std::string text = std::string(kActor) + "var int Armor;\n";
    const std::string spelt = "/game/Engine/../Engine/Classes/Actor.uc";
    const IndexedClass* actor = IndexSourceText(index, spelt, text, "Other");
    ASSERT_NE(actor, nullptr);
    EXPECT_EQ(actor->unit().key, "/game/Engine/Classes/Actor.uc");
    EXPECT_EQ(actor->unit().package, "Engine");
    EXPECT_EQ(actor->unit().stamp.size, -1) << "never cached";
    EXPECT_TRUE(index.FindMember(index.FindClass("Pawn"), "Armor")) << "Pawn sees the new member through its parent";
    EXPECT_EQ(ClassOfSourceFile(index, spelt), actor);
    EXPECT_EQ(index.Classes().size(), 3u);

    // A source the index does not hold is added with the package given.
    const IndexedClass* added = IndexSourceText(index, "/mods/Bot.uc", "class Bot extends Pawn;\n", "Botpack");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->symbols().package, "Botpack");
    EXPECT_EQ(added->parent(), index.FindClass("Pawn"));
    EXPECT_EQ(ClassOfSourceFile(index, "/game/Engine/Classes/Missing.uc"), nullptr);
}

}  // namespace
}  // namespace torvane::intel
