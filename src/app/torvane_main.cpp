// Torvane, the UnrealScript IDE. Every command-line argument is a file to open; "--game-root"
// names the game for this run (written to the settings as the game path); "--startup-time"
// starts the IDE (offscreen unless a platform is chosen), prints the milliseconds from the
// process start until the class trees are filled and the main window is shown, and quits.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/process_clock.h"
#include "shell/app_windows.h"
#include "shell/icons.h"
#include "shell/preferences.h"
#include "shell/program_paths.h"
#include "shell/settings_file.h"
#include "shell/tmain.h"

namespace {

bool HasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], wanted) == 0) return true;
    }
    return false;
}

void ReportStartupTime() {
    if (const auto ms = torvane::platform::MillisecondsSinceProcessStart()) {
        std::printf("Start-up: %.0f ms\n", *ms);
    } else {
        std::printf("Start-up: unknown (the system does not give the process start time)\n");
    }
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    const bool startupTime = HasArgument(argc, argv, "--startup-time");
    if (startupTime) ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
    QApplication app(argc, argv);
    // The application's name only: a display name would be added to every window title, and
    // the main window's title names the product already.
    QApplication::setApplicationName(QStringLiteral("Torvane"));
    QApplication::setWindowIcon(torvane::shell::ProgramIcon());

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
        if (arguments[i] == QLatin1String("--startup-time")) continue;
        options.arguments.push_back(QDir(arguments[i]).absolutePath().toStdString());
    }
    if (startupTime) options.startupFinished = ReportStartupTime;
    // The program's own files resolve in its directory.
    QDir::setCurrent(QString::fromStdString(options.paths.dataDirectory));
    torvane::shell::AppWindows windows(std::move(options));
    windows.main().show();
    return QApplication::exec();
}
