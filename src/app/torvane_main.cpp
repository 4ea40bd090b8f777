// Torvane, the UnrealScript IDE.
#include <QApplication>
#include <QCommandLineParser>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Torvane");
    QApplication::setApplicationVersion("4.0");

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption gameRoot("game-root", "Game root to use.", "directory");
    parser.addOption(gameRoot);
    parser.addPositionalArgument("files", "Files to open.", "[files...]");
    parser.process(app);

    QMainWindow window;
    window.setWindowTitle("Torvane 4.0");
    window.setCentralWidget(new QMdiArea(&window));
    window.resize(1024, 768);
    window.show();
    return QApplication::exec();
}
