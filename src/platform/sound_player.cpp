#include "platform/sound_player.h"

#include "platform/process.h"

namespace torvane::platform {

namespace {

pid_t playing = -1;  // the player started last (all windows run on one thread)

}  // namespace

bool PlayWaveAsync(const std::string& path) {
    if (playing > 0) {
        if (ProcessRunning(playing)) TerminateProcessGroup(playing, 500);
        playing = -1;
    }
    for (const char* player : {"paplay", "pw-play", "aplay"}) {
        const std::string program = FindInPath(player);
        if (program.empty()) continue;
        ProcessSpec spec;
        spec.argv = {program, path};
        spec.nullStderr = true;
        playing = StartProcess(spec);
        return playing > 0;
    }
    return false;
}

}  // namespace torvane::platform
