#pragma once

#include <QObject>
#include <QString>
#include <array>

namespace torvane::editor {

class TorvaneLexer;

// The four highlighting parsers, shared by every editor. Their colours and fonts are kept in an
// INI file beside the settings file ("Highlighting - <language>" groups).
class TParserRepository final : public QObject {
    Q_OBJECT

public:
    enum Parser { UnrealScript = 0, TextParser = 1, IniParser = 2, LogFileParser = 3 };

    explicit TParserRepository(QString settingsFile, QObject* parent = nullptr);

    TorvaneLexer* parser(Parser which) const { return parsers_[which]; }
    // The parser for a file name by its extension: .uc, .ini/.int, .log, anything else.
    TorvaneLexer* ParserForFile(const QString& path) const;

    void SaveSettings(Parser which);
    // Back to the built-in colours and fonts, applied to every editor; nothing is stored.
    void LoadDefaults(Parser which);

private:
    QString settingsFile_;
    std::array<TorvaneLexer*, 4> parsers_{};
};

}  // namespace torvane::editor
