#include "editor/search_options.h"

#include <algorithm>

#include "core/text.h"

namespace torvane::editor {

int OptionsOfBoxes(const SearchOptionBoxes& boxes) {
    int options = 0;
    if (boxes.caseSensitive) options |= search_bits::kCaseSensitive;
    if (boxes.wholeWords) options |= search_bits::kWholeWords;
    if (boxes.regularExpression) options |= search_bits::kRegularExpression;
    if (boxes.backwards) options |= search_bits::kBackwards;
    return options;
}

SearchOptionBoxes BoxesOfOptions(int options) {
    SearchOptionBoxes boxes;
    boxes.wholeWords = (options & search_bits::kWholeWords) != 0;
    boxes.caseSensitive = (options & search_bits::kCaseSensitive) != 0;
    boxes.regularExpression = (options & search_bits::kRegularExpression) != 0;
    boxes.backwards = (options & search_bits::kBackwards) != 0;
    return boxes;
}

std::string InitialSearchText(std::string_view selectedText, std::string_view lastSearchText) {
    if (!selectedText.empty() || lastSearchText.empty()) return std::string(selectedText);
    return std::string(lastSearchText);
}

bool SelectionIsTheHit(std::string_view selectedText, std::string_view searchText, bool caseSensitive) {
    if (selectedText.empty()) return false;
    if (caseSensitive) return selectedText == searchText;
    return core::LowerCase(selectedText) == core::LowerCase(searchText);
}

void PutOnTopWhenMissing(std::vector<std::string>& list, const std::string& text) {
    if (std::find(list.begin(), list.end(), text) == list.end()) list.insert(list.begin(), text);
}

void AppendWhenMissing(std::vector<std::string>& list, const std::string& text) {
    if (std::find(list.begin(), list.end(), text) == list.end()) list.push_back(text);
}

std::string NotFoundMessage(std::string_view text) { return "\"" + std::string(text) + "\" not found"; }

std::string ReplaceQuestion(std::string_view findText, std::string_view replacement) {
    return "Replace this instance of \"" + std::string(findText) + "\" with \"" + std::string(replacement) +
           "\" ?";
}

}  // namespace torvane::editor
