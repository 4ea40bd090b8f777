#include "farcall/server_launcher.h"

#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/process.h"
#include "platform/tool_command.h"

namespace torvane::farcall {

ServerLauncher::~ServerLauncher() = default;

std::string ServerLauncher::FindTool(std::string_view directory) {
    const std::string path = platform::ResolveGamePath(directory, "\\UCC.EXE");
    return platform::FileExists(path) ? path : std::string();
}

bool ServerLauncher::Start(std::string_view directory, std::string_view parameters,
                           std::string* error) {
    const std::string tool = FindTool(directory);
    if (tool.empty()) return false;
    platform::ProcessSpec spec;
    spec.argv = platform::ProgramCommand(tool);
    if (spec.argv.empty()) {
        if (error) *error = "wine is needed to run " + tool;
        return false;
    }
    for (auto& word : platform::SplitCommandLine(parameters)) spec.argv.push_back(std::move(word));
    spec.workingDirectory = platform::SplitLastSeparator(tool).first;
    const pid_t pid = platform::StartProcess(spec, error);
    if (pid < 0) return false;
    servers_.push_back(pid);
    return true;
}

void ServerLauncher::ReapEnded() {
    std::erase_if(servers_, [](pid_t pid) { return !platform::ProcessRunning(pid); });
}

int ServerLauncher::StopAll() {
    ReapEnded();
    const int count = static_cast<int>(servers_.size());
    platform::TerminateProcessGroups(servers_, stopGraceMs_);
    servers_.clear();
    return count;
}

int ServerLauncher::RunningCount() {
    ReapEnded();
    return static_cast<int>(servers_.size());
}

}  // namespace torvane::farcall
