#include "editor/tparser_repository.h"

#include <QFileInfo>
#include <QSettings>

#include "editor/lexers.h"

namespace torvane::editor {
namespace {

QString Prefix(const TorvaneLexer* lexer) {
    return QStringLiteral("Highlighting - ") + QString::fromLatin1(lexer->language());
}

}  // namespace

TParserRepository::TParserRepository(QString settingsFile, QObject* parent)
    : QObject(parent), settingsFile_(std::move(settingsFile)) {
    setObjectName(QStringLiteral("TParserRepository"));
    parsers_[UnrealScript] = new UnrealScriptLexer(this);
    parsers_[TextParser] = new TextLexer(this);
    parsers_[IniParser] = new IniLexer(this, false);
    parsers_[LogFileParser] = new IniLexer(this, true);
    QSettings settings(settingsFile_, QSettings::IniFormat);
    for (TorvaneLexer* lexer : parsers_) lexer->readSettings(settings, Prefix(lexer).toLatin1().constData());
}

TorvaneLexer* TParserRepository::ParserForFile(const QString& path) const {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("uc")) return parsers_[UnrealScript];
    if (suffix == QLatin1String("ini") || suffix == QLatin1String("int")) return parsers_[IniParser];
    if (suffix == QLatin1String("log")) return parsers_[LogFileParser];
    return parsers_[TextParser];
}

void TParserRepository::SaveSettings(Parser which) {
    QSettings settings(settingsFile_, QSettings::IniFormat);
    parsers_[which]->writeSettings(settings, Prefix(parsers_[which]).toLatin1().constData());
}

void TParserRepository::LoadDefaults(Parser which) {
    parsers_[which]->LoadDefaults();
}

}  // namespace torvane::editor
