#include "core/format.h"

#include <gtest/gtest.h>

namespace torvane::core {
namespace {

TEST(FormatTest, FollowsTheProgramsRules) {
    EXPECT_EQ(Format("%d errors", {3}), "3 errors");
    EXPECT_EQ(Format("%d", {-42}), "-42");
    EXPECT_EQ(Format("%6d:%4d", {12, 5}), "    12:   5");
    EXPECT_EQ(Format("%s and %s", {"a", std::string("b")}), "a and b");
    EXPECT_EQ(Format("%f", {1.5}), "1.50");
    EXPECT_EQ(Format("%f", {2}), "2.00");
    EXPECT_EQ(Format("%.3f", {3.14159}), "3.142");
    EXPECT_EQ(Format("%.0f", {2.5}), "2");
    EXPECT_EQ(Format("%x", {255}), "FF");
    EXPECT_EQ(Format("JL%-4.4x:", {0x1F}), "JL001F:");
    EXPECT_EQ(Format("%-6.4x|", {0xAB}), "00AB  |");
    EXPECT_EQ(Format("0x%-2.2x", {5}), "0x05");
    EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
    EXPECT_EQ(Format("100%%", {}), "100%");
    EXPECT_EQ(Format("%.3d", {7}), "007");
    EXPECT_EQ(Format("%.2s", {"abc"}), "ab");
    EXPECT_EQ(Format("[%-5s]", {"ab"}), "[ab   ]");
}

TEST(FormatTest, IndexedArguments) {
    EXPECT_EQ(Format("Exception processing package %0:s\r\n%1:s", {"Core.u", "bad"}),
              "Exception processing package Core.u\r\nbad");
    EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
}

TEST(FormatTest, DecimalSeparatorIsTheCallers) {
    EXPECT_EQ(Format("%f", {1.25}, FormatOptions{','}), "1,25");
}

TEST(FormatTest, MismatchedOrMissingArgumentsThrow) {
    EXPECT_THROW(Format("%d", {"text"}), FormatError);
    EXPECT_THROW(Format("%s", {1}), FormatError);
    EXPECT_THROW(Format("%d %d", {1}), FormatError);
    EXPECT_THROW(Format("%q", {1}), FormatError);
    EXPECT_THROW(Format("trailing %", {}), FormatError);
}

}  // namespace
}  // namespace torvane::core
