#include "shell/main_window_rules.h"

#include <algorithm>
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

EditorPlacement NewEditorPlacement(int areaWidth, int areaHeight, int openBefore) {
    // Up to five places, one step apart, as long as the window keeps at least half the area.
    const int room = std::max(0, std::min(areaWidth, areaHeight)) / 2;
    const int places = 1 + std::min(kEditorCascadePlaces - 1, room / kEditorCascadeStep);
    const int offset = (std::max(0, openBefore) % places) * kEditorCascadeStep;
    EditorPlacement placement;
    placement.x = offset;
    placement.y = offset;
    placement.width = std::max(1, std::min(kDesignedEditorWidth, areaWidth - offset));
    placement.height = std::max(1, std::min(kDesignedEditorHeight, areaHeight - offset));
    return placement;
}

std::string CaptionText(std::string_view caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            text += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            text += '&';
            ++i;
        }
    }
    return text;
}

int WorkspacePageFromSetting(int tab) { return std::abs(tab); }

std::optional<int> TabPositionFromSetting(int position) {
    if (position >= 0 && position <= 3) return position;
    return std::nullopt;
}

}  // namespace torvane::shell
