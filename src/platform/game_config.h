#pragma once

#include <string>
#include <string_view>

// Where the game keeps "UnrealTournament.ini". A Linux build of the game's tool reads the copy in a
// per-user preference directory when one exists (the current patch's "~/.utpg/System", the
// original port's "~/.loki/ut/System"); a Windows install (also under Wine) reads the copy in the
// game root's System directory. Every part of the program finds the file through here so that it
// reads and rewrites the same file the tool will read.
namespace torvane::platform {

enum class GameConfigSource { GameRoot, UserPreferences };

struct GameConfigLocation {
    std::string path;  // native path of UnrealTournament.ini (it need not exist)
    GameConfigSource source = GameConfigSource::GameRoot;
};

// True when the game root holds a Linux build of the game's tool (System/ucc-bin,
// System64/ucc-bin-amd64 or SystemARM64/ucc-bin-arm64), which reads per-user preferences.
bool HasLinuxGameTool(std::string_view gameRoot);

// The configuration file for the game at gameRoot. homeDirectory defaults to $HOME.
GameConfigLocation FindGameConfigFile(std::string_view gameRoot,
                                      std::string_view homeDirectory = {});

// A line for the user naming the file in use.
std::string DescribeGameConfig(const GameConfigLocation& location);

}  // namespace torvane::platform
