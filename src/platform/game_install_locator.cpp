#include "platform/game_install_locator.h"

#include <cstdlib>

#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace torvane::platform {

std::vector<std::string> WellKnownGameLocations(const std::string& home) {
    std::vector<std::string> locations;
    if (!home.empty()) {
        for (const char* relative :
             {".wine/drive_c/UnrealTournament", ".wine/drive_c/GOG Games/Unreal Tournament GOTY",
              ".wine/drive_c/Program Files/Unreal Tournament",
              ".wine/drive_c/Program Files (x86)/GOG Galaxy/Games/Unreal Tournament GOTY",
              "UnrealTournament", "ut99", ".local/share/UnrealTournament"}) {
            locations.push_back(home + "/" + relative);
        }
    }
    for (const char* absolute : {"/usr/local/games/ut", "/usr/local/games/UnrealTournament",
                                 "/opt/ut", "/opt/UnrealTournament", "/opt/ut99"}) {
        locations.emplace_back(absolute);
    }
    return locations;
}

bool HasSystemDirectory(const std::string& directory) {
    return !directory.empty() && DirectoryExists(ResolveGamePath(directory, "\\system"));
}

std::string LocateInstalledGame(const std::string& homeDirectory) {
    std::string home = homeDirectory;
    if (home.empty()) {
        if (const char* env = std::getenv("HOME")) home = env;
    }
    for (const std::string& location : WellKnownGameLocations(home)) {
        if (HasSystemDirectory(ResolvePath(location))) return ResolvePath(location);
    }
    return {};
}

}  // namespace torvane::platform
