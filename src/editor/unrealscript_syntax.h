#pragma once

#include <string_view>
#include <vector>

// Token kinds of UnrealScript for highlighting, scanned line by line with a carried state.
namespace torvane::editor {

enum UnrealScriptStyle {
    kUsDefault = 0,
    kUsComment = 1,
    kUsKeyword = 2,
    kUsString = 3,
    kUsName = 4,
    kUsNumber = 5,
    kUsDirective = 6,     // #exec lines
    kUsDefaultProps = 7,  // the defaultproperties block
    kUsStyleCount = 8,
};

// State carried from one line to the next.
enum UnrealScriptLineState { kInCode = 0, kInBlockComment = 1, kInDefaultProps = 2 };

struct StyledRun {
    std::size_t length;
    int style;
};

bool IsUnrealScriptKeyword(std::string_view word);  // without regard to case

// Styles one line (without its line end) starting in state; returns the runs and sets state to
// the state at the line's end.
std::vector<StyledRun> StyleUnrealScriptLine(std::string_view line, int& state);

}  // namespace torvane::editor
