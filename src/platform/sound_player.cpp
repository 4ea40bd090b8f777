#include "platform/sound_player.h"

#include "platform/process.h"

namespace torvane::platform {

bool PlayWaveAsync(const std::string& path) {
    for (const char* player : {"paplay", "pw-play", "aplay"}) {
        const std::string program = FindInPath(player);
        if (program.empty()) continue;
        ProcessSpec spec;
        spec.argv = {program, path};
        spec.nullStderr = true;
        return StartProcess(spec) > 0;  // reaped by whoever waits; players end by themselves
    }
    return false;
}

}  // namespace torvane::platform
