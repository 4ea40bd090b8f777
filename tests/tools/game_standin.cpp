// A stand-in for the game's own program, for tests and the sample game trees. It does not play;
// it writes the game's log, UnrealTournament.log, and ends. Where it writes the log depends on the
// name it is installed under:
//
//   System/UnrealTournament.exe (the Windows game): beside itself.
//   ut-bin-amd64, ut-bin or any other ut-bin* (a Linux build of the current patch): in
//     $HOME/.utpg/System/ (created when missing); without HOME beside itself.
//
// The log names what the program was started with, so that tests can check it:
//   Log: Command line: <the parameters, separated by blanks>
//   Log: Working directory: <the directory it was started in>
//   Log: Library path: <LD_LIBRARY_PATH>
// The environment variable GAME_STANDIN_RUN_MS keeps it running that long before it ends.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <thread>

#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace {

namespace core = torvane::core;
namespace platform = torvane::platform;

std::string ProgramPath() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n <= 0 ? std::string("./UnrealTournament.exe") : std::string(buffer, static_cast<std::size_t>(n));
}

std::string LogDirectory() {
    const auto [directory, name] = platform::SplitLastSeparator(ProgramPath());
    const char* home = std::getenv("HOME");
    if (!core::StartsWithIgnoringCase(name, "ut-bin") || !home || !*home) return directory;
    const std::string preferences = std::string(home) + "/.utpg/System";
    platform::CreateDirectories(preferences);
    return preferences;
}

}  // namespace

int main(int argc, char** argv) {
    std::string parameters;
    for (int i = 1; i < argc; ++i) parameters += (i > 1 ? " " : "") + std::string(argv[i]);
    const char* libraryPath = std::getenv("LD_LIBRARY_PATH");
    const std::string log = "Log: Log file open\r\n"
                            "Log: Command line: " + parameters + "\r\n"
                            "Log: Working directory: " + platform::CurrentDirectory() + "\r\n"
                            "Log: Library path: " + std::string(libraryPath ? libraryPath : "") + "\r\n";
    const std::string path = LogDirectory() + "/UnrealTournament.log";
    try {
        platform::WriteFileAtomic(path, log);
    } catch (const platform::FileError& e) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), e.what());
        return 1;
    }
    if (const char* run = std::getenv("GAME_STANDIN_RUN_MS")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(run)));
    }
    try {
        platform::WriteFileAtomic(path, log + "Exit: Exiting.\r\n");
    } catch (const platform::FileError&) {
        return 1;
    }
    return 0;
}
