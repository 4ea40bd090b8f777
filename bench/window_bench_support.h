// What the window benchmarks share: a program directory of their own for the settings and logs
// the main window writes, and a main that runs the benchmarks offscreen.
#pragma once

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <string>

namespace torvane::bench {

inline std::string ProgramDirectory() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "torvane-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return dir;
}

inline int RunWindowBenchmarks(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace torvane::bench
