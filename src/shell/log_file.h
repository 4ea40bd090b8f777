#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace torvane::shell {

// The output log's copy on disk ("Torvane.log"): every line is appended with CR LF and flushed at
// once, so the file is complete whenever the program stops; the file is opened at the first line
// and kept open, not reopened per line. Failures are ignored: the file is a copy of what the
// window shows (a file that cannot be opened is tried again at the next line).
class LogFile final {
public:
    explicit LogFile(std::string path) : path_(std::move(path)) {}
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    void Append(std::string_view line);

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};

}  // namespace torvane::shell
