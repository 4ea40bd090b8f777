#pragma once

#include <Qsci/qscilexercustom.h>

// The four highlighting parsers of the editor control: UnrealScript, INI files, plain text and
// log files. Their colours and fonts are the editor's own settings (TParserRepository).
namespace torvane::editor {

// One lexer of a kind serves every editor of that kind (its colours and fonts are shared), so it
// styles the editor that asks: each editor hands its own "style needed" notification to
// StyleNeeded, which styles from the last styled line up to the position the editor needs.
class TorvaneLexer : public QsciLexerCustom {
    Q_OBJECT

public:
    using QsciLexerCustom::QsciLexerCustom;
    // Back to the built-in colours and fonts.
    virtual void LoadDefaults() = 0;
    // The names of the token kinds that have a style, in style order.
    virtual int StyleCount() const = 0;

    // Styles editor's text from the start of its first unstyled line up to pos.
    void StyleNeeded(QsciScintilla& editor, int pos);
    // Styles [start, end) of the editor the lexer was last set on.
    void styleText(int start, int end) override;
    // Keeps the link to the editor for the settings; the styling is asked for per editor.
    void setEditor(QsciScintilla* editor) override;

protected:
    // Styles [start, end) of editor's text; start is at the start of a line.
    virtual void Style(QsciScintilla& editor, int start, int end) = 0;
};

class UnrealScriptLexer final : public TorvaneLexer {
    Q_OBJECT

public:
    explicit UnrealScriptLexer(QObject* parent = nullptr);
    const char* language() const override { return "UnrealScript"; }
    QString description(int style) const override;
    void LoadDefaults() override;
    int StyleCount() const override;
    bool caseSensitive() const override { return false; }

protected:
    void Style(QsciScintilla& editor, int start, int end) override;
};

// INI and log files share the key/value tokenizing; the log lexer marks errors and warnings.
class IniLexer : public TorvaneLexer {
    Q_OBJECT

public:
    enum Style { Default = 0, Section = 1, Comment = 2, Key = 3, Value = 4, Error = 5, Warning = 6,
                 PlainLine = 8 };
    explicit IniLexer(QObject* parent = nullptr, bool logFile = false);
    const char* language() const override { return logFile_ ? "LogFile" : "IniFile"; }
    QString description(int style) const override;
    void LoadDefaults() override;
    int StyleCount() const override { return 9; }

protected:
    void Style(QsciScintilla& editor, int start, int end) override;

private:
    bool logFile_;
};

class TextLexer final : public TorvaneLexer {
    Q_OBJECT

public:
    explicit TextLexer(QObject* parent = nullptr);
    const char* language() const override { return "PlainText"; }
    QString description(int style) const override { return style == 0 ? "Text" : QString(); }
    void LoadDefaults() override;
    int StyleCount() const override { return 1; }

protected:
    void Style(QsciScintilla& editor, int start, int end) override;
};

}  // namespace torvane::editor
