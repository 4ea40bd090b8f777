#pragma once

#include <string>

// Opening ".uc" files with the program from the desktop: a MIME type text/x-unrealscript for
// "*.uc" and a desktop entry that starts the program with the file, both in the user's data
// directory ($XDG_DATA_HOME, default ~/.local/share). Refreshes the desktop and MIME databases
// when their tools are installed. What cannot be written is skipped silently.
namespace torvane::platform {

struct AssociationResult {
    bool desktopEntryWritten = false;
    bool mimeTypeWritten = false;
};

AssociationResult AssociateUnrealScriptFiles(const std::string& programPath,
                                             const std::string& dataHome = {});

}  // namespace torvane::platform
