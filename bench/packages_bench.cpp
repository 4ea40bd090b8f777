// Reading every fixture package: open, read and format every property of every export; and
// decompiling every body in both modes.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "unrealpkg/ut_decompiler.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace {

namespace unrealpkg = torvane::unrealpkg;

std::vector<std::string> Packages(bool scriptOnly) {
    std::vector<std::string> files;
    const std::string root = TORVANE_FIXTURES_DIR;
    for (const char* dir : {"/ut99/System", "/ut99/Textures", "/ut99/Sounds", "/compiled/System"}) {
        for (const auto& entry : std::filesystem::directory_iterator(root + dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".u" || (!scriptOnly && (ext == ".utx" || ext == ".uax"))) {
                files.push_back(entry.path().string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ReadAndFormatEveryExport(benchmark::State& state) {
    const auto files = Packages(false);
    std::int64_t exports = 0;
    for (auto _ : state) {
        for (const auto& file : files) {
            unrealpkg::TUTPackage package(file);
            for (const auto& entry : package.Exports) {
                unrealpkg::TUTObject& object = entry->GetObject();
                unrealpkg::ObjectReadScope scope(object, true);
                const auto& properties = object.Properties();
                for (int i = 0; i < properties.Count(); ++i) {
                    benchmark::DoNotOptimize(unrealpkg::FormatValue(*properties.Get(i)));
                }
                ++exports;
            }
        }
    }
    state.counters["exports/s"] = benchmark::Counter(static_cast<double>(exports),
                                                     benchmark::Counter::kIsRate);
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_ReadAndFormatEveryExport)->Unit(benchmark::kMillisecond);

void BM_DecompileEveryBody(benchmark::State& state) {
    const bool structured = state.range(0) != 0;
    const auto files = Packages(true);
    std::int64_t bodies = 0;
    for (auto _ : state) {
        for (const auto& file : files) {
            unrealpkg::TUTPackage package(file);
            for (const auto& entry : package.Exports) {
                const std::string className = entry->GetClassName();
                if (!className.empty() && className != "Function" && className != "State") continue;
                unrealpkg::TUTObject& object = entry->GetObject();
                unrealpkg::ObjectReadScope scope(object, true);
                auto* body = dynamic_cast<unrealpkg::TUTObjectClassStruct*>(&object);
                if (!body || !object.Parsed()) continue;
                benchmark::DoNotOptimize(unrealpkg::DecompileBody(*body, structured));
                ++bodies;
            }
        }
    }
    state.counters["bodies/s"] = benchmark::Counter(static_cast<double>(bodies),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecompileEveryBody)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
