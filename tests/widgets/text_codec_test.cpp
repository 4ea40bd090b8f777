#include "widgets/text_codec.h"

#include <gtest/gtest.h>

namespace torvane::widgets {
namespace {

TEST(TextCodecTest, ConvertsWindows1252BothWays) {
    EXPECT_EQ(ToQString("caf\xE9 \x80"), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(FromQString(QString::fromUtf8("\xE2\x80\x9Cquoted\xE2\x80\x9D")), "\x93quoted\x94");
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(FromQString(ToQString(all)), all);
}

}  // namespace
}  // namespace torvane::widgets
