// Typing in the largest class of the fixture game (Botpack's Bot.uc, 7,586 lines): each key press
// goes through the editor control and its highlighter and is painted before the next one.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <filesystem>
#include <optional>
#include <string>

#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "shell/tmain.h"
#include "window_bench_support.h"

namespace {

namespace shell = torvane::shell;
using torvane::bench::ProgramDirectory;

void Press(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// One iteration: a letter typed in the middle of the class and painted, then taken back with
// Backspace and painted, so that every iteration edits the same text.
void BM_TypeInA7000LineClass(benchmark::State& state) {
    const std::string game = std::string(TORVANE_FIXTURES_DIR) + "/ut99";
    shell::TMainOptions options;
    options.paths = {ProgramDirectory(), ProgramDirectory()};
    options.chooseGameFolder = [game] { return std::optional<std::string>(game); };
    shell::TMain main(std::move(options));
    main.Timer1Timer();
    main.show();
    torvane::editor::TEditor* editor = main.OpenSourceFile(game + "/Botpack/Classes/Bot.uc", "", "");
    // (opened without its package: the game's own packages open read-only)
    torvane::editor::TSyntaxMemo* memo = editor->Memo1();
    memo->setFocus();
    const int lines = memo->lines();
    memo->setCursorPosition(lines / 2, 0);
    memo->ensureLineVisible(lines / 2);
    QApplication::processEvents();
    const int length = memo->length();
    Press(memo, Qt::Key_X, QStringLiteral("x"));
    if (memo->length() != length + 1) state.SkipWithError("the key press did not reach the text");
    Press(memo, Qt::Key_Backspace, QString());
    for (auto _ : state) {
        Press(memo, Qt::Key_X, QStringLiteral("x"));
        memo->viewport()->repaint();
        Press(memo, Qt::Key_Backspace, QString());
        memo->viewport()->repaint();
    }
    state.counters["lines"] = lines;
    state.counters["keys/s"] = benchmark::Counter(2.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    editor->Memo1()->setModified(false);
    std::filesystem::remove_all(ProgramDirectory());
}
BENCHMARK(BM_TypeInA7000LineClass)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return torvane::bench::RunWindowBenchmarks(argc, argv); }
