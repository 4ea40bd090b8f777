#include "core/cp1252.h"

#include <gtest/gtest.h>

namespace torvane::core {
namespace {

TEST(Cp1252Test, MapsTheHighRangeToUnicode) {
    EXPECT_EQ(Cp1252ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(Cp1252ToUtf8("\x99"), "\xE2\x84\xA2");  // trade mark
    EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x9C" "q" "\xE2\x80\x9D"), "\x93q\x94");
}

TEST(Cp1252Test, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252Test, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");   // a CJK character
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");         // cut sequence
    EXPECT_EQ(Utf8ToCp1252("\xFF" "b"), "?b");      // invalid lead byte
}

}  // namespace
}  // namespace torvane::core
