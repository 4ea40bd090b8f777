#pragma once

#include <string>
#include <vector>

// Opening ".uc" files with the program from the desktop: a MIME type text/x-unrealscript for
// "*.uc" and a desktop entry that starts the program with the file, with the program's icon
// ("torvane" in the hicolor theme), all in the user's data directory ($XDG_DATA_HOME, default
// ~/.local/share). Refreshes the desktop and MIME databases when their tools are installed. What
// cannot be written is skipped silently.
namespace torvane::platform {

struct AssociationResult {
    bool desktopEntryWritten = false;
    bool mimeTypeWritten = false;
    int iconsWritten = 0;
};

// A picture of the program's icon: its side in pixels and its PNG bytes.
struct IconPicture {
    int size = 0;
    std::string png;
};

AssociationResult AssociateUnrealScriptFiles(const std::string& programPath,
                                             const std::string& dataHome = {},
                                             const std::vector<IconPicture>& icons = {});

}  // namespace torvane::platform
