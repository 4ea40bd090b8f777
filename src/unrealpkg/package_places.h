#pragma once

#include <string>
#include <vector>

namespace torvane::platform {
class GameInstall;
}

// Where a script package lives in the game install: the compiled file the game's tool would load
// and the folder its exported sources go to ("Classes", "Textures", "Sounds" below it). The
// package export and the offers to export ask here.
namespace torvane::unrealpkg {

// The compiled "<name>.u" the tool would find; empty when there is none.
std::string CompiledPackageFile(const platform::GameInstall& install, const std::string& name);
// The package's source folder below the game root (it need not exist).
std::string PackageSourceFolder(const platform::GameInstall& install, const std::string& name);
// Whether the package has been exported: its source folder holds "Classes".
bool PackageHasSources(const platform::GameInstall& install, const std::string& name);
// The folders searched for the packages a class's parent lives in.
std::vector<std::string> PackageFolders(const platform::GameInstall& install);

}  // namespace torvane::unrealpkg
