#include "intel/parameter_hint.h"

#include <gtest/gtest.h>

#include "sample_classes.h"

namespace torvane::intel {
namespace {

class ParameterHintTest : public ::testing::Test {
protected:
    void SetUp() override { FillSampleIndex(index_); }

    // The hint with the cursor after `before` on line (from 1) of text (Pawn.uc unless given).
    std::optional<ParameterHint> HintAfter(int line, std::string_view before, std::string text = std::string(kPawn)) {
        std::size_t offset = 0;
        for (int l = 1; l < line; ++l) offset = text.find('\n', offset) + 1;
        offset = text.find(before, offset);
        EXPECT_NE(offset, std::string::npos) << before;
        text_ = std::move(text);
        index_.SetUnit(SourceUnit("Pawn.uc", "Engine", text_, {}));
        index_.Link();
        return ParameterHintAt(index_, *index_.FindClass("Pawn"), text_,
                               static_cast<std::uint32_t>(offset + before.size()));
    }

    SymbolIndex index_;
    std::string text_;
};

TEST_F(ParameterHintTest, TheInnermostCallAndTheArgumentAtTheCursor) {
    struct Row {
        int line;
        std::string_view before;
        std::string_view signature;
        std::string_view owner;
        int parameter;
    };
    const Row rows[] = {
        {16, "Spawn(", "function Actor Spawn(class<Actor> SpawnClass)", "Actor", 0},
        {16, "Spawn(class'Pa", "function Actor Spawn(class<Actor> SpawnClass)", "Actor", 0},
        {14, "VSize(Loc", "native(225) static final function float VSize(vector A)", "Object", 0},
        {10, "Super.Touch(", "function Touch(Actor Other)", "Actor", 0},
        {23, "GotoState(", "native(113) final function GotoState(optional name NewState)", "Object", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.before));
        const auto hint = HintAfter(row.line, row.before);
        ASSERT_TRUE(hint.has_value());
        EXPECT_EQ(hint->signature, row.signature);
        EXPECT_EQ(hint->owner, row.owner);
        EXPECT_EQ(hint->parameter, row.parameter);
    }
}

TEST_F(ParameterHintTest, ACallBeingTypedCountsItsArguments) {
    // Unclosed, with a comma inside a nested call and a string that do not count.
    std::string text(kPawn);
    const std::size_t line17 = text.find("\tTouch(Other);");
    text.insert(line17, "\tIsA(VSize(Location, 1), \"a,b\", \n");
    const auto hint = HintAfter(17, "\"a,b\", ", text);
    ASSERT_TRUE(hint.has_value());
    EXPECT_EQ(hint->signature, "native final function bool IsA(name ClassName)");
    EXPECT_EQ(hint->parameter, 2) << "past the last parameter";
    EXPECT_EQ(hint->open, text_.find("IsA(") + 3);
}

TEST_F(ParameterHintTest, NoHintOutsideParenthesesOrForWhatIsNoFunction) {
    EXPECT_FALSE(HintAfter(17, "\t").has_value());
    EXPECT_FALSE(HintAfter(17, "Touch(Other)").has_value()) << "after the ')'";
    EXPECT_FALSE(HintAfter(8, "Pawn(").has_value()) << "a cast";
}

}  // namespace
}  // namespace torvane::intel
