#include "intel/code_walker.h"

#include <gtest/gtest.h>

#include "intel/index_builder.h"
#include "intel/resolution_tally.h"
#include "intel/symbol_place.h"
#include "sample_classes.h"

namespace torvane::intel {
namespace {

class CodeWalkerTest : public ::testing::Test {
protected:
    void SetUp() override { FillSampleIndex(index_); }

    // The use of the occurrence-th word at line (from 1) of Pawn.uc.
    Use UseOf(int line, std::string_view word, int occurrence = 1) {
        std::size_t offset = 0;
        for (int l = 1; l < line; ++l) offset = kPawn.find('\n', offset) + 1;
        for (int i = 0; i < occurrence; ++i) {
            offset = kPawn.find(word, offset + (i ? 1 : 0));
        }
        const auto use = UseAt(index_, *index_.FindClass("Pawn"), kPawn, static_cast<std::uint32_t>(offset));
        EXPECT_TRUE(use.has_value()) << word << " at line " << line;
        return use.value_or(Use{});
    }

    SymbolIndex index_;
};

TEST_F(CodeWalkerTest, NamesResolveAsTheLanguageDoes) {
    struct Row {
        int line;
        std::string_view word;
        int occurrence;
        std::string_view target;  // TargetText
        std::string_view declaringClass;
    };
    const Row rows[] = {
        {8, "Pawn", 1, "class Pawn", "Pawn"},
        {8, "Other", 1, "parameter Other", "Pawn"},
        {9, "P", 1, "local P", "Pawn"},
        {9, "Enemy", 1, "variable Pawn.Enemy", "Pawn"},
        {9, "Owner", 1, "variable Actor.Owner", "Actor"},
        {9, "Touch", 1, "function Actor.Touch", "Actor"},  // Owner is declared an Actor
        {10, "Touch", 1, "function Actor.Touch", "Actor"},
        {11, "Actor", 1, "class Actor", "Actor"},
        {11, "Touch", 1, "function Actor.Touch", "Actor"},
        {12, "Health", 1, "local Health", "Pawn"},
        {12, "Health", 2, "variable Pawn.Health", "Pawn"},
        {12, "Health", 3, "variable Pawn.Health", "Pawn"},
        {13, "Pawn", 1, "class Pawn", "Pawn"},
        {13, "Rating", 1, "function Actor.Rating", "Actor"},
        {14, "Location", 1, "variable Actor.Location", "Actor"},
        {14, "X", 1, "variable Object.Vector.X", "Object"},
        {14, "VSize", 1, "function Object.VSize", "Object"},
        {14, "Pi", 1, "constant Object.Pi", "Object"},
        {15, "SIDE_Right", 1, "enum value Object.ESide.SIDE_Right", "Object"},
        {15, "ESide", 1, "enum Object.ESide", "Object"},
        {15, "SIDE_Left", 1, "enum value Object.ESide.SIDE_Left", "Object"},
        {16, "Owner", 1, "variable Actor.Owner", "Actor"},
        {17, "Touch", 1, "function Pawn.Touch", "Pawn"},
        {21, "Touch", 1, "function Actor.Idle.Touch", "Actor"},
        {23, "GotoState", 1, "function Object.GotoState", "Object"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.line) + " " + std::string(row.word));
        const Use use = UseOf(row.line, row.word, row.occurrence);
        EXPECT_EQ(TargetText(use.target), row.target) << use.cause;
        const SymbolPlace place = PlaceOf(use.target);
        ASSERT_TRUE(place);
        EXPECT_EQ(place.cls->name(), row.declaringClass);
    }
}

TEST_F(CodeWalkerTest, UnresolvedNamesSayWhy) {
    const Use missing = UseOf(16, "Missing");
    EXPECT_FALSE(missing.target);
    EXPECT_EQ(missing.cause, "no variable, constant or enum value of that name in scope");
    const Use thing = UseOf(16, "Thing");
    EXPECT_FALSE(thing.target);
    EXPECT_EQ(thing.cause, "the type of what stands before '.' is not known");

    const ResolutionTally tally = TallyClass(index_, *index_.FindClass("Pawn"), std::string(kPawn));
    EXPECT_EQ(tally.calls - tally.callsResolved, 0u);
    EXPECT_EQ(tally.names - tally.namesResolved, 2u);
    EXPECT_EQ(tally.unresolved.size(), 2u);
    EXPECT_EQ(CauseKind("no function of that name in Pawn's chain"), "no function of that name in *'s chain");
    EXPECT_EQ(CauseKind("class Foo is not in the index"), "class * is not in the index");
}

TEST_F(CodeWalkerTest, DeclarationsAndTypesNamedByThemAreUses) {
    // "var Pawn Enemy;": the type is a use of class Pawn, the name a declaration.
    const Use type = UseOf(2, "Pawn");
    EXPECT_EQ(type.role, UseRole::Type);
    EXPECT_EQ(TargetText(type.target), "class Pawn");
    const Use declared = UseOf(2, "Enemy");
    EXPECT_EQ(declared.role, UseRole::Declaration);
    EXPECT_EQ(TargetText(declared.target), "variable Pawn.Enemy");
    EXPECT_FALSE(UseAt(index_, *index_.FindClass("Pawn"), kPawn, 2).has_value()) << "the keyword 'class' names nothing";
}

// Trigger is a class and Actor's event: one argument where the event needs two is a cast.
TEST(CodeWalkerCastTest, AClassAndAFunctionOfOneName) {
    const std::string actor =
        "class Actor extends Object;\n"
        "event Trigger(Actor Other, Actor EventInstigator);\n"
        "function F(Actor A)\n"
        "{\n"
        "\tTrigger(A).Count = 1;\n"
        "\tTrigger(A, A);\n"
        "}\n";
    SymbolIndex index;
    index.SetUnit(SourceUnit("Object.uc", "Core", kObject, {1, 1}));
    index.SetUnit(SourceUnit("Actor.uc", "Engine", actor, {1, 1}));
    index.SetUnit(SourceUnit("Trigger.uc", "Engine", "class Trigger extends Actor;\nvar int Count;\n", {1, 1}));
    index.Link();
    const IndexedClass& cls = *index.FindClass("Actor");
    const auto at = [&](std::string_view word, int occurrence) {
        std::size_t offset = actor.find("{");
        for (int i = 0; i < occurrence; ++i) offset = actor.find(word, offset + 1);
        const auto use = UseAt(index, cls, actor, static_cast<std::uint32_t>(offset));
        return use ? TargetText(use->target) : std::string("no use");
    };
    EXPECT_EQ(at("Trigger", 1), "class Trigger");
    EXPECT_EQ(at("Count", 1), "variable Trigger.Count");
    EXPECT_EQ(at("Trigger", 2), "function Actor.Trigger");
}

}  // namespace
}  // namespace torvane::intel
