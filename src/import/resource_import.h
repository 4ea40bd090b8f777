#pragma once

#include <functional>
#include <string>
#include <vector>

#include "import/import_rules.h"

namespace torvane::core {
class Prompter;
}

// Importing images and sounds into a package: the files are copied into the package's Textures or
// Sounds directory (never over another file), one "#exec" line per file goes into the source being
// edited, and the file is listed in the project tree.
namespace torvane::imports {

struct ImportHost {
    core::Prompter* prompter = nullptr;
    // An information box that the preference "Limit Popup message boxes" suppresses.
    std::function<void(const std::string& text)> showInfo;
    // Writes one directive line at the editor's caret.
    std::function<void(const std::string& line)> writeDirective;
    // Lists a file under a group ("Textures", "Sounds") of a package of the project tree.
    std::function<void(const std::string& package, const std::string& group, const std::string& file)> addProjectFile;
};

// What the dialog does afterwards.
enum class ImportOutcome { Close, StayOpen };

struct ImageImportRequest {
    std::string gameRoot;
    std::string package;                 // of the active editor; empty: nothing is imported
    std::string directory;               // where the chosen files are
    std::vector<std::string> fileNames;  // the selected files, in list order
    TextureImportOptions options;
};

// "&Import" of the image dialog. An invalid image is reported and passed over; a name taken by
// another file of the package, a refused or failed directory creation and a failed copy stop the
// import with the dialog open. Every file passed without a stop closes it.
ImportOutcome ImportImages(const ImageImportRequest& request, ImportHost& host);

struct SoundImportRequest {
    std::string gameRoot;
    std::string package;  // of the active editor (empty: the game root's own Sounds directory)
    std::string file;     // the ".WAV" field
    std::string name;
    std::string group;
};

// "&Import" of the sound dialog. A file of that name in the package is used as it is after the
// user agrees; a refused or failed directory creation and a failed copy keep the dialog open.
ImportOutcome ImportSound(const SoundImportRequest& request, ImportHost& host);

}  // namespace torvane::imports
