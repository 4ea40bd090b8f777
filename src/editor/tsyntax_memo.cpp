#include "editor/tsyntax_memo.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QColor>
#include <algorithm>
#include <QFont>
#include <QKeyEvent>
#include <algorithm>

#include "core/cp1252.h"
#include "editor/editor_rules.h"
#include "editor/lexers.h"
#include "editor/search_options.h"

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

int TSyntaxMemo::LineCount() const {
    const int lines = static_cast<int>(SendScintilla(SCI_GETLINECOUNT));
    const long lastLineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<long>(lines - 1));
    return lastLineStart == TextLength() ? lines - 1 : lines;
}

void TSyntaxMemo::GotoLineCentred(int line) {
    const long docLine = std::max(0, line - 1);
    const long row = SendScintilla(SCI_VISIBLEFROMDOCLINE, docLine);  // from 0
    const long start = SendScintilla(SCI_POSITIONFROMLINE, docLine);
    SetSelectionPositions(start, start);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, std::max<long>(0, row - VisibleRows() / 2));
}

// --- searching ---------------------------------------------------------------------------------

namespace {

// Lower-cases every letter of UTF-8 text whose lower case has as many bytes, so positions in
// the result are positions in the text.
std::string LowerCaseUtf8(std::string_view text) {
    std::string lower(text);
    for (std::size_t i = 0; i < lower.size(); ++i) {
        const auto byte = static_cast<unsigned char>(lower[i]);
        if (byte < 0x80) {
            if (byte >= 'A' && byte <= 'Z') lower[i] = static_cast<char>(byte + ('a' - 'A'));
            continue;
        }
        if ((byte & 0xE0) != 0xC0 || i + 1 >= lower.size()) continue;  // only two-byte characters change
        const auto next = static_cast<unsigned char>(lower[i + 1]);
        if ((next & 0xC0) != 0x80) continue;
        const char32_t letter = QChar::toLower(static_cast<char32_t>(((byte & 0x1F) << 6) | (next & 0x3F)));
        if (letter >= 0x80 && letter < 0x800) {
            lower[i] = static_cast<char>(0xC0 | (letter >> 6));
            lower[i + 1] = static_cast<char>(0x80 | (letter & 0x3F));
        }
        ++i;
    }
    return lower;
}

bool IsWordByte(int byte) {
    const unsigned char c = static_cast<unsigned char>(byte);
    return c == '_' || c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

long TSyntaxMemo::SelectionStartPosition() const { return SendScintilla(SCI_GETSELECTIONSTART); }
long TSyntaxMemo::SelectionEndPosition() const { return SendScintilla(SCI_GETSELECTIONEND); }
long TSyntaxMemo::CaretPosition() const { return SendScintilla(SCI_GETCURRENTPOS); }
long TSyntaxMemo::TextLength() const { return SendScintilla(SCI_GETLENGTH); }
long TSyntaxMemo::PositionAfter(long position) const { return SendScintilla(SCI_POSITIONAFTER, position); }

void TSyntaxMemo::SetSelectionPositions(long anchor, long caret) { SendScintilla(SCI_SETSEL, anchor, caret); }

std::optional<TSyntaxMemo::Match> TSyntaxMemo::Search(const QString& text, int options, long from) {
    if (text.isEmpty()) return std::nullopt;
    const QByteArray pattern = text.toUtf8();
    const bool regex = (options & search_bits::kRegularExpression) != 0;
    const bool wholeWords = (options & search_bits::kWholeWords) != 0;
    const bool caseSensitive = (options & search_bits::kCaseSensitive) != 0;
    int flags = 0;
    if (caseSensitive) flags |= SCFIND_MATCHCASE;
    if (regex) flags |= SCFIND_REGEXP | SCFIND_CXX11REGEX;
    SendScintilla(SCI_SETSEARCHFLAGS, flags);
    const long length = TextLength();
    from = std::clamp(from, 0L, length);
    // The control folds the letter case of ASCII only: a pattern with other letters is searched
    // here, in the text with every letter lower-cased (each keeps its length in UTF-8).
    const bool foldHere = !regex && !caseSensitive &&
                          std::any_of(pattern.begin(), pattern.end(), [](char c) { return (c & 0x80) != 0; });
    std::string folded;
    std::string foldedPattern;
    if (foldHere) {
        const char* characters = reinterpret_cast<const char*>(SendScintilla(SCI_GETCHARACTERPOINTER));
        folded = LowerCaseUtf8(std::string_view(characters, static_cast<std::size_t>(length)));
        foldedPattern = LowerCaseUtf8(std::string_view(pattern.constData(), static_cast<std::size_t>(pattern.size())));
    }
    // The first match in [start, end], the target set to it.
    auto search = [&](long start, long end) -> std::optional<Match> {
        if (foldHere) {
            const std::size_t found = folded.find(foldedPattern, static_cast<std::size_t>(start));
            if (found == std::string::npos || static_cast<long>(found + foldedPattern.size()) > end) return std::nullopt;
            const Match match{static_cast<long>(found), static_cast<long>(found + foldedPattern.size())};
            SendScintilla(SCI_SETTARGETRANGE, match.start, match.end);
            return match;
        }
        SendScintilla(SCI_SETTARGETRANGE, start, end);
        const long found = SendScintilla(SCI_SEARCHINTARGET, static_cast<unsigned long>(pattern.size()),
                                         pattern.constData());
        if (found < 0) return std::nullopt;
        return Match{found, SendScintilla(SCI_GETTARGETEND)};
    };
    // The first match in [start, end] that stands as a whole word when the options ask for one.
    auto first = [&](long start, long end) -> std::optional<Match> {
        while (start <= end) {
            const auto match = search(start, end);
            if (!match) return std::nullopt;
            const bool wordBefore = match->start > 0 && IsWordByte(SendScintilla(SCI_GETCHARAT, match->start - 1));
            const bool wordAfter = match->end < length && IsWordByte(SendScintilla(SCI_GETCHARAT, match->end));
            if (!wholeWords || (!wordBefore && !wordAfter)) return match;
            start = PositionAfter(match->start);
            if (start == match->start) return std::nullopt;  // at the end of the text
        }
        return std::nullopt;
    };
    if (!(options & search_bits::kBackwards)) return first(from, length);
    // Backwards: the last match inside [0, from], then searched once more so that a regular
    // expression's groups are those of this match.
    std::optional<Match> last;
    long start = 0;
    while (const auto match = first(start, from)) {
        last = match;
        const long next = PositionAfter(match->start);
        if (next == match->start) break;
        start = next;
    }
    if (last) first(last->start, from);
    return last;
}

void TSyntaxMemo::SelectMatch(const Match& match) {
    SetSelectionPositions(match.start, match.end);
    SendScintilla(SCI_SCROLLRANGE, match.end, match.start);
}

QString TSyntaxMemo::Replacement(const QString& replacement, int options) {
    if (!(options & search_bits::kRegularExpression)) return replacement;
    QByteArray result;
    const QByteArray text = replacement.toUtf8();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '0') {  // the whole match
            ++i;
            const long start = SendScintilla(SCI_GETTARGETSTART);
            const long end = SendScintilla(SCI_GETTARGETEND);
            QByteArray whole(end - start + 1, '\0');
            SendScintilla(SCI_GETTEXTRANGE, start, end, whole.data());
            result.append(whole.constData(), end - start);
        } else if (c == '\\' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const int group = text[++i] - '0';
            const long size = SendScintilla(SCI_GETTAG, group, static_cast<const char*>(nullptr));
            if (size > 0) {
                QByteArray tag(size + 1, '\0');
                SendScintilla(SCI_GETTAG, group, tag.data());
                result.append(tag.constData(), size);
            }
        } else if (c == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            result.append('\\');
            ++i;
        } else {
            result.append(c);
        }
    }
    return QString::fromUtf8(result);
}

void TSyntaxMemo::ReplaceSelection(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    SendScintilla(SCI_TARGETFROMSELECTION);
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.constData());
    const long end = SendScintilla(SCI_GETTARGETEND);
    SetSelectionPositions(end, end);
}

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
