// The class browser on the fixture game: a full rebuild (scan, place, actor and by-package
// trees, cache save) and loading the three tree caches.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "workspace/class_browser.h"
#include "workspace/default_properties.h"
#include "workspace/tree_cache.h"

namespace {

namespace platform = torvane::platform;
namespace workspace = torvane::workspace;

const std::string kGameRoot = std::string(TORVANE_FIXTURES_DIR) + "/ut99";

std::string CacheDirectory() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "torvane-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return dir;
}

workspace::ClassBrowser Browser() {
    workspace::ClassBrowserContext context;
    context.install = platform::GameInstall::Detect(kGameRoot);
    context.cacheDirectory = CacheDirectory();
    return workspace::ClassBrowser(context);
}

void BM_FullRebuild(benchmark::State& state) {
    for (auto _ : state) {
        workspace::ClassBrowser browser = Browser();
        browser.LoadEditPackages();
        benchmark::DoNotOptimize(browser.RebuildClassTrees());
    }
    state.counters["classes"] = 1488;
}
BENCHMARK(BM_FullRebuild)->Unit(benchmark::kMillisecond);

void BM_LoadTreeCaches(benchmark::State& state) {
    {
        workspace::ClassBrowser browser = Browser();
        browser.LoadEditPackages();
        browser.RebuildClassTrees();
    }
    for (auto _ : state) {
        for (const char* name : {"/Classes.ucd", "/Actors.ucd", "/ClassByPackage.ucd"}) {
            benchmark::DoNotOptimize(workspace::LoadTreeCache(CacheDirectory() + name));
        }
    }
}
BENCHMARK(BM_LoadTreeCaches)->Unit(benchmark::kMillisecond);

// The default properties of the class with the longest chain of ancestors: every source of the
// chain read and its declarations and defaults gathered. Once for the deepest class of the whole
// fixture tree, once for the deepest below Actor (whose source is the longest of them all).
void DefaultPropertiesOfDeepest(benchmark::State& state, bool belowActor) {
    workspace::ClassBrowser browser = Browser();
    browser.LoadEditPackages();
    browser.RebuildClassTrees();
    std::vector<workspace::ChainClass> deepest;
    browser.objectTree().Walk([&](const workspace::ClassNode& node) {
        std::vector<workspace::ChainClass> chain = workspace::ClassChain(node);
        const bool actor = chain.size() > 1 && chain[1].className == "Actor";
        if (chain.size() > deepest.size() && (!belowActor || actor)) deepest = std::move(chain);
        return true;
    });
    std::size_t rows = 0;
    for (auto _ : state) {
        workspace::DefaultProperties properties;
        workspace::LoadClassChain(properties, deepest);
        rows = properties.Rows().size();
        benchmark::DoNotOptimize(rows);
    }
    state.SetLabel(deepest.back().package + "." + deepest.back().className);
    state.counters["chain"] = static_cast<double>(deepest.size());
    state.counters["properties"] = static_cast<double>(rows);
}
BENCHMARK_CAPTURE(DefaultPropertiesOfDeepest, DeepestClass, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DefaultPropertiesOfDeepest, DeepestActor, true)->Unit(benchmark::kMillisecond);

}  // namespace
