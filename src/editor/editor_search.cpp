#include "editor/editor_search.h"

#include "editor/search_options.h"
#include "editor/tsyntax_memo.h"
#include "widgets/text_codec.h"

namespace torvane::editor {

long SearchStartAfterSkip(TSyntaxMemo& memo, const QString& text, int options, bool compareWithCase) {
    const long start = memo.SelectionStartPosition();
    if (!(options & search_bits::kRegularExpression) &&
        SelectionIsTheHit(widgets::FromQString(memo.selectedText()), widgets::FromQString(text), compareWithCase)) {
        memo.SetSelectionPositions(memo.PositionAfter(start), memo.SelectionEndPosition());
    }
    return (options & search_bits::kBackwards) ? start : memo.SelectionStartPosition();
}

bool FindAndSelect(TSyntaxMemo& memo, const QString& text, int options, long from) {
    const auto match = memo.Search(text, options | search_bits::kAtOnce, from);
    if (!match) return false;
    memo.SelectMatch(*match);
    return true;
}

}  // namespace torvane::editor
