#include "editor/lexers.h"

#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QFont>

#include "editor/ini_custom_parse.h"
#include "editor/unrealscript_syntax.h"

namespace torvane::editor {
namespace {

QFont EditorFont(bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("Monospace"), 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// The text of the document between two positions, as bytes.
QByteArray TextRange(QsciScintilla& editor, int start, int end) {
    QByteArray bytes(end - start + 1, '\0');
    editor.SendScintilla(QsciScintilla::SCI_GETTEXTRANGE, start, end, bytes.data());
    bytes.resize(end - start);
    return bytes;
}

// Widens a range to whole lines; returns the first line.
int WidenToLines(QsciScintilla& editor, int& start, int& end) {
    const int firstLine = static_cast<int>(editor.SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, start));
    const int lastLine = static_cast<int>(editor.SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, end));
    start = static_cast<int>(editor.SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, firstLine));
    end = static_cast<int>(editor.SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, lastLine));
    return firstLine;
}

// Styles runs of an editor's text one after the other from a start position.
class StyleWriter final {
public:
    StyleWriter(QsciScintilla& editor, int start) : editor_(editor) {
        editor_.SendScintilla(QsciScintilla::SCI_STARTSTYLING, start);
    }
    void Run(int length, int style) {
        if (length > 0) editor_.SendScintilla(QsciScintilla::SCI_SETSTYLING, length, style);
    }

private:
    QsciScintilla& editor_;
};

}  // namespace

// --- styling per editor ----------------------------------------------------------------------

void TorvaneLexer::StyleNeeded(QsciScintilla& editor, int pos) {
    const long styled = editor.SendScintilla(QsciScintilla::SCI_GETENDSTYLED);
    const long line = editor.SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, styled);
    const int start = static_cast<int>(editor.SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line));
    if (start < pos) Style(editor, start, pos);
}

void TorvaneLexer::styleText(int start, int end) {
    if (QsciScintilla* ed = editor()) Style(*ed, start, end);
}

void TorvaneLexer::setEditor(QsciScintilla* editor) {
    // Not QsciLexerCustom's: it would connect only the last editor's notification.
    QsciLexer::setEditor(editor);  // NOLINT(bugprone-parent-virtual-call)
}

// --- UnrealScript ----------------------------------------------------------------------------

UnrealScriptLexer::UnrealScriptLexer(QObject* parent) : TorvaneLexer(parent) { LoadDefaults(); }

int UnrealScriptLexer::StyleCount() const { return kUsStyleCount; }

QString UnrealScriptLexer::description(int style) const {
    switch (style) {
        case kUsDefault: return QStringLiteral("Default");
        case kUsComment: return QStringLiteral("Comment");
        case kUsKeyword: return QStringLiteral("Keyword");
        case kUsString: return QStringLiteral("String");
        case kUsName: return QStringLiteral("Name");
        case kUsNumber: return QStringLiteral("Number");
        case kUsDirective: return QStringLiteral("#exec directive");
        case kUsDefaultProps: return QStringLiteral("Default properties");
        default: return {};
    }
}

void UnrealScriptLexer::LoadDefaults() {
    setDefaultPaper(Qt::white);
    setPaper(Qt::white, -1);
    const std::pair<int, QColor> colours[] = {
        {kUsDefault, Qt::black}, {kUsComment, QColor(0, 128, 0)}, {kUsKeyword, QColor(0, 0, 160)},
        {kUsString, QColor(160, 0, 0)}, {kUsName, QColor(128, 0, 128)},
        {kUsNumber, QColor(0, 128, 128)}, {kUsDirective, QColor(128, 64, 0)},
        {kUsDefaultProps, QColor(64, 64, 64)}};
    for (const auto& [style, colour] : colours) {
        setColor(colour, style);
        setPaper(Qt::white, style);
        setFont(EditorFont(style == kUsKeyword, style == kUsComment), style);
    }
}

void UnrealScriptLexer::Style(QsciScintilla& ed, int start, int end) {
    if (start >= end) return;
    int line = WidenToLines(ed, start, end);
    int state = line > 0 ? static_cast<int>(ed.SendScintilla(QsciScintilla::SCI_GETLINESTATE, line - 1)) : 0;
    const QByteArray text = TextRange(ed, start, end);
    StyleWriter out(ed, start);
    int offset = 0;
    while (offset <= text.size()) {
        int lineEnd = text.indexOf('\n', offset);
        if (lineEnd < 0) lineEnd = text.size();
        int contentEnd = lineEnd;
        if (contentEnd > offset && text[contentEnd - 1] == '\r') --contentEnd;
        const auto runs = StyleUnrealScriptLine(
            std::string_view(text.constData() + offset, static_cast<std::size_t>(contentEnd - offset)), state);
        for (const auto& run : runs) out.Run(static_cast<int>(run.length), run.style);
        out.Run(lineEnd - contentEnd + (lineEnd < text.size() ? 1 : 0), kUsDefault);
        ed.SendScintilla(QsciScintilla::SCI_SETLINESTATE, line, state);
        ++line;
        if (lineEnd >= text.size()) break;
        offset = lineEnd + 1;
    }
}

// --- INI and log files -----------------------------------------------------------------------

IniLexer::IniLexer(QObject* parent, bool logFile) : TorvaneLexer(parent), logFile_(logFile) {
    LoadDefaults();
}

QString IniLexer::description(int style) const {
    switch (style) {
        case Default: return QStringLiteral("Default");
        case Section: return QStringLiteral("Section");
        case Comment: return QStringLiteral("Comment");
        case Key: return QStringLiteral("Key");
        case Value: return QStringLiteral("Value");
        case Error: return QStringLiteral("Error");
        case Warning: return QStringLiteral("Warning");
        case PlainLine: return QStringLiteral("Line without value");
        default: return {};
    }
}

void IniLexer::LoadDefaults() {
    const std::pair<int, QColor> colours[] = {
        {Default, Qt::black}, {Section, QColor(0, 0, 160)}, {Comment, QColor(0, 128, 0)},
        {Key, QColor(128, 0, 0)}, {Value, Qt::black}, {Error, QColor(200, 0, 0)},
        {Warning, QColor(180, 100, 0)}, {PlainLine, QColor(64, 64, 64)}};
    for (const auto& [style, colour] : colours) {
        setColor(colour, style);
        setPaper(Qt::white, style);
        setFont(EditorFont(style == Section || style == Error), style);
    }
}

void IniLexer::Style(QsciScintilla& ed, int start, int end) {
    if (start >= end) return;
    WidenToLines(ed, start, end);
    const QByteArray text = TextRange(ed, start, end);
    StyleWriter out(ed, start);
    int offset = 0;
    while (offset < text.size()) {
        int lineEnd = text.indexOf('\n', offset);
        if (lineEnd < 0) lineEnd = text.size();
        const std::string_view line(text.constData() + offset, static_cast<std::size_t>(lineEnd - offset));
        const std::string_view trimmed = line.substr(std::min(line.find_first_not_of(" \t"), line.size()));
        const int length = lineEnd - offset + (lineEnd < text.size() ? 1 : 0);
        if (logFile_ && (line.find(": Error,") != std::string_view::npos ||
                         line.find("Error:") != std::string_view::npos)) {
            out.Run(length, Error);
        } else if (logFile_ && (line.find(": ExecWarning,") != std::string_view::npos ||
                                line.find("Warning:") != std::string_view::npos)) {
            out.Run(length, Warning);
        } else if (!trimmed.empty() && trimmed[0] == '[') {
            out.Run(length, Section);
        } else if (!trimmed.empty() && trimmed[0] == ';') {
            out.Run(length, Comment);
        } else {
            const std::string_view rest(text.constData() + offset, static_cast<std::size_t>(text.size() - offset));
            const IniParseResult parsed = IniCustomParse(1, rest, 0, 0);
            if (parsed.kind == kIniKindKey) {
                out.Run(static_cast<int>(parsed.position), Key);
                out.Run(length - static_cast<int>(parsed.position), Value);
            } else if (parsed.kind == kIniKindPlainLine) {
                out.Run(length, PlainLine);
            } else {
                out.Run(length, Default);
            }
        }
        offset = lineEnd + 1;
    }
}

// --- plain text ------------------------------------------------------------------------------

TextLexer::TextLexer(QObject* parent) : TorvaneLexer(parent) { LoadDefaults(); }

void TextLexer::LoadDefaults() {
    setColor(Qt::black, 0);
    setPaper(Qt::white, 0);
    setFont(EditorFont(), 0);
}

void TextLexer::Style(QsciScintilla& ed, int start, int end) {
    StyleWriter(ed, start).Run(end - start, 0);
}

}  // namespace torvane::editor
