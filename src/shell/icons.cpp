#include "shell/icons.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QString>

#include "core/text.h"

namespace torvane::shell {

namespace {

constexpr int kBundledSizes[] = {16, 24, 32, 48, 64, 128, 256};

QString BundledPath(int size, const QString& name) {
    return QStringLiteral(":/icons/%1/%2.png").arg(size).arg(name);
}

QIcon BundledIcon(const QString& name) {
    QIcon icon;
    for (int size : kBundledSizes) {
        const QString path = BundledPath(size, name);
        if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
    }
    return icon;
}

// The icon directories of the freedesktop data directories ($XDG_DATA_HOME, $XDG_DATA_DIRS),
// which Qt searches only where the platform names them.
void SearchTheDataDirectories() {
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString icons = data + QStringLiteral("/icons");
        if (!paths.contains(icons) && QFileInfo(icons).isDir()) paths << icons;
    }
    QIcon::setThemeSearchPaths(paths);
}

bool ThemeInstalled(const QString& name) {
    for (const QString& path : QIcon::themeSearchPaths()) {
        if (QFile::exists(path + QLatin1Char('/') + name + QStringLiteral("/index.theme"))) return true;
    }
    return false;
}

}  // namespace

void UseIconTheme() {
    static const QString kTheme = QStringLiteral("Tango");
    SearchTheDataDirectories();
    const QString desktop = QIcon::themeName();
    if (desktop.isEmpty() || desktop == QLatin1String("hicolor") || !ThemeInstalled(desktop)) {
        QIcon::setThemeName(kTheme);
    }
    QIcon::setFallbackThemeName(kTheme);
}

QIcon ThemeIcon(const char* name) {
    const QString themeName = QString::fromLatin1(name);
    if (QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
    return BundledIcon(themeName);
}

QIcon FileKindIcon(std::string_view path) {
    return ThemeIcon(core::EndsWithIgnoringCase(path, ".uc") ? "text-x-script" : "text-x-generic");
}

QIcon ProgramIcon() { return BundledIcon(QStringLiteral("torvane")); }

QByteArray ProgramIconPng(int size) {
    QFile file(BundledPath(size, QStringLiteral("torvane")));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace torvane::shell
