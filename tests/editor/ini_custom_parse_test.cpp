#include "editor/ini_custom_parse.h"

#include <gtest/gtest.h>

namespace torvane::editor {
namespace {

TEST(IniCustomParseTest, KindsOfTheKeyValueTokenizing) {
    const struct {
        int state;
        const char* text;
        std::size_t position;
        int runLength;
        bool acted;
        int kind;
        std::size_t endPosition;
        int endRun;
    } cases[] = {
        {1, "Key=Value\r\n", 0, 0, true, kIniKindKey, 3, 3},
        {1, "a line\r\nnext", 0, 1, true, kIniKindPlainLine, 0, 1},  // put back
        {1, "x\r\n", 0, 0, true, kIniKindDefault, 1, 1},             // run of 1
        {1, "no end", 0, 0, true, kIniKindDefault, 6, 6},
        {1, "k=v", 2, 0, true, kIniKindDefault, 3, 1},
        {0, "Key=Value", 0, 0, false, kIniKindDefault, 0, 0},
    };
    for (const auto& c : cases) {
        const IniParseResult r = IniCustomParse(c.state, c.text, c.position, c.runLength);
        EXPECT_EQ(r.acted, c.acted) << c.text;
        EXPECT_EQ(r.kind, c.kind) << c.text;
        EXPECT_EQ(r.position, c.endPosition) << c.text;
        EXPECT_EQ(r.runLength, c.endRun) << c.text;
    }
}

}  // namespace
}  // namespace torvane::editor
