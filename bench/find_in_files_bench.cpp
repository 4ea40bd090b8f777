// Find in files over every source of the fixture game ("All Objects": 1,488 files in the object
// tree's order) for a common and a rare word, next to grep -r -i -F -n over the same files.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/interaction.h"
#include "editor/find_in_files.h"
#include "platform/game_install.h"
#include "workspace/class_browser.h"

extern char** environ;

namespace {

namespace editor = torvane::editor;

const std::string kGameRoot = std::string(TORVANE_FIXTURES_DIR) + "/ut99";

const std::vector<std::string>& Sources() {
    static const std::vector<std::string> files = [] {
        torvane::workspace::ClassBrowserContext context;
        context.install = torvane::platform::GameInstall::Detect(kGameRoot);
        torvane::workspace::ClassBrowser browser(context);
        browser.LoadEditPackages();
        browser.RebuildClassTrees();
        return editor::FilesOfTree(browser.objectTree());
    }();
    return files;
}

// Lines counted, not kept: what the search itself costs.
class CountingLog final : public torvane::core::OutputLog {
public:
    void AppendLine(std::string_view line) override { bytes += line.size(); ++lines; }
    void ReplaceLastLine(std::string_view) override {}
    void DeleteLastLine() override {}
    void Clear() override {}
    void ScrollToEnd() override {}
    std::size_t bytes = 0;
    int lines = 0;
};

void FindInFiles(benchmark::State& state, const char* word) {
    const auto& files = Sources();
    int lines = 0;
    for (auto _ : state) {
        CountingLog log;
        editor::FindInFilesHost host;
        host.log = &log;
        editor::SearchFiles(word, files, host);
        lines = log.lines;
        benchmark::DoNotOptimize(log.bytes);
    }
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["lines"] = lines;
}

// grep as a user runs it: one process over the game's sources, its output thrown away.
void Grep(benchmark::State& state, const char* word) {
    std::vector<std::string> words{"grep", "-r", "-i", "-F", "-n", "--include=*.uc", word, kGameRoot};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        if (posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("grep cannot be started");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        posix_spawn_file_actions_destroy(&actions);
    }
}

BENCHMARK_CAPTURE(FindInFiles, common_function, "function")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Grep, common_function, "function")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FindInFiles, rare_flak, "Flak")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Grep, rare_flak, "Flak")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
