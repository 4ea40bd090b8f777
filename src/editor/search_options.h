#pragma once

#include <string>
#include <string_view>
#include <vector>

// The options of a search inside an editor (one set of bits shared by every in-editor search,
// the last ones used being remembered) and the rules the find dialogs, Search Again and the quick
// find follow around the editor control's own search.
namespace torvane::editor {

namespace search_bits {
inline constexpr int kAtOnce = 0x08;  // search from the caret without the control's own dialog
inline constexpr int kCaseSensitive = 0x10;
inline constexpr int kRegularExpression = 0x20;
inline constexpr int kWholeWords = 0x40;
inline constexpr int kBackwards = 0x80;  // otherwise forwards
}  // namespace search_bits

// The check boxes and the direction of the find dialogs.
struct SearchOptionBoxes {
    bool wholeWords = false;
    bool caseSensitive = false;
    bool regularExpression = false;
    bool backwards = false;
};
int OptionsOfBoxes(const SearchOptionBoxes& boxes);
SearchOptionBoxes BoxesOfOptions(int options);

// The text a find dialog opens with: the editor's selection when it is not empty or when there
// is no last search text, otherwise the last search text.
std::string InitialSearchText(std::string_view selectedText, std::string_view lastSearchText);

// The rule that keeps a repeated search from finding the hit it stands on: whether the selection
// is that hit (compared exactly, or after lower-casing both). Regular expressions never skip.
bool SelectionIsTheHit(std::string_view selectedText, std::string_view searchText, bool caseSensitive);

// History lists of the drop-down edits: a text not yet in the list goes to the top, or, when
// the dialog opens with it, to the end.
void PutOnTopWhenMissing(std::vector<std::string>& list, const std::string& text);
void AppendWhenMissing(std::vector<std::string>& list, const std::string& text);

// The messages: "\"text\" not found" and the question before one replacement.
std::string NotFoundMessage(std::string_view text);
std::string ReplaceQuestion(std::string_view findText, std::string_view replacement);

}  // namespace torvane::editor
