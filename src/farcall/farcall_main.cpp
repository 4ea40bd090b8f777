// Farcall: starts or stops a game server when a datagram says so.
#include <QApplication>

#include "farcall/farcall_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Farcall"));
    QApplication::setApplicationDisplayName(
        QStringLiteral("Farcall - Torvane UDP Server Control Panel"));
    torvane::farcall::TMain window;
    window.show();
    return QApplication::exec();
}
