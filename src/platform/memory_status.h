#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The system's memory figures, read from /proc/meminfo on Linux: how much of the physical memory
// is in use, and how much physical and virtual memory (physical plus free swap) is available.
namespace torvane::platform {

struct MemoryStatus {
    int loadPercent = 0;                     // 0..100, physical memory in use
    std::uint64_t availablePhysicalKb = 0;   // MemAvailable (MemFree + Cached on old kernels)
    std::uint64_t availableVirtualKb = 0;    // available physical memory plus SwapFree
};

// Parses the text of /proc/meminfo; nullopt when MemTotal is missing or zero.
std::optional<MemoryStatus> ParseMemInfo(std::string_view text);
// The current figures; nullopt when /proc/meminfo cannot be read.
std::optional<MemoryStatus> ReadMemoryStatus();

}  // namespace torvane::platform
