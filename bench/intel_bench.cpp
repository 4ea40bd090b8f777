// The symbol index on the fixture game (1,488 sources): indexing cold and from its cache,
// indexing one saved file again, resolving a definition and listing the completions after a
// '.' in the largest class (Bot, 7,586 lines).
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "intel/completion.h"
#include "intel/game_index.h"
#include "intel/index_builder.h"
#include "intel/script_lexer.h"
#include "intel/symbol_place.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"

namespace {

namespace intel = torvane::intel;
namespace platform = torvane::platform;

const std::string kGameRoot = std::string(TORVANE_FIXTURES_DIR) + "/ut99";
const std::string kBotFile = kGameRoot + "/Botpack/Classes/Bot.uc";

const platform::GameInstall& Install() {
    static const platform::GameInstall install = platform::GameInstall::Detect(kGameRoot);
    return install;
}

std::string CacheDirectory() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "torvane-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return dir;
}

const intel::SymbolIndex& FixtureIndex() {
    static const intel::SymbolIndex index = [] {
        intel::SymbolIndex built;
        intel::LoadGameIndex(built, Install(), {});
        return built;
    }();
    return index;
}

void BM_SymbolIndexCold(benchmark::State& state) {
    for (auto _ : state) {
        intel::SymbolIndex index;
        intel::LoadGameIndex(index, Install(), {});
        benchmark::DoNotOptimize(index.SymbolCount());
    }
    state.counters["files"] = benchmark::Counter(1488, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SymbolIndexCold)->Unit(benchmark::kMillisecond);

void BM_SymbolIndexFromCache(benchmark::State& state) {
    {
        intel::SymbolIndex index;
        intel::LoadGameIndex(index, Install(), CacheDirectory());
    }
    for (auto _ : state) {
        intel::SymbolIndex index;
        const intel::GameIndexLoad load = intel::LoadGameIndex(index, Install(), CacheDirectory());
        if (!load.cacheRead || load.refresh.filesRead != 0) state.SkipWithError("the cache was not used");
        benchmark::DoNotOptimize(index.SymbolCount());
    }
}
BENCHMARK(BM_SymbolIndexFromCache)->Unit(benchmark::kMillisecond);

// A saved file read, parsed and put in the index, the index linked again.
void BM_ReindexOneSavedFile(benchmark::State& state) {
    intel::SymbolIndex index;
    intel::LoadGameIndex(index, Install(), {});
    const intel::IndexUnit* unit = index.FindUnit(kBotFile);
    if (!unit) {
        state.SkipWithError("Bot.uc is not indexed");
        return;
    }
    const std::string package = unit->package;
    for (auto _ : state) {
        index.SetUnit(intel::SourceUnit(kBotFile, package, platform::ReadWholeFile(kBotFile), {}));
        index.Link();
    }
}
BENCHMARK(BM_ReindexOneSavedFile)->Unit(benchmark::kMillisecond);

// Go to definition of a name near the end of Bot.uc (the last call of "SetEnemy").
void BM_ResolveDefinition(benchmark::State& state) {
    const intel::SymbolIndex& index = FixtureIndex();
    const std::string text = platform::ReadWholeFile(kBotFile);
    const intel::IndexedClass* bot = index.ClassOfFile(kBotFile);
    const std::size_t offset = text.rfind("SetEnemy(");
    if (!bot || offset == std::string::npos) {
        state.SkipWithError("no Bot.uc");
        return;
    }
    for (auto _ : state) {
        const auto use = intel::UseAt(index, *bot, text, static_cast<std::uint32_t>(offset + 2));
        if (!use || !use->target) state.SkipWithError("not resolved");
        benchmark::DoNotOptimize(use);
    }
}
BENCHMARK(BM_ResolveDefinition)->Unit(benchmark::kMillisecond);

// The completion list after the last "Enemy." of Bot.uc: the members of Pawn's chain.
void BM_CompletionList(benchmark::State& state) {
    const intel::SymbolIndex& index = FixtureIndex();
    const std::string text = platform::ReadWholeFile(kBotFile);
    const intel::IndexedClass* bot = index.ClassOfFile(kBotFile);
    const std::size_t dot = text.rfind("Enemy.");
    if (!bot || dot == std::string::npos) {
        state.SkipWithError("no Bot.uc");
        return;
    }
    for (auto _ : state) {
        const intel::CompletionList list =
            intel::CompletionsAt(index, *bot, text, static_cast<std::uint32_t>(dot + 6));
        if (list.items.size() < 100) state.SkipWithError("too few members");
        benchmark::DoNotOptimize(list.items.data());
    }
}
BENCHMARK(BM_CompletionList)->Unit(benchmark::kMillisecond);

}  // namespace
