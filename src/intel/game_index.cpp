#include "intel/game_index.h"

#include "intel/symbol_cache.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "workspace/edit_packages.h"

namespace torvane::intel {

std::string SymbolCachePath(const std::string& cacheDirectory) {
    return cacheDirectory + "/" + kSymbolCacheName;
}

GameIndexLoad LoadGameIndex(SymbolIndex& index, const platform::GameInstall& install,
                            const std::string& cacheDirectory) {
    GameIndexLoad load;
    const std::vector<std::string> editPackages = workspace::ReadEditPackages(install.configPath());
    const std::string cachePath = cacheDirectory.empty() ? std::string() : SymbolCachePath(cacheDirectory);
    if (!cachePath.empty()) load.cacheRead = LoadSymbolCache(cachePath, index);
    load.refresh = RefreshFromGame(index, install, editPackages);
    const IndexRefresh& refresh = load.refresh;
    const bool changed = !load.cacheRead || refresh.filesRead > 0 || refresh.packagesRead > 0 || refresh.unitsRemoved > 0;
    if (!cachePath.empty() && changed) {
        try {
            SaveSymbolCache(index, cachePath);
            load.cacheWritten = true;
        } catch (const platform::FileError& e) {
            load.refresh.errors.push_back(cachePath + ": " + e.what());
        }
    }
    return load;
}

}  // namespace torvane::intel
