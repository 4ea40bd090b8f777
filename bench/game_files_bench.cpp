// Reading the fixture game tree: listing every package's sources through the case-insensitive
// resolver, and reading keys of the game's real configuration file.
#include <benchmark/benchmark.h>

#include <string>

#include "core/ini_file.h"
#include "platform/game_paths.h"

namespace {

namespace core = torvane::core;
namespace platform = torvane::platform;

const std::string kGameRoot = std::string(TORVANE_FIXTURES_DIR) + "/ut99";

void BM_ListAllSources(benchmark::State& state) {
    platform::ListFilter dirs;
    dirs.files = false;
    dirs.directories = true;
    std::size_t files = 0;
    for (auto _ : state) {
        files = 0;
        for (const auto& package : platform::ListDirectory(kGameRoot, "*", dirs)) {
            files += platform::ListDirectory(
                         platform::ResolveGamePath(kGameRoot, package.name + "\\CLASSES"), "*.UC")
                         .size();
        }
        benchmark::DoNotOptimize(files);
    }
    state.counters["files"] = static_cast<double>(files);
}
BENCHMARK(BM_ListAllSources)->Unit(benchmark::kMillisecond);

void BM_ReadConfigKeys(benchmark::State& state) {
    const std::string ini = platform::ResolveGamePath(kGameRoot, "\\system\\unrealtournament.ini");
    for (auto _ : state) {
        const core::IniDocument doc = core::IniDocument::Load(ini);
        benchmark::DoNotOptimize(doc.Value("Engine.Engine", "DefaultGame"));
        benchmark::DoNotOptimize(doc.Value("Editor.EditorEngine", "EditPackages"));
    }
}
BENCHMARK(BM_ReadConfigKeys)->Unit(benchmark::kMicrosecond);

void BM_WritePrivateProfileString(benchmark::State& state) {
    // Rewrites one key of a copy of the configuration in memory (no disk traffic measured).
    const std::string ini = platform::ResolveGamePath(kGameRoot, "\\System\\UnrealTournament.ini");
    core::IniDocument doc = core::IniDocument::Load(ini);
    int i = 0;
    for (auto _ : state) {
        doc.SetValue("URL", "Port", std::to_string(7777 + (i++ & 7)));
        benchmark::DoNotOptimize(doc.ToBytes());
    }
}
BENCHMARK(BM_WritePrivateProfileString)->Unit(benchmark::kMicrosecond);

}  // namespace
