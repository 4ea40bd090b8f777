#include "shell/program_paths.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace torvane::shell {

ProgramPaths ResolveProgramPaths(const std::string& executablePath) {
    return ResolveProgramPaths(executablePath, [](const std::string& directory) {
        return ::access(directory.c_str(), W_OK) == 0;
    });
}

ProgramPaths ResolveProgramPaths(const std::string& executablePath,
                                 const std::function<bool(const std::string&)>& writable) {
    ProgramPaths paths;
    paths.programDirectory = platform::SplitLastSeparator(executablePath).first;
    if (paths.programDirectory.empty()) paths.programDirectory = ".";
    if (writable(paths.programDirectory)) {
        paths.dataDirectory = paths.programDirectory;
        return paths;
    }
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.local/share";
    } else {
        base = "/tmp";
    }
    paths.dataDirectory = base + "/Torvane";
    platform::CreateDirectories(paths.dataDirectory);
    return paths;
}

}  // namespace torvane::shell
