#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvane::core {
class EventPump;
class OutputLog;
class Prompter;
}
namespace torvane::platform {
class GameInstall;
struct MemoryStatus;
}

// Turning a compiled package back into a source folder: one ".uc" file per class below
// "Classes", and on request one ".bmp" per texture below "Textures" and one ".wav" per sound
// below "Sounds". A file that already exists with other content is only overwritten with the
// user's consent (the question about the existing package, asked once), after a backup.
namespace torvane::unrealpkg {

struct PackageExportOptions {
    bool classes = true;
    bool graphics = false;
    bool sounds = false;
    bool models = false;   // accepted; no model files are written
    bool quiet = false;    // no question about an existing package folder
    bool rebuild = false;  // every class rebuilt from its compiled form, embedded source ignored
};

class ExportProgress;

struct PackageExportServices {
    core::Prompter* prompter = nullptr;  // none: changed files are never overwritten
    core::OutputLog* log = nullptr;
    core::EventPump* pump = nullptr;
    ExportProgress* progress = nullptr;
};

struct PackageExportResult {
    bool completed = false;  // false: the user declined, or a folder could not be made
    bool declined = false;   // the user did not want a changed file overwritten
    int classes = 0;
    int textures = 0;
    int sounds = 0;
    std::vector<std::string> refused;  // object names that are not safe as file names
};

// "The package you are attempting to export (<name>) already exists. ..."
std::string ExistingPackageQuestion(const std::string& packageName);
// "Memory: <load> % (<available physical KB>/<available virtual KB>)".
std::string MemoryStatusText(const std::optional<platform::MemoryStatus>& status);

// Writes the files of the compiled package below packageFolder (which must exist). With
// overwriteAgreed false, the first file that would replace different content asks
// ExistingPackageQuestion; No ends the export (completed false). Parent classes of other
// packages are looked for in packageFolders. Errors reading the package or writing a file are
// thrown; files written before stay.
PackageExportResult ExportPackageFiles(const std::string& compiledFile, const std::string& packageFolder,
                                       const std::string& packageName, const PackageExportOptions& options,
                                       const PackageExportServices& services, bool overwriteAgreed,
                                       const std::vector<std::string>& packageFolders);

// The IDE's export of the package name of the install into its source folder: asks about an
// existing folder (unless quiet), makes the folder ("Could not creative directory ..." when it
// cannot), clears the output log and writes the files. Refused names are reported in one
// warning. True when the package was processed. A package without compiled file is an error.
bool ExportCompiledPackage(const platform::GameInstall& install, const std::string& name,
                           const PackageExportOptions& options, const PackageExportServices& services);

}  // namespace torvane::unrealpkg
