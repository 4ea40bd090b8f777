#include "platform/shell_open.h"

#include <unistd.h>

#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/process.h"

namespace torvane::platform {

bool ShellOpenAndWait(const std::string& file, const std::string& parameters) {
    const std::string path = ResolvePath(file);
    ProcessSpec spec;
    if (FileExists(path) && ::access(path.c_str(), X_OK) == 0) {
        spec.argv = {path};
        for (auto& word : SplitCommandLine(parameters)) spec.argv.push_back(std::move(word));
    } else {
        const std::string opener = FindInPath("xdg-open");
        if (opener.empty()) return false;
        spec.argv = {opener, FileExists(path) ? path : file};
    }
    const pid_t pid = StartProcess(spec);
    if (pid < 0) return false;
    WaitForProcess(pid, -1);
    return true;
}

}  // namespace torvane::platform
