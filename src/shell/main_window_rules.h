#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// Where a new editor window goes in the multiple-document area: each window one step down and
// right of the one opened before it, starting over at the corner after five places (or fewer,
// so that a window keeps at least half of the area), in the designed size or smaller, so that
// its borders and status bar stay in view.
struct EditorPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
inline constexpr int kDesignedEditorWidth = 640;
inline constexpr int kDesignedEditorHeight = 420;
inline constexpr int kEditorCascadeStep = 24;
inline constexpr int kEditorCascadePlaces = 5;
EditorPlacement NewEditorPlacement(int areaWidth, int areaHeight, int openBefore);

// A menu caption as plain text, where no "&" marks a key: "&&" is one "&", a single "&" goes
// ("Compile && Run" is "Compile & Run", "&Open" is "Open").
std::string CaptionText(std::string_view caption);

// Workspace settings: Tab is used as its absolute value; TabPosition 0-3 (top, bottom, left,
// right), other values leave the position as it is.
int WorkspacePageFromSetting(int tab);
std::optional<int> TabPositionFromSetting(int position);

}  // namespace torvane::shell
