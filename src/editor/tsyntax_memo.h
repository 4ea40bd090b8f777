#pragma once

#include <Qsci/qsciscintilla.h>

#include <QKeySequence>
#include <array>
#include <string>
#include <vector>

// The syntax editor control: QScintilla set up as the editor windows need it. Text goes in and
// out as 8-bit (Windows-1252) bytes, exactly as the file holds them: line ends are kept as
// loaded, and new lines take the file's own line end.
namespace torvane::editor {

class TSyntaxMemo final : public QsciScintilla {
    Q_OBJECT

public:
    explicit TSyntaxMemo(QWidget* parent = nullptr);

    // Replaces the text with the file's bytes; clears the modified flag and the undo history.
    void LoadBytes(const std::string& bytes);
    std::string Bytes() const;

    bool Overwrite() const;
    void SetShowFocusLine(bool show);
    bool ShowFocusLine() const;

    // Bookmarks 0-9 at a line (markers in the gutter).
    void SetBookmark(int number);
    bool HasBookmark(int number) const;
    int BookmarkLine(int number) const;  // -1 when not set
    bool GotoBookmark(int number);

    // Rows on screen: the client height over the line height.
    int VisibleRows() const;

    // Unbinds these keys from the control's own key map (so that they reach the window's actions).
    void GiveUpKeys(const std::vector<QKeySequence>& keys);

private:
    std::array<int, 10> bookmarks_{};  // marker handles, -1 when not set
};

}  // namespace torvane::editor
