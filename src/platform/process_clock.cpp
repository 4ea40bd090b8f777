#include "platform/process_clock.h"

#include <unistd.h>

#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace torvane::platform {

std::optional<double> MillisecondsSinceProcessStart() {
    // Field 22 of /proc/self/stat: the start time in clock ticks since boot. The command name
    // (field 2) is in parentheses and may hold blanks, so the fields are counted after its end.
    std::ifstream stat("/proc/self/stat");
    std::string line;
    if (!std::getline(stat, line)) return std::nullopt;
    const auto nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos) return std::nullopt;
    std::istringstream fields(line.substr(nameEnd + 1));
    std::string field;
    for (int number = 3; number < 22; ++number) fields >> field;
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks)) return std::nullopt;
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    timespec now {};
    if (ticksPerSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &now) != 0) return std::nullopt;
    const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs - static_cast<double>(startTicks) * 1000.0 / static_cast<double>(ticksPerSecond);
}

}  // namespace torvane::platform
