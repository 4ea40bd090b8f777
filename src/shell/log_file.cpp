#include "shell/log_file.h"

namespace torvane::shell {

LogFile::~LogFile() {
    if (file_) std::fclose(file_);
}

void LogFile::Append(std::string_view line) {
    if (!file_) file_ = std::fopen(path_.c_str(), "ab");
    if (!file_) return;
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fwrite("\r\n", 1, 2, file_);
    std::fflush(file_);
}

}  // namespace torvane::shell
