// The main window's output log under a flood of lines, as a search of every source writes them:
// appending 10,000 result lines, and showing them once at the next fixed point.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "core/throttled_event_pump.h"
#include "editor/find_in_files.h"
#include "platform/game_install.h"
#include "shell/qt_interaction.h"
#include "shell/tmain.h"
#include "window_bench_support.h"
#include "workspace/class_browser.h"

namespace {

namespace shell = torvane::shell;
using torvane::bench::ProgramDirectory;

void BM_AppendLogLines(benchmark::State& state) {
    shell::TMainOptions options;
    options.paths = {ProgramDirectory(), ProgramDirectory()};
    options.chooseGameFolder = [] { return std::optional<std::string>(std::string(TORVANE_FIXTURES_DIR) + "/ut99"); };
    shell::TMain main(std::move(options));
    main.Timer1Timer();  // started: showing the window starts nothing more
    main.show();
    QApplication::processEvents();
    const std::string line =
        "/games/ut/Engine/Classes/Actor.uc(1234): \tlocal int i; // an ordinary line of source";
    for (auto _ : state) {
        main.Log().Clear();
        for (int i = 0; i < state.range(0); ++i) main.AddLogLine(line);
        QApplication::processEvents();  // the next fixed point: one scroll, one repaint
        benchmark::DoNotOptimize(main.OutputLogWidget()->count());
    }
    std::filesystem::remove(ProgramDirectory() + "/Torvane.log");
}
BENCHMARK(BM_AppendLogLines)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Find in files as the window runs it: every fixture source searched for a common word, the
// hit lines going into the main window's log, window messages let through after each file and
// each hit (at most every 20 ms).
void BM_FindInFilesIntoTheLog(benchmark::State& state) {
    shell::TMainOptions options;
    options.paths = {ProgramDirectory(), ProgramDirectory()};
    options.chooseGameFolder = [] { return std::optional<std::string>(std::string(TORVANE_FIXTURES_DIR) + "/ut99"); };
    shell::TMain main(std::move(options));
    main.Timer1Timer();
    main.show();
    QApplication::processEvents();
    torvane::workspace::ClassBrowserContext context;
    context.install = torvane::platform::GameInstall::Detect(std::string(TORVANE_FIXTURES_DIR) + "/ut99");
    torvane::workspace::ClassBrowser browser(context);
    browser.LoadEditPackages();
    browser.RebuildClassTrees();
    const std::vector<std::string> files = torvane::editor::FilesOfTree(browser.objectTree());
    shell::QtEventPump pump;
    for (auto _ : state) {
        torvane::core::ThrottledEventPump throttled(pump, std::chrono::milliseconds(20));
        torvane::editor::FindInFilesHost host;
        host.log = &main.Log();
        host.pump = &throttled;
        torvane::editor::SearchFiles("function", files, host);
        QApplication::processEvents();
        state.counters["lines"] = main.OutputLogWidget()->count();
    }
    std::filesystem::remove(ProgramDirectory() + "/Torvane.log");
}
BENCHMARK(BM_FindInFilesIntoTheLog)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return torvane::bench::RunWindowBenchmarks(argc, argv); }
