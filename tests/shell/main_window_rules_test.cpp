#include "shell/main_window_rules.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace torvane::shell
