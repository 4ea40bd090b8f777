#pragma once

#include <string>

// Opens a program or document as the desktop would, and waits until it has ended: an executable
// file runs directly, a Windows program through wine, anything else through xdg-open. A name
// without a path is taken from the current directory. False when it could not be started (also a
// Windows program without wine) or xdg-open could not open it.
namespace torvane::platform {

bool ShellOpenAndWait(const std::string& file, const std::string& parameters);

}  // namespace torvane::platform
