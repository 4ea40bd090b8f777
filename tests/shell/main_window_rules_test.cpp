#include "shell/main_window_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace torvane::shell {
namespace {

TEST(MainWindowRulesTest, BottomPanelHeights) {
    EXPECT_EQ(BottomPanelHeight(kDesignedLogHeight, true), 150);
    EXPECT_EQ(BottomPanelHeight(kDesignedLogHeight, false), 41);
    EXPECT_EQ(LogHeightForPanel(150), 109);
    EXPECT_FALSE(SplitterAccepts(54));
    EXPECT_TRUE(SplitterAccepts(55));
}

TEST(MainWindowRulesTest, LogScrolling) {
    EXPECT_EQ(VisibleRows(109, 16), 6);
    EXPECT_EQ(VisibleRows(109, 0), 0);
    EXPECT_EQ(TopLineAfterAppend(10, 6), 4);
    EXPECT_EQ(TopLineAfterAppend(5, 6), 0);
    EXPECT_EQ(TopLineAfterScrollToEnd(10, 6), 4);  // rows 4 to 9: the last one whole
    EXPECT_EQ(TopLineAfterScrollToEnd(6, 6), 0);
}

TEST(MainWindowRulesTest, WorkspaceSettings) {
    EXPECT_EQ(WorkspacePageFromSetting(-3), 3);
    EXPECT_EQ(WorkspacePageFromSetting(-1), 1);
    EXPECT_EQ(TabPositionFromSetting(2), 2);
    EXPECT_EQ(TabPositionFromSetting(7), std::nullopt);
    EXPECT_EQ(TabPositionFromSetting(-1), std::nullopt);
}

TEST(MainWindowRulesTest, NewEditorsFitTheAreaAndCascade) {
    struct Case {
        int areaWidth, areaHeight, openBefore;
        EditorPlacement expected;
    };
    const Case cases[] = {
        {1200, 800, 0, {0, 0, 640, 420}},    // room enough: the designed size at the corner
        {1200, 800, 3, {72, 72, 640, 420}},  // one step per editor already open
        {1200, 800, 5, {0, 0, 640, 420}},    // over again after five places
        {975, 400, 1, {24, 24, 640, 376}},   // lower than designed: as high as the area leaves
        {500, 300, 2, {48, 48, 452, 252}},   // smaller both ways
        {100, 60, 3, {24, 24, 76, 36}},      // two places keep half of a tiny area
        {0, 0, 0, {0, 0, 1, 1}},             // not laid out yet
    };
    for (const Case& c : cases) {
        const EditorPlacement got = NewEditorPlacement(c.areaWidth, c.areaHeight, c.openBefore);
        EXPECT_EQ(got.x, c.expected.x) << c.areaWidth << "x" << c.areaHeight << " #" << c.openBefore;
        EXPECT_EQ(got.y, c.expected.y) << c.areaWidth << "x" << c.areaHeight << " #" << c.openBefore;
        EXPECT_EQ(got.width, c.expected.width) << c.areaWidth << "x" << c.areaHeight;
        EXPECT_EQ(got.height, c.expected.height) << c.areaWidth << "x" << c.areaHeight;
        EXPECT_LE(got.x + got.width, std::max(1, c.areaWidth));
        EXPECT_LE(got.y + got.height, std::max(1, c.areaHeight));
    }
}

TEST(MainWindowRulesTest, CaptionsAsPlainText) {
    const std::pair<const char*, const char*> cases[] = {
        {"Compile && Run", "Compile & Run"}, {"&Open", "Open"},        {"Find && Replace", "Find & Replace"},
        {"Save &As...", "Save As..."},       {"Tile &Horizontally", "Tile Horizontally"},
        {"A&&&B", "A&B"},                    {"Trailing&", "Trailing"}, {"", ""},
    };
    for (const auto& [caption, text] : cases) EXPECT_EQ(CaptionText(caption), text) << caption;
}

}  // namespace
}  // namespace torvane::shell
