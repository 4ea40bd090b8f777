// Torvane, the UnrealScript IDE. Every command-line argument is a file to open; "--game-root"
// names the game for this run (written to the settings as the game path).
#include <QApplication>
#include <QDir>
#include <string>
#include <vector>

#include "shell/app_windows.h"
#include "shell/preferences.h"
#include "shell/program_paths.h"
#include "shell/settings_file.h"
#include "shell/tmain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Torvane"));

    torvane::shell::TMainOptions options;
    options.paths = torvane::shell::ResolveProgramPaths(
        QCoreApplication::applicationFilePath().toStdString());
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--game-root") && i + 1 < arguments.size()) {
            // The sample game tree of the README: use it as the game path.
            torvane::shell::SettingsFile settings(options.paths.File("Torvane.ini"));
            settings.WriteIniString("Preferences", "UTPath",
                                    QDir(arguments[++i]).absolutePath().toStdString());
            continue;
        }
        options.arguments.push_back(QDir(arguments[i]).absolutePath().toStdString());
    }
    // The program's own files resolve in its directory.
    QDir::setCurrent(QString::fromStdString(options.paths.dataDirectory));
    torvane::shell::AppWindows windows(std::move(options));
    windows.main().show();
    return QApplication::exec();
}
