// Exporting compiled packages to source folders, as the IDE and `torvane-cli pkg export` do:
// every script package of the fixtures, and the largest one (Engine.u of the current patch), each
// from the embedded source text (Arg 0) and rebuilt from the compiled form (Arg 1). The files go
// to a fresh temporary folder on every iteration. For comparison, the game's own exporter
// (`ucc batchexport Engine.u class uc DIR`) takes about 0.9 s for a full Engine.u of 175 classes
// from embedded text on this kind of machine, about 195 classes per second; the fixture's Engine.u
// holds 88 named classes, so compare the classes/s counters.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "unrealpkg/package_export.h"

namespace {

namespace unrealpkg = torvane::unrealpkg;

const std::string kFixtures = TORVANE_FIXTURES_DIR;

std::vector<std::string> ScriptPackages() {
    std::vector<std::string> files;
    for (const char* dir : {"/ut99/System", "/ut469/System", "/compiled/System"}) {
        for (const auto& entry : std::filesystem::directory_iterator(kFixtures + dir)) {
            if (entry.path().extension() == ".u") files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::filesystem::path OutputRoot() {
    return std::filesystem::temp_directory_path() / ("torvane-export-bench-" + std::to_string(::getpid()));
}

// Exports files into fresh folders; returns the number of classes written.
int ExportAll(const std::vector<std::string>& files, bool rebuild, const std::filesystem::path& root) {
    int classes = 0;
    const std::vector<std::string> folders = {kFixtures + "/ut469/System", kFixtures + "/ut99/System"};
    unrealpkg::PackageExportOptions options;
    options.rebuild = rebuild;
    for (const std::string& file : files) {
        const std::filesystem::path out = root / std::filesystem::path(file).stem();
        std::filesystem::create_directories(out);
        classes += unrealpkg::ExportPackageFiles(file, out.string(), out.filename().string(), options,
                                                 unrealpkg::PackageExportServices{}, false, folders)
                       .classes;
    }
    return classes;
}

void Run(benchmark::State& state, const std::vector<std::string>& files) {
    const bool rebuild = state.range(0) != 0;
    const std::filesystem::path root = OutputRoot();
    std::int64_t classes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(root);
        state.ResumeTiming();
        classes += ExportAll(files, rebuild, root);
    }
    std::filesystem::remove_all(root);
    state.counters["classes/s"] = benchmark::Counter(static_cast<double>(classes), benchmark::Counter::kIsRate);
    state.counters["classes"] = static_cast<double>(classes) / static_cast<double>(state.iterations());
    state.SetLabel(rebuild ? "rebuilt" : "embedded source");
}

void BM_ExportEveryScriptPackage(benchmark::State& state) { Run(state, ScriptPackages()); }
BENCHMARK(BM_ExportEveryScriptPackage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ExportEngine(benchmark::State& state) { Run(state, {kFixtures + "/ut469/System/Engine.u"}); }
BENCHMARK(BM_ExportEngine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
