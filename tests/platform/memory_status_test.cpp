#include "platform/memory_status.h"

#include <gtest/gtest.h>

namespace torvane::platform {
namespace {

TEST(MemoryStatusTest, FiguresFromMemInfo) {
    const auto status = ParseMemInfo(
        "MemTotal:        8000000 kB\nMemFree:          500000 kB\nMemAvailable:    2000000 kB\n"
        "Buffers:          100000 kB\nCached:          1200000 kB\nSwapTotal:       1000000 kB\n"
        "SwapFree:         400000 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->loadPercent, 75);
    EXPECT_EQ(status->availablePhysicalKb, 2000000u);
    EXPECT_EQ(status->availableVirtualKb, 2400000u);
}

TEST(MemoryStatusTest, OlderKernelsAndDamagedText) {
    // Without MemAvailable: free plus cached.
    const auto old = ParseMemInfo("MemTotal: 1000 kB\nMemFree: 100 kB\nCached: 300 kB\n");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->availablePhysicalKb, 400u);
    EXPECT_EQ(old->loadPercent, 60);
    EXPECT_EQ(old->availableVirtualKb, 400u);  // no swap line
    EXPECT_FALSE(ParseMemInfo("MemFree: 100 kB\n"));
    EXPECT_FALSE(ParseMemInfo("MemTotal: 0 kB\n"));
    EXPECT_FALSE(ParseMemInfo("MemTotal: lots\n"));
}

TEST(MemoryStatusTest, ThisMachineHasFigures) {
    const auto status = ReadMemoryStatus();
    ASSERT_TRUE(status);
    EXPECT_GT(status->availablePhysicalKb, 0u);
    EXPECT_LE(status->loadPercent, 100);
    EXPECT_GE(status->availableVirtualKb, status->availablePhysicalKb);
}

}  // namespace
}  // namespace torvane::platform
