#include "platform/game_config.h"

#include <cstdlib>

#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace torvane::platform {
namespace {

constexpr const char* kConfigName = "UnrealTournament.ini";

std::string HomeDirectory(std::string_view given) {
    if (!given.empty()) return std::string(given);
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

}  // namespace

bool HasLinuxGameTool(std::string_view gameRoot) {
    for (const char* tool :
         {"\\System\\ucc-bin", "\\System64\\ucc-bin-amd64", "\\SystemARM64\\ucc-bin-arm64"}) {
        if (FileExists(ResolveGamePath(gameRoot, tool))) return true;
    }
    return false;
}

GameConfigLocation FindGameConfigFile(std::string_view gameRoot, std::string_view homeDirectory) {
    if (HasLinuxGameTool(gameRoot)) {
        const std::string home = HomeDirectory(homeDirectory);
        if (!home.empty()) {
            for (const char* dir : {".utpg/System", ".loki/ut/System"}) {
                const std::string candidate = JoinPath(JoinPath(home, dir), kConfigName);
                if (FileExists(candidate)) return {candidate, GameConfigSource::UserPreferences};
            }
        }
    }
    return {ResolveGamePath(gameRoot, std::string("\\System\\") + kConfigName),
            GameConfigSource::GameRoot};
}

std::string DescribeGameConfig(const GameConfigLocation& location) {
    if (location.source == GameConfigSource::UserPreferences) {
        return "Using the game's configuration from the preference directory: " + location.path;
    }
    return "Using the game's configuration: " + location.path;
}

}  // namespace torvane::platform
