#include "unrealpkg/ut_stream.h"

#include <gtest/gtest.h>

#include <memory>

#include "unrealpkg/ut_packages.h"

namespace torvane::unrealpkg {
namespace {

TUTBytes TenBytes() {
    auto data = std::make_shared<std::uint8_t[]>(10);
    for (int i = 0; i < 10; ++i) data[i] = static_cast<std::uint8_t>(i);
    return {std::move(data), 10};
}

TEST(StreamTest, APartReadsOnlyItsOwnBytes) {
    TUTMemoryStream part(TenBytes(), 4, 3);
    EXPECT_EQ(part.Size(), 3);
    EXPECT_EQ(part.ReadByte(), 4);
    std::uint8_t two[2] = {};
    part.Read(two, 2);
    EXPECT_EQ(two[0], 5);
    EXPECT_EQ(two[1], 6);
    EXPECT_THROW(part.ReadByte(), StreamError);  // byte 7 lies outside the part
    part.Seek(1);
    EXPECT_EQ(part.Remaining(), 2);
    EXPECT_THROW(part.Seek(4), StreamError);
}

TEST(StreamTest, PartsOutsideTheBytesAreRefused) {
    const struct {
        std::int64_t offset, size;
    } kCases[] = {{-1, 1}, {0, 11}, {10, 1}, {11, 0}, {5, -1}, {9, 0x7FFFFFFF}};
    for (const auto& c : kCases) {
        EXPECT_THROW(TUTMemoryStream(TenBytes(), c.offset, c.size), StreamError)
            << c.offset << "," << c.size;
    }
    EXPECT_EQ(TUTMemoryStream(TenBytes(), 10, 0).Size(), 0);
    EXPECT_THROW(TUTMemoryStream(TUTBytes{}, 0, 1), StreamError);
}

TEST(StreamTest, AShortReadGivesNoPartialValue) {
    TUTMemoryStream stream(std::vector<std::uint8_t>{0xAA, 0xBB, 0xCC});
    stream.Seek(1);
    TUTPackage package;
    std::uint8_t buffer[4] = {1, 2, 3, 4};
    EXPECT_THROW(package.ReadBuffer(buffer, 4, &stream), StreamError);
    for (std::uint8_t b : buffer) EXPECT_EQ(b, 0);
    EXPECT_EQ(stream.Position(), 1);
    EXPECT_THROW(package.ReadDWord(&stream), StreamError);
    EXPECT_EQ(package.ReadWord(&stream), 0xCCBB);
    EXPECT_THROW(package.ReadByte(), StreamError);  // the package's own stream is not held
}

}  // namespace
}  // namespace torvane::unrealpkg
