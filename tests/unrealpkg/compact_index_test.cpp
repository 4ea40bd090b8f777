#include <gtest/gtest.h>

#include "unrealpkg/ut_packages.h"

namespace torvane::unrealpkg {
namespace {

TEST(CompactIndexTest, DecodesEveryLength) {
    const struct {
        std::vector<std::uint8_t> bytes;
        std::int32_t value;
        int length;
    } cases[] = {
        {{0x05}, 5, 1},
        {{0x85}, -5, 1},
        {{0x3F}, 63, 1},
        {{0xBF}, -63, 1},
        {{0x40, 0x01}, 64, 2},
        {{0xC0, 0x01}, -64, 2},
        {{0x7F, 0x01}, 127, 2},  // bit 6 set: a second byte follows
        {{0x40, 0x80, 0x01}, 8192, 3},
        {{0x40, 0x80, 0x80, 0x01}, 1 << 20, 4},
        {{0x40, 0x80, 0x80, 0x80, 0xFF}, static_cast<std::int32_t>(0xFFu << 27), 5},
        {{0x7F, 0xFF, 0xFF, 0xFF, 0x0F}, 0x7FFFFFFF, 5},
    };
    for (const auto& c : cases) {
        const auto [value, length] = DecodeCompactIndex(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(length, c.length);
    }
}

TEST(CompactIndexTest, EncodingRoundTrips) {
    for (std::int32_t v : {0, 1, -1, 63, -63, 64, 8191, 8192, -1000000, 0x7FFFFFFF, -0x7FFFFFFF}) {
        const auto bytes = EncodeCompactIndex(v);
        EXPECT_EQ(DecodeCompactIndex(bytes.data(), bytes.size()).first, v) << v;
    }
}

TEST(CompactIndexTest, TruncatedInputFails) {
    const std::uint8_t bytes[] = {0x40};
    EXPECT_THROW(DecodeCompactIndex(bytes, 1), StreamError);
}

}  // namespace
}  // namespace torvane::unrealpkg
