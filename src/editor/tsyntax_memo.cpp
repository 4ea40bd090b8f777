#include "editor/tsyntax_memo.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QColor>
#include <QFont>
#include <QKeyEvent>
#include <algorithm>

#include "core/cp1252.h"
#include "editor/editor_rules.h"
#include "editor/lexers.h"

namespace torvane::editor {

TSyntaxMemo::TSyntaxMemo(QWidget* parent) : QsciScintilla(parent) {
    bookmarks_.fill(-1);
    setUtf8(true);
    QFont font(QStringLiteral("Monospace"), 10);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    setMarginsFont(QFont(QStringLiteral("Sans"), 8));
    setAutoIndent(true);
    setEdgeMode(QsciScintilla::EdgeLine);
    setEdgeColumn(80);
    setTabWidth(8);
    setIndentationWidth(1);
    setIndentationsUseTabs(true);
    // The indent step of 1 is for block indenting; the Tab key itself types a tab, as the
    // game's sources are indented with tabs.
    setTabIndents(false);
    setMarginWidth(0, 0);
    setMarginWidth(1, 18);
    setMarginSensitivity(1, true);
    setSelectionForegroundColor(Qt::white);
    setSelectionBackgroundColor(QColor(0, 0, 128));
    setCaretLineBackgroundColor(QColor(255, 255, 200));
    setCaretLineVisible(false);
    SendScintilla(SCI_SETHSCROLLBAR, 1);
    SendScintilla(SCI_SETVSCROLLBAR, 1);
    for (int n = 0; n < 10; ++n) markerDefine(QsciScintilla::Bookmark, n);
    // The lexers are shared by the editors of a kind; each editor asks for its own styling.
    connect(this, &QsciScintillaBase::SCN_STYLENEEDED, this, [this](int position) {
        if (auto* highlighter = qobject_cast<TorvaneLexer*>(lexer())) highlighter->StyleNeeded(*this, position);
    });
}

void TSyntaxMemo::LoadBytes(const std::string& bytes) {
    const std::string utf8 = core::Cp1252ToUtf8(bytes);
    const bool wasReadOnly = isReadOnly();
    setReadOnly(false);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(utf8.size()), utf8.data());
    switch (DetectLineEnd(bytes)) {
        case LineEnd::Lf: setEolMode(EolUnix); break;
        case LineEnd::Cr: setEolMode(EolMac); break;
        default: setEolMode(EolWindows); break;
    }
    setReadOnly(wasReadOnly);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    setModified(false);
    setCursorPosition(0, 0);
    bookmarks_.fill(-1);
}

std::string TSyntaxMemo::Bytes() const {
    const long length = SendScintilla(SCI_GETLENGTH);
    const auto* text = reinterpret_cast<const char*>(SendScintilla(SCI_GETCHARACTERPOINTER));
    return core::Utf8ToCp1252(std::string_view(text ? text : "", static_cast<std::size_t>(length)));
}

bool TSyntaxMemo::Overwrite() const { return SendScintilla(SCI_GETOVERTYPE) != 0; }

void TSyntaxMemo::SetShowFocusLine(bool show) { setCaretLineVisible(show); }

bool TSyntaxMemo::ShowFocusLine() const { return SendScintilla(SCI_GETCARETLINEVISIBLE) != 0; }

void TSyntaxMemo::SetBookmark(int number) {
    if (number < 0 || number > 9) return;
    if (bookmarks_[number] >= 0) markerDeleteHandle(bookmarks_[number]);
    int line = 0, index = 0;
    getCursorPosition(&line, &index);
    bookmarks_[number] = markerAdd(line, number);
}

bool TSyntaxMemo::HasBookmark(int number) const { return BookmarkLine(number) >= 0; }

int TSyntaxMemo::BookmarkLine(int number) const {
    if (number < 0 || number > 9 || bookmarks_[number] < 0) return -1;
    return const_cast<TSyntaxMemo*>(this)->markerLine(bookmarks_[number]);
}

bool TSyntaxMemo::GotoBookmark(int number) {
    const int line = BookmarkLine(number);
    if (line < 0) return false;
    setCursorPosition(line, 0);
    ensureLineVisible(line);
    return true;
}

std::uint32_t TSyntaxMemo::ByteOffsetOf(long position) const {
    return static_cast<std::uint32_t>(SendScintilla(SCI_COUNTCHARACTERS, 0L, position));
}

long TSyntaxMemo::PositionOfByteOffset(std::uint32_t offset) const {
    const long length = SendScintilla(SCI_GETLENGTH);
    const long position = SendScintilla(SCI_POSITIONRELATIVE, 0L, static_cast<long>(offset));
    // Past the end the control answers 0.
    return position == 0 && offset > 0 ? length : position;
}

std::uint32_t TSyntaxMemo::CaretByteOffset() const { return ByteOffsetOf(SendScintilla(SCI_GETCURRENTPOS)); }

void TSyntaxMemo::ShowPlace(int line, int column, int length) {
    const long lineCount = SendScintilla(SCI_GETLINECOUNT);
    const long docLine = std::clamp<long>(line - 1, 0, std::max(0L, lineCount - 1));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, docLine);
    const long lineEnd = SendScintilla(SCI_GETLINEENDPOSITION, docLine);
    long start = SendScintilla(SCI_POSITIONRELATIVE, lineStart, static_cast<long>(std::max(0, column - 1)));
    if (start == 0 && column > 1) start = lineEnd;
    start = std::min(start, lineEnd);
    long end = length > 0 ? SendScintilla(SCI_POSITIONRELATIVE, start, static_cast<long>(length)) : start;
    if (end == 0 || end > lineEnd) end = lineEnd;
    const long row = SendScintilla(SCI_VISIBLEFROMDOCLINE, docLine);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, std::max<long>(0, row - VisibleRows() / 2));
    SendScintilla(SCI_SETSEL, end, start);
}

int TSyntaxMemo::VisibleRows() const { return static_cast<int>(SendScintilla(SCI_LINESONSCREEN)); }

void TSyntaxMemo::GiveUpKeys(const std::vector<QKeySequence>& keys) {
    for (const Unbound& binding : unbound_) {
        if (binding.alternate) {
            binding.command->setAlternateKey(binding.key);
        } else {
            binding.command->setKey(binding.key);
        }
    }
    unbound_.clear();
    givenUp_.clear();
    for (const QKeySequence& key : keys) {
        if (!key.isEmpty()) givenUp_.insert(key[0].toCombined());
    }
    for (QsciCommand* command : standardCommands()->commands()) {
        if (command->key() != 0 && givenUp_.count(command->key())) {
            unbound_.push_back({command, false, command->key()});
            command->setKey(0);
        }
        if (command->alternateKey() != 0 && givenUp_.count(command->alternateKey())) {
            unbound_.push_back({command, true, command->alternateKey()});
            command->setAlternateKey(0);
        }
    }
}

bool TSyntaxMemo::GaveUp(QKeyCombination key) const { return givenUp_.count(key.toCombined()) != 0; }

QKeyCombination TSyntaxMemo::KeyOf(const QKeyEvent& event) {
    return QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, static_cast<Qt::Key>(event.key()));
}

bool TSyntaxMemo::event(QEvent* event) {
    // A key of the window's is not the control's to claim before the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride && GaveUp(KeyOf(*static_cast<QKeyEvent*>(event)))) {
        event->ignore();
        return true;
    }
    return QsciScintilla::event(event);
}

void TSyntaxMemo::keyPressEvent(QKeyEvent* event) {
    // Reaches here only when the command of the key is disabled: nothing happens.
    if (GaveUp(KeyOf(*event))) {
        event->accept();
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

}  // namespace torvane::editor
