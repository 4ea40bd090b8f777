#include "platform/process_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace torvane::platform {
namespace {

TEST(ProcessClockTest, CountsFromTheProcessStart) {
    const auto first = MillisecondsSinceProcessStart();
    ASSERT_TRUE(first.has_value());
    EXPECT_GT(*first, 0.0);
    EXPECT_LT(*first, 3.6e6);  // this test process has not run for an hour
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const auto second = MillisecondsSinceProcessStart();
    ASSERT_TRUE(second.has_value());
    EXPECT_GE(*second - *first, 29.0);
}

}  // namespace
}  // namespace torvane::platform
