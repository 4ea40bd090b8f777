#include "platform/tool_command.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/process.h"

namespace torvane::platform {

ProgramFileKind SniffProgramFile(std::string_view path) {
    const int fd = ::open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ProgramFileKind::Unknown;
    unsigned char head[4] = {};
    const ssize_t n = ::read(fd, head, sizeof head);
    ::close(fd);
    if (n >= 4 && head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') {
        return ProgramFileKind::Native;
    }
    if (n >= 2 && head[0] == '#' && head[1] == '!') return ProgramFileKind::Script;
    if (n >= 2 && head[0] == 'M' && head[1] == 'Z') return ProgramFileKind::WindowsImage;
    return ProgramFileKind::Unknown;
}

std::vector<std::string> ProgramCommand(std::string_view path) {
    if (SniffProgramFile(path) == ProgramFileKind::WindowsImage) {
        const std::string wine = FindInPath("wine");
        if (wine.empty()) return {};
        return {wine, std::string(path)};
    }
    return {std::string(path)};
}

}  // namespace torvane::platform
