#pragma once

#include <string>

#include "intel/index_builder.h"

namespace torvane::platform {
class GameInstall;
}

// The symbol index of a game install, kept in "Symbols.ucd" beside the class trees' caches: read
// from the cache, brought up to date with the game's files, and written back when that changed
// anything.
namespace torvane::intel {

struct GameIndexLoad {
    bool cacheRead = false;    // the cache existed and was sound
    bool cacheWritten = false;
    IndexRefresh refresh;
};

// Fills index (which should be empty) for the game's EditPackages. cacheDirectory may be empty
// (no cache). Throws platform::FileError when the game's configuration cannot be read; a cache
// that cannot be written is named in refresh.errors.
GameIndexLoad LoadGameIndex(SymbolIndex& index, const platform::GameInstall& install,
                            const std::string& cacheDirectory);

// The cache file's path in cacheDirectory.
std::string SymbolCachePath(const std::string& cacheDirectory);

}  // namespace torvane::intel
