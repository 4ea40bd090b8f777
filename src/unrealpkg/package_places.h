#pragma once

#include <string>

// Where a script package lives in the game install: its compiled file and the folder its
// exported sources go to ("Classes", "Textures", "Sounds" below it). The one place that answers
// these questions for the package export and the offers to export.
namespace torvane::unrealpkg {

// The compiled "<name>.u" (System below the game root; it need not exist).
std::string CompiledPackageFile(const std::string& gameRoot, const std::string& name);
// The package's source folder below the game root (it need not exist).
std::string PackageSourceFolder(const std::string& gameRoot, const std::string& name);
// Whether the package has been exported: its source folder holds "Classes".
bool PackageHasSources(const std::string& gameRoot, const std::string& name);

}  // namespace torvane::unrealpkg
