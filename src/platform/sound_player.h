#pragma once

#include <string>

// Plays a wave file without waiting for it, through the desktop's sound player (paplay,
// pw-play or aplay, the first installed). False when none is installed or it cannot start.
namespace torvane::platform {

bool PlayWaveAsync(const std::string& path);

}  // namespace torvane::platform
