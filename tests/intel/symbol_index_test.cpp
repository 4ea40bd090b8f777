#include "intel/symbol_index.h"

#include <gtest/gtest.h>

#include "intel/index_builder.h"

namespace torvane::intel {
namespace {

// An index of small classes: Object (Core), Actor and Pawn (Engine), a mod's Bot.
SymbolIndex MakeIndex() {
    SymbolIndex index;
    index.SetPackageOrder({"Core", "Engine", "Mod"});
    index.SetUnit(SourceUnit("Core/Object.uc", "Core",
                             "class Object native;\n"
                             "struct Vector { var float X, Y, Z; };\n"
                             "struct Plane extends Vector { var float W; };\n"
                             "enum ESample { SAMPLE_One, SAMPLE_Two };\n"
                             "const MaxInt = 0x7fffffff;\n"
                             "native(129) static final preoperator bool ! ( bool A );\n"
                             "native(130) static final operator(24) bool && ( bool A, skip bool B );\n"
                             "native static final function float VSize(vector A);\n",
                             {1, 1}));
    index.SetUnit(SourceUnit("Engine/Actor.uc", "Engine",
                             "class Actor extends Object;\n"
                             "var int Health;\n"
                             "event Touch(Actor Other);\n"
                             "function Fly();\n"
                             "state Flying { function Fly(); }\n",
                             {1, 1}));
    index.SetUnit(SourceUnit("Engine/Pawn.uc", "Engine",
                             "class Pawn extends Actor;\n"
                             "var int Health;\n"
                             "function Touch(Actor Other) {}\n"
                             "state Hunting extends Flying { function Seek(); }\n",
                             {1, 1}));
    index.SetUnit(SourceUnit("Mod/Bot.uc", "Mod",
                             "class Bot extends Pawn;\n"
                             "state Flying { function Land(); }\n",
                             {1, 1}));
    // A class of the same name in a later package loses to the earlier one.
    index.SetUnit(SourceUnit("Mod/Actor.uc", "Mod", "class Actor extends Object;\nvar int Shadow;\n", {1, 1}));
    index.Link();
    return index;
}

TEST(SymbolIndexTest, ClassesInPackageOrderAndParents) {
    const SymbolIndex index = MakeIndex();
    const IndexedClass* bot = index.FindClass("BOT");
    ASSERT_NE(bot, nullptr);
    ASSERT_NE(bot->parent(), nullptr);
    EXPECT_EQ(bot->parent()->name(), "Pawn");
    const IndexedClass* actor = index.FindClass("actor");
    ASSERT_NE(actor, nullptr);
    EXPECT_EQ(actor->unit().package, "Engine");
    EXPECT_TRUE(SymbolIndex::IsA(bot, actor));
    EXPECT_FALSE(SymbolIndex::IsA(actor, bot));
    EXPECT_EQ(index.ClassOfFile("Engine/Pawn.uc"), index.FindClass("Pawn"));
    EXPECT_EQ(index.Classes().front()->name(), "Object");
    EXPECT_EQ(index.FindClass("Nothing"), nullptr);
}

TEST(SymbolIndexTest, MembersThroughTheParentChainNearestFirst) {
    const SymbolIndex index = MakeIndex();
    const IndexedClass* bot = index.FindClass("Bot");
    const MemberRef health = index.FindMember(bot, "health");
    ASSERT_TRUE(health);
    EXPECT_EQ(health.owner->name(), "Pawn");
    const MemberRef touch = index.FindMember(bot, "Touch", kFunctions);
    ASSERT_TRUE(touch);
    EXPECT_EQ(touch.owner->name(), "Pawn");
    EXPECT_EQ(index.FindMember(bot, "VSize").owner->name(), "Object");
    EXPECT_FALSE(index.FindMember(bot, "Health", kFunctions)) << "kinds restrict the lookup";
    EXPECT_FALSE(index.FindMember(bot, "Shadow")) << "the losing Actor is not in the chain";
}

TEST(SymbolIndexTest, StateFunctionsBeforeClassFunctions) {
    const SymbolIndex index = MakeIndex();
    const IndexedClass* bot = index.FindClass("Bot");
    const IndexedClass* pawn = index.FindClass("Pawn");
    // Bot's Flying extends Actor's Flying (same name in a parent class).
    const MemberRef fly = index.FindFunctionInState(bot, "Flying", "Fly");
    ASSERT_TRUE(fly);
    EXPECT_EQ(fly.owner->name(), "Actor");
    EXPECT_EQ(fly.symbol().scope, "Flying");
    EXPECT_EQ(index.FindFunctionInState(bot, "Flying", "Land").owner, bot);
    // Hunting extends Flying by name.
    const MemberRef huntingFly = index.FindFunctionInState(pawn, "Hunting", "Fly");
    ASSERT_TRUE(huntingFly);
    EXPECT_EQ(huntingFly.symbol().scope, "Flying");
    const MemberRef parent = index.ParentState(index.FindState(pawn, "Hunting"));
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent.symbol().name, "Flying");
    // Outside a state's own functions the class chain's answer.
    EXPECT_EQ(index.FindFunctionInState(bot, "Flying", "Touch").owner, pawn);
}

TEST(SymbolIndexTest, TypesValuesConstantsAndOperators) {
    const SymbolIndex index = MakeIndex();
    const IndexedClass* bot = index.FindClass("Bot");
    const MemberRef plane = index.FindType(bot, "plane");
    ASSERT_TRUE(plane);
    EXPECT_EQ(plane.symbol().kind, SymbolKind::Struct);
    const MemberRef x = index.FindStructMember(plane, "X");
    ASSERT_TRUE(x) << "struct members through the struct it extends";
    EXPECT_EQ(x.symbol().scope, "Vector");
    EXPECT_EQ(index.FindEnumValue(bot, "SAMPLE_Two").symbol().type, "ESample");
    EXPECT_EQ(index.FindConstant(bot, "MaxInt").symbol().type, "0x7fffffff");
    ASSERT_NE(index.Operators("&&"), nullptr);
    EXPECT_EQ(index.Operators("&&")->size(), 1u);
    ASSERT_NE(index.Operators("!"), nullptr);
    EXPECT_EQ(index.Operators("VSize"), nullptr);
}

TEST(SymbolIndexTest, ReplacingAndRemovingUnitsAndParentLoops) {
    SymbolIndex index = MakeIndex();
    index.SetUnit(SourceUnit("Engine/Pawn.uc", "Engine", "class Pawn extends Actor;\nvar int Armor;\n", {2, 2}));
    index.Link();
    EXPECT_EQ(index.FindMember(index.FindClass("Bot"), "Health").owner->name(), "Actor");
    EXPECT_TRUE(index.FindMember(index.FindClass("Bot"), "Armor"));
    EXPECT_TRUE(index.RemoveUnit("Mod/Bot.uc"));
    EXPECT_FALSE(index.RemoveUnit("Mod/Bot.uc"));
    index.Link();
    EXPECT_EQ(index.FindClass("Bot"), nullptr);

    // Damaged sources whose parents form a loop: the chain ends, lookups do not hang.
    SymbolIndex loop;
    loop.SetUnit(SourceUnit("A.uc", "P", "class A extends B;\n", {1, 1}));
    loop.SetUnit(SourceUnit("B.uc", "P", "class B extends A;\n", {1, 1}));
    loop.Link();
    EXPECT_FALSE(loop.FindMember(loop.FindClass("A"), "Missing"));
    EXPECT_FALSE(SymbolIndex::IsA(loop.FindClass("A"), nullptr));
}

}  // namespace
}  // namespace torvane::intel
