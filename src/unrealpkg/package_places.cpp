#include "unrealpkg/package_places.h"

#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "platform/game_paths.h"

namespace torvane::unrealpkg {

std::string CompiledPackageFile(const platform::GameInstall& install, const std::string& name) {
    return install.FindPackageFile(name);
}

std::string PackageSourceFolder(const platform::GameInstall& install, const std::string& name) {
    return platform::ResolveGamePath(install.gameRoot(), "\\" + name);
}

bool PackageHasSources(const platform::GameInstall& install, const std::string& name) {
    return platform::DirectoryExists(platform::ResolveGamePath(install.gameRoot(), "\\" + name + "\\Classes"));
}

std::vector<std::string> PackageFolders(const platform::GameInstall& install) {
    return install.packageSearchDirectories();
}

}  // namespace torvane::unrealpkg
