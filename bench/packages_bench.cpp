// Reading every fixture package: opening it (header and tables), and reading and formatting every
// property of every export; decompiling every body in both modes; and the damaged packages the
// fuzzer found slow: object paths along outer references chained hundreds deep, and the
// properties of packages whose exports share one name hundreds of times or whose struct
// definitions are damaged.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "unrealpkg/ut_decompiler.h"
#include "unrealpkg/ut_decompiler_context.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_properties.h"
#include "unrealpkg/ut_script_objects.h"

namespace {

namespace unrealpkg = torvane::unrealpkg;

const std::string kFixtures = TORVANE_FIXTURES_DIR;

std::vector<std::string> PackagesIn(const std::vector<std::string>& dirs, bool scriptOnly) {
    std::vector<std::string> files;
    for (const std::string& dir : dirs) {
        for (const auto& entry : std::filesystem::directory_iterator(kFixtures + dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".u" || (!scriptOnly && (ext == ".utx" || ext == ".uax"))) {
                files.push_back(entry.path().string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Every package of the fixtures, the current patch's large ones included.
std::vector<std::string> EveryPackage() {
    return PackagesIn({"/ut99/System", "/ut99/Textures", "/ut99/Sounds", "/compiled/System",
                       "/ut469/System"},
                      false);
}

std::vector<std::string> Packages(bool scriptOnly) {
    return PackagesIn({"/ut99/System", "/ut99/Textures", "/ut99/Sounds", "/compiled/System"},
                      scriptOnly);
}

std::int64_t TotalBytes(const std::vector<std::string>& files) {
    std::int64_t bytes = 0;
    for (const auto& file : files) bytes += static_cast<std::int64_t>(std::filesystem::file_size(file));
    return bytes;
}

double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_OpenEveryPackage(benchmark::State& state) {
    const auto files = EveryPackage();
    std::int64_t exports = 0;
    for (auto _ : state) {
        for (const auto& file : files) {
            unrealpkg::TUTPackage package(file);
            exports += package.ExportCount();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * TotalBytes(files));
    state.counters["exports/s"] = benchmark::Counter(static_cast<double>(exports),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenEveryPackage)->Unit(benchmark::kMillisecond);

void BM_ReadAndFormatEveryExport(benchmark::State& state) {
    const auto files = EveryPackage();
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
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * TotalBytes(files));
    state.counters["exports/s"] = benchmark::Counter(static_cast<double>(exports),
                                                     benchmark::Counter::kIsRate);
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_ReadAndFormatEveryExport)->Unit(benchmark::kMillisecond);

// Arg 1: structured with loops rebuilt, as the export prints; arg 0: flat. One context per
// package, with the packages beside it at hand, as pkg decompile --all and the export use it.
void BM_DecompileEveryBody(benchmark::State& state) {
    unrealpkg::DecompileOptions options;
    options.structured = state.range(0) != 0;
    const auto files = Packages(true);
    std::int64_t bodies = 0;
    for (auto _ : state) {
        for (const auto& file : files) {
            unrealpkg::TUTPackage package(file);
            const auto context = unrealpkg::DecompileContext::WithPackagesAtHand(package);
            options.context = context.get();
            for (const auto& entry : package.Exports) {
                const std::string className = entry->GetClassName();
                if (!className.empty() && className != "Function" && className != "State") continue;
                unrealpkg::TUTObject& object = entry->GetObject();
                unrealpkg::ObjectReadScope scope(object, true);
                auto* body = dynamic_cast<unrealpkg::TUTObjectClassStruct*>(&object);
                if (!body || !object.Parsed()) continue;
                benchmark::DoNotOptimize(unrealpkg::DecompileBody(*body, options));
                ++bodies;
            }
        }
    }
    state.counters["bodies/s"] = benchmark::Counter(static_cast<double>(bodies),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecompileEveryBody)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Damaged packages whose outer references chain hundreds deep: open, and the full path of every
// export and import, as a package listing prints them.
void BM_PathsOfDeepOuterChains(benchmark::State& state) {
    const std::vector<std::string> files = {kFixtures + "/hostile/deep-outer-chains.u",
                                            kFixtures + "/hostile/deep-outer-chains-2.u"};
    std::int64_t paths = 0;
    for (auto _ : state) {
        for (const auto& file : files) {
            unrealpkg::TUTPackage package(file);
            for (int r = -package.ImportCount(); r <= package.ExportCount(); ++r) {
                benchmark::DoNotOptimize(package.GetObjectPath(-1, r));
                ++paths;
            }
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * TotalBytes(files));
    state.counters["paths/s"] = benchmark::Counter(static_cast<double>(paths),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PathsOfDeepOuterChains)->Unit(benchmark::kMillisecond);

// Damaged packages the fuzzer found slow to format: 674 exports sharing two names, with byte
// properties whose declarations are sought among them and up class chains through them; and
// struct values read through a damaged definition (arrays of millions, nested deep). Every
// property of every export read and formatted.
void BM_PropertiesOfSlowFuzzFindings(benchmark::State& state) {
    const std::string data = TORVANE_TEST_DATA_DIR;
    const std::vector<std::string> files = {data + "/byte-properties-named-alike-hundreds-of-times.u",
                                            data + "/struct-members-past-the-value.u"};
    std::int64_t properties = 0;
    for (auto _ : state) {
        for (const auto& file : files) {
            unrealpkg::TUTPackage package(file);
            for (const auto& entry : package.Exports) {
                try {
                    unrealpkg::TUTObject& object = entry->GetObject();
                    unrealpkg::ObjectReadScope scope(object, true);
                    const auto& list = object.Properties();
                    for (int i = 0; i < list.Count(); ++i) {
                        benchmark::DoNotOptimize(unrealpkg::FormatValue(*list.Get(i)));
                        ++properties;
                    }
                } catch (const std::exception&) {
                    // a damaged object is skipped, as the export skips it
                }
            }
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * TotalBytes(files));
    state.counters["properties/s"] = benchmark::Counter(static_cast<double>(properties),
                                                        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PropertiesOfSlowFuzzFindings)->Unit(benchmark::kMillisecond);

}  // namespace
