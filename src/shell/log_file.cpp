#include "shell/log_file.h"

#include <cstdio>

namespace torvane::shell {

void AppendToLogFile(const std::string& path, std::string_view line) {
    FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) return;
    std::fwrite(line.data(), 1, line.size(), file);
    std::fwrite("\r\n", 1, 2, file);
    std::fclose(file);
}

}  // namespace torvane::shell
