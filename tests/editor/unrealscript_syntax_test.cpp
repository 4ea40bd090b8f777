#include "editor/unrealscript_syntax.h"

#include <gtest/gtest.h>

namespace torvane::editor {
namespace {

// The style of each character of a line, as a string of digits.
std::string Styles(std::string_view line, int& state) {
    std::string styles;
    for (const auto& run : StyleUnrealScriptLine(line, state)) {
        styles += std::string(run.length, static_cast<char>('0' + run.style));
    }
    return styles;
}

TEST(UnrealScriptSyntaxTest, TokenKinds) {
    int state = kInCode;
    EXPECT_EQ(Styles("CLASS Foo Extends Bar;", state), "2222200000222222200000");
    EXPECT_EQ(Styles("x = \"s\" $ 'Nm' // c", state), "0000333000444401111");
    EXPECT_EQ(Styles("n=12.5;", state), "0055550");
    const std::string directive = "#exec Texture Import File=a.pcx";
    EXPECT_EQ(Styles(directive, state),
              std::string(directive.size(), static_cast<char>('0' + kUsDirective)));
    EXPECT_EQ(state, kInCode);
}

TEST(UnrealScriptSyntaxTest, StateCarriesAcrossLines) {
    int state = kInCode;
    Styles("a /* start", state);
    EXPECT_EQ(state, kInBlockComment);
    EXPECT_EQ(Styles("still */ b", state), "1111111100");
    EXPECT_EQ(state, kInCode);
    Styles("defaultproperties", state);
    EXPECT_EQ(state, kInDefaultProps);
    EXPECT_EQ(Styles("{ x=1", state), "77775");
    EXPECT_EQ(Styles("}", state), "7");
    EXPECT_EQ(state, kInCode);
    EXPECT_TRUE(IsUnrealScriptKeyword("DefaultProperties"));
    EXPECT_FALSE(IsUnrealScriptKeyword("Foo"));
}

}  // namespace
}  // namespace torvane::editor
