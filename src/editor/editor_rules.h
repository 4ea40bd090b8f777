#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// Rules of the editor windows that need no window: protected packages, the status panels, line
// ends, names of new files.
namespace torvane::editor {

// The packages that ship with the game; their sources open read-only.
bool IsProtectedPackage(std::string_view package);

struct EditorStatusInput {
    int line = 1;    // caret line, from 1
    int column = 1;  // caret column, from 1
    bool modified = false;
    bool readOnly = false;
    bool overwrite = false;
    std::string package;
    std::string caption;
};

// The four panels: caret position, "Modified", typing mode or "Read Only", file kind.
std::array<std::string, 4> EditorStatusPanels(const EditorStatusInput& input);

enum class LineEnd { CrLf, Lf, Cr };

// The line end a text uses most (CR LF for a text without any).
LineEnd DetectLineEnd(std::string_view text);

// "NONAME" + (open editors + 1).
std::string NewFileName(int openEditors);

// Package and class names kept by an editor are cut to 100 characters.
std::string CutTo100(std::string_view text);

// The bookmark number of a menu caption: its last character when it is a digit.
std::optional<int> BookmarkOfCaption(std::string_view caption);

// Go to line: the typed text as a line number when it is an integer from minimum to maximum
// (the standard conversion: blanks, a sign, "$" hex), else nothing and the warning below.
std::optional<int> LineNumberInRange(std::string_view text, int minimum, int maximum);
std::string LineRangeWarning(int minimum, int maximum);

}  // namespace torvane::editor
