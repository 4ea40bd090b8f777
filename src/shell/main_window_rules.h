#pragma once

#include <optional>

// Sizes and scroll positions of the main window's bottom panel and output log.
namespace torvane::shell {

inline constexpr int kDesignedLogHeight = 109;
inline constexpr int kFileTabsHeight = 20;
inline constexpr int kStatusBarHeight = 19;
inline constexpr int kMinimumBottomPanel = 55;  // the splitter refuses anything smaller
inline constexpr int kSplitterGap = 3;          // the splitter sits this far above the panel

// The bottom panel's height for a log of logHeight, shown or hidden.
int BottomPanelHeight(int logHeight, bool logVisible);
// The log height a bottom panel of panelHeight leaves.
int LogHeightForPanel(int panelHeight);
bool SplitterAccepts(int newPanelHeight);

// Visible rows of the log: its height over the item height, remainder dropped.
int VisibleRows(int logHeight, int itemHeight);
// The top line after AddLogLine: count - visible when more lines than fit, else 0.
int TopLineAfterAppend(int count, int visible);
// The top line after ScrollLogToEnd: the same, so that the last line is shown whole (one line
// more above it would push the last one half out of sight).
int TopLineAfterScrollToEnd(int count, int visible);

// Workspace settings: Tab is used as its absolute value; TabPosition 0-3 (top, bottom, left,
// right), other values leave the position as it is.
int WorkspacePageFromSetting(int tab);
std::optional<int> TabPositionFromSetting(int position);

}  // namespace torvane::shell
