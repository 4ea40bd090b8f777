#include "platform/shell_open.h"

#include <unistd.h>

#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/process.h"
#include "platform/tool_command.h"

namespace torvane::platform {

bool ShellOpenAndWait(const std::string& file, const std::string& parameters) {
    const std::string path = AbsolutePath(ResolvePath(file));  // a bare name: the current directory
    ProcessSpec spec;
    // A Windows program runs through wine, as the desktop would start it.
    const bool windowsImage = FileExists(path) && SniffProgramFile(path) == ProgramFileKind::WindowsImage;
    const bool opener = !windowsImage && !(FileExists(path) && ::access(path.c_str(), X_OK) == 0);
    if (!opener) {
        spec.argv = windowsImage ? ProgramCommand(path) : std::vector<std::string>{path};
        if (spec.argv.empty()) return false;  // no wine
        for (auto& word : SplitCommandLine(parameters)) spec.argv.push_back(std::move(word));
    } else {
        const std::string xdgOpen = FindInPath("xdg-open");
        if (xdgOpen.empty()) return false;
        spec.argv = {xdgOpen, FileExists(path) ? path : file};
    }
    const pid_t pid = StartProcess(spec);
    if (pid < 0) return false;
    const int code = WaitForProcess(pid, -1);
    // The program's own exit code is its business; the opener's says whether anything opened.
    return !opener || code == 0;
}

}  // namespace torvane::platform
