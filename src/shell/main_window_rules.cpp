#include "shell/main_window_rules.h"

#include <cstdlib>

namespace torvane::shell {

int BottomPanelHeight(int logHeight, bool logVisible) {
    return (logVisible ? logHeight : 0) + kFileTabsHeight + kStatusBarHeight + 2;
}

int LogHeightForPanel(int panelHeight) {
    return panelHeight - kFileTabsHeight - kStatusBarHeight - 2;
}

bool SplitterAccepts(int newPanelHeight) { return newPanelHeight >= kMinimumBottomPanel; }

int VisibleRows(int logHeight, int itemHeight) {
    return itemHeight > 0 ? logHeight / itemHeight : 0;
}

int TopLineAfterAppend(int count, int visible) { return count > visible ? count - visible : 0; }

int TopLineAfterScrollToEnd(int count, int visible) { return TopLineAfterAppend(count, visible); }

int WorkspacePageFromSetting(int tab) { return std::abs(tab); }

std::optional<int> TabPositionFromSetting(int position) {
    if (position >= 0 && position <= 3) return position;
    return std::nullopt;
}

}  // namespace torvane::shell
