#include "platform/memory_status.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

namespace torvane::platform {
namespace {

// The kB figure of one "Name:   1234 kB" line; nullopt when the line is absent.
std::optional<std::uint64_t> Field(std::string_view text, std::string_view name) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() <= name.size() || line.substr(0, name.size()) != name ||
            line[name.size()] != ':') {
            continue;
        }
        std::size_t digits = name.size() + 1;
        while (digits < line.size() && line[digits] == ' ') ++digits;
        std::uint64_t value = 0;
        const auto result = std::from_chars(line.data() + digits, line.data() + line.size(), value);
        if (result.ec != std::errc()) return std::nullopt;
        return value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<MemoryStatus> ParseMemInfo(std::string_view text) {
    const auto total = Field(text, "MemTotal");
    if (!total || *total == 0) return std::nullopt;
    std::uint64_t available = 0;
    if (const auto memAvailable = Field(text, "MemAvailable")) {
        available = *memAvailable;
    } else {
        available = Field(text, "MemFree").value_or(0) + Field(text, "Cached").value_or(0);
    }
    available = std::min(available, *total);
    MemoryStatus status;
    status.loadPercent = static_cast<int>(((*total - available) * 100) / *total);
    status.availablePhysicalKb = available;
    status.availableVirtualKb = available + Field(text, "SwapFree").value_or(0);
    return status;
}

std::optional<MemoryStatus> ReadMemoryStatus() {
    std::ifstream file("/proc/meminfo");
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return ParseMemInfo(text.str());
}

}  // namespace torvane::platform
