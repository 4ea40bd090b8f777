// The main window's output log under a flood of lines, as a search of every source writes them:
// appending 10,000 result lines, and showing them once at the next fixed point.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <QApplication>
#include <QListWidget>
#include <filesystem>
#include <optional>
#include <string>

#include "shell/tmain.h"

namespace {

namespace shell = torvane::shell;

std::string ProgramDirectory() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "torvane-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return dir;
}

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

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
