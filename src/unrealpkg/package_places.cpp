#include "unrealpkg/package_places.h"

#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace torvane::unrealpkg {

std::string CompiledPackageFile(const std::string& gameRoot, const std::string& name) {
    return platform::ResolveGamePath(gameRoot, "\\System\\" + name + ".u");
}

std::string PackageSourceFolder(const std::string& gameRoot, const std::string& name) {
    return platform::ResolveGamePath(gameRoot, "\\" + name);
}

bool PackageHasSources(const std::string& gameRoot, const std::string& name) {
    return platform::DirectoryExists(platform::ResolveGamePath(gameRoot, "\\" + name + "\\Classes"));
}

}  // namespace torvane::unrealpkg
