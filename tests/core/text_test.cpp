#include "core/text.h"

#include <gtest/gtest.h>

namespace torvane::core {
namespace {

TEST(TextTest, CaseFoldingCoversTheCodePage) {
    EXPECT_TRUE(EqualsIgnoringCase("EditPackages", "editpackages"));
    EXPECT_TRUE(EqualsIgnoringCase("\xE9t\xE9", "\xC9T\xC9"));  // accented letters
    EXPECT_FALSE(EqualsIgnoringCase("\xF7", "\xD7"));          // division vs multiplication sign
    EXPECT_EQ(UpperCase("server_stop"), "SERVER_STOP");
    EXPECT_EQ(LowerCase("Core.U"), "core.u");
    EXPECT_EQ(FindIgnoringCase("class Foo EXTENDS Bar", "extends"), 10u);
    EXPECT_TRUE(EndsWithIgnoringCase("Engine.UC", ".uc"));
}

TEST(TextTest, SplitLinesAcceptsEveryLineEnd) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(JoinLinesCrLf({"x", "y"}), "x\r\ny\r\n");
}

TEST(TextTest, TrimRemovesBlanksAndControls) {
    EXPECT_EQ(Trim(" \t value \r"), "value");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
}

}  // namespace
}  // namespace torvane::core
