#include "platform/locale_formats.h"

#include <stdlib.h>

#include <gtest/gtest.h>

namespace torvane::platform {
namespace {

// The tests run with LC_ALL=C.UTF-8 and TZ=UTC so that the locale's formats are known.
class LocaleFormatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("LC_ALL", "C.UTF-8", 1);
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
};

TEST_F(LocaleFormatsTest, UsesTheLocalesShortDateAndLongTime) {
    const std::int64_t t = 1796858045;  // 2026-12-09 23:14:05 UTC
    EXPECT_EQ(FormatShortDate(t), "12/09/26");
    EXPECT_EQ(FormatLongTime(t), "23:14:05");
    EXPECT_EQ(FormatDateTime(t), "12/09/26 23:14:05");
    EXPECT_EQ(LocaleDecimalSeparator(), '.');
}

TEST_F(LocaleFormatsTest, AnUnknownLocaleFallsBackToC) {
    ::setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
    EXPECT_EQ(FormatLongTime(0), "00:00:00");
}

}  // namespace
}  // namespace torvane::platform
