#pragma once

#include <string>

// Plays a wave file without waiting for it, through the desktop's sound player (paplay,
// pw-play or aplay, the first installed). A sound still playing is ended first, so one sound
// plays at a time, and players that have ended are reaped. False when no player is installed or
// it cannot start.
namespace torvane::platform {

bool PlayWaveAsync(const std::string& path);

}  // namespace torvane::platform
