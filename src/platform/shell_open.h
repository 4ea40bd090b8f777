#pragma once

#include <string>

// Opens a program or document as the desktop would, and waits until it has ended: an executable
// file runs directly, anything else through xdg-open. A name without a path is taken from the
// current directory. False when it could not be started or xdg-open could not open it.
namespace torvane::platform {

bool ShellOpenAndWait(const std::string& file, const std::string& parameters);

}  // namespace torvane::platform
