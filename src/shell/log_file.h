#pragma once

#include <string>
#include <string_view>

namespace torvane::shell {

// Appends one line (and CR LF) to the log file: opened, written, flushed and closed per call.
// Failures are ignored: the log file is a copy of what the window shows.
void AppendToLogFile(const std::string& path, std::string_view line);

}  // namespace torvane::shell
