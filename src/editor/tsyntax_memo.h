#pragma once

#include <Qsci/qsciscintilla.h>

#include <QKeySequence>
#include <array>
#include <cstdint>
#include <set>
#include <optional>
#include <string>
#include <vector>

class QsciCommand;

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

    // Places in the text as the file's bytes count them (one byte per character), which is how
    // the code intelligence counts; the control itself counts UTF-8 bytes.
    std::uint32_t ByteOffsetOf(long position) const;
    long PositionOfByteOffset(std::uint32_t offset) const;
    std::uint32_t CaretByteOffset() const;
    // Puts the caret at line and column (from 1, a column per character), selects length
    // characters from there and scrolls the line into the middle of the view.
    void ShowPlace(int line, int column, int length = 0);

    // Rows on screen: the client height over the line height.
    int VisibleRows() const;
    // Go to line: the caret at the start of the line (from 1), nothing selected, and the line in
    // the middle of the window.
    void GotoLineCentred(int line);
    // The lines of the text as a list of lines counts them: the empty line after a last line end
    // is not one ("a\r\nb\r\n" has two lines, "a\r\nb" too, an empty text none).
    int LineCount() const;

    // --- searching, with the option bits of editor/search_options.h ---
    // Positions are the control's (bytes of its UTF-8 text).
    struct Match {
        long start = 0;
        long end = 0;
    };
    // Forwards: the first match that starts at or after from; backwards: the last match that
    // ends at or before from. Case sensitive (0x10) or not, whole words (0x40), regular
    // expressions (0x20: ECMAScript, as C++'s std::regex reads them; "." never matches a line
    // end). The text of an empty search is never found.
    std::optional<Match> Search(const QString& text, int options, long from);
    // Selects the match (anchor at its start, caret at its end) and scrolls it into view.
    void SelectMatch(const Match& match);
    // The replacement for the last match Search found: for a regular expression \0 to \9 stand
    // for the match and its groups and \\ for a backslash; any other text stays as it is.
    QString Replacement(const QString& replacement, int options);
    // Replaces the selection; the caret goes after the new text.
    void ReplaceSelection(const QString& text);
    long SelectionStartPosition() const;
    long SelectionEndPosition() const;
    long CaretPosition() const;
    long TextLength() const;
    long PositionAfter(long position) const;
    void SetSelectionPositions(long anchor, long caret);

    // The keys of the window's commands: they are unbound from the control's own key map, so
    // they reach the commands, and a press of one never edits the text, also while its command
    // is disabled. Each call replaces the keys of the call before (those get their binding back).
    void GiveUpKeys(const std::vector<QKeySequence>& keys);
    bool GaveUp(QKeyCombination key) const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Unbound {
        QsciCommand* command;
        bool alternate;
        int key;
    };
    static QKeyCombination KeyOf(const QKeyEvent& event);

    std::array<int, 10> bookmarks_{};  // marker handles, -1 when not set
    std::set<int> givenUp_;             // combined keys
    std::vector<Unbound> unbound_;      // the control's bindings taken away, to give back
};

}  // namespace torvane::editor
