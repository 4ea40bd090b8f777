#pragma once

#include <QString>

// The steps every search inside an editor takes on the control: the find and replace dialogs,
// Search Again and the quick find.
namespace torvane::editor {

class TSyntaxMemo;

// The rule that keeps a repeated search off the hit it stands on: unless the options ask for a
// regular expression, a selection that is the search text (compared with case or not) has its
// start moved one character on. Returns where the search starts: the selection's start, or for
// a backward search the start it had before (a backward search never finds the hit it stands on).
long SearchStartAfterSkip(TSyntaxMemo& memo, const QString& text, int options, bool compareWithCase);

// Searches with the options (0x08 added) from a position and selects the hit; false when there
// is none.
bool FindAndSelect(TSyntaxMemo& memo, const QString& text, int options, long from);

}  // namespace torvane::editor
