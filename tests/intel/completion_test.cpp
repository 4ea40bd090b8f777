#include "intel/completion.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sample_classes.h"

namespace torvane::intel {
namespace {

class CompletionTest : public ::testing::Test {
protected:
    void SetUp() override { FillSampleIndex(index_); }

    // Pawn.uc with typed put on a line of its own before line (from 1), indexed as an editor's
    // text is; the completions with the cursor at the end of what was typed.
    CompletionList At(int line, std::string_view typed) {
        text_ = std::string(kPawn);
        std::size_t offset = 0;
        for (int l = 1; l < line; ++l) offset = text_.find('\n', offset) + 1;
        text_.insert(offset, std::string(typed) + "\n");
        index_.SetUnit(SourceUnit("Pawn.uc", "Engine", text_, {}));
        index_.Link();
        return CompletionsAt(index_, *index_.FindClass("Pawn"), text_, static_cast<std::uint32_t>(offset + typed.size()));
    }

    static std::vector<std::string> Names(const CompletionList& list) {
        std::vector<std::string> names;
        for (const CompletionItem& item : list.items) names.push_back(item.name);
        return names;
    }
    static const CompletionItem* Item(const CompletionList& list, std::string_view name) {
        for (const CompletionItem& item : list.items) {
            if (item.name == name) return &item;
        }
        return nullptr;
    }

    SymbolIndex index_;
    std::string text_;
};

TEST_F(CompletionTest, AfterADotTheMembersTheExpressionReaches) {
    struct Row {
        std::string_view typed;
        std::vector<std::string> names;
    };
    const Row rows[] = {
        // An object: its class chain's variables, functions and constants, nearest first, each
        // name once, without operators.
        {"\tEnemy.", {"Enemy", "GotoState", "Health", "IsA", "Location", "Owner", "Pi", "Rating", "Side", "Spawn",
                      "Touch", "VSize"}},
        {"\tEnemy.Owner.To", {"Touch"}},
        // A struct: its members.
        {"\tLocation.", {"X", "Y", "Z"}},
        // An enum's name: its values.
        {"\tSide = ESide.", {"SIDE_Left", "SIDE_Right"}},
        // Default.: the variables; Static.: the static functions; Super: the parent's functions.
        {"\tDefault.", {"Enemy", "Health", "Location", "Owner", "Side"}},
        {"\tclass'Pawn'.static.", {"Rating", "VSize"}},
        {"\tSuper.", {"GotoState", "IsA", "Rating", "Spawn", "Touch", "VSize"}},
        // A class literal: its default and static scopes, then Object's members.
        {"\tclass'Actor'.s", {"static"}},
        // The type before the dot is not known: nothing rather than guesses.
        {"\tMissing.", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.typed));
        const CompletionList list = At(17, row.typed);
        EXPECT_TRUE(list.afterDot);
        EXPECT_EQ(Names(list), row.names);
    }
}

TEST_F(CompletionTest, MembersShowTheirDeclarationAndTheNearestDeclaringClass) {
    const CompletionList list = At(17, "\tSelf.");
    const CompletionItem* touch = Item(list, "Touch");
    ASSERT_NE(touch, nullptr);
    EXPECT_EQ(touch->owner, "Pawn");
    EXPECT_EQ(touch->detail, "function Touch(Actor Other)");
    const CompletionItem* health = Item(list, "Health");
    ASSERT_NE(health, nullptr);
    EXPECT_EQ(health->owner, "Pawn");
    EXPECT_EQ(health->detail, "var int Health");
    const CompletionItem* vsize = Item(list, "VSize");
    ASSERT_NE(vsize, nullptr);
    EXPECT_EQ(vsize->owner, "Object");
    EXPECT_EQ(vsize->detail, "native(225) static final function float VSize(vector A)");
}

TEST_F(CompletionTest, ElsewhereLocalsThenMembersThenClassesThenKeywords) {
    // "p": the local P, the constant Pi, the class Pawn; the prefix matches without regard to case.
    const CompletionList list = At(17, "\tp");
    EXPECT_FALSE(list.afterDot);
    const std::vector<std::string> names = Names(list);
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3), (std::vector<std::string>{"P", "Pi", "Pawn"}));
    EXPECT_EQ(names[3], "perobjectconfig");  // then the keywords
    EXPECT_EQ(list.items[0].group, CompletionItem::Group::Local);
    EXPECT_EQ(list.items[0].detail, "Pawn P");
    EXPECT_EQ(list.items[2].group, CompletionItem::Group::Class);
    EXPECT_EQ(list.items[2].detail, "class Pawn extends Actor");
    EXPECT_EQ(list.prefixBegin, text_.find("\tp\n") + 1);

    // The local Health hides the class's variable of that name.
    const CompletionList health = At(17, "\tHeal");
    ASSERT_EQ(health.items.size(), 1u);
    EXPECT_EQ(health.items[0].group, CompletionItem::Group::Local);

    // Keywords come last: "r" offers the function Rating, then "reliable", "return", ...
    const CompletionList r = At(17, "\tr");
    ASSERT_GE(r.items.size(), 2u);
    EXPECT_EQ(r.items.front().name, "Rating");
    EXPECT_EQ(r.items.front().group, CompletionItem::Group::Member);
    const auto keywords = std::find_if(r.items.begin(), r.items.end(),
                                       [](const CompletionItem& item) { return item.group == CompletionItem::Group::Keyword; });
    EXPECT_EQ(keywords, r.items.begin() + 1);
    EXPECT_TRUE(std::all_of(keywords, r.items.end(),
                            [](const CompletionItem& item) { return item.group == CompletionItem::Group::Keyword; }));
    EXPECT_NE(Item(r, "return"), nullptr);
}

TEST_F(CompletionTest, StateCodeOffersTheStateFunctionsOverTheClassFunctions) {
    // Line 22 is "Begin:" of Pawn's state Idle, whose parent state is Actor's Idle.
    const CompletionList list = At(23, "\tTou");
    ASSERT_EQ(Names(list), (std::vector<std::string>{"Touch"}));
    EXPECT_EQ(list.items[0].owner, "Actor");
}

}  // namespace
}  // namespace torvane::intel
