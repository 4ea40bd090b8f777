#pragma once

#include <string>

// Opens a program or document as the desktop would, and waits until it has ended: an executable
// file runs directly, anything else through xdg-open. False when it could not be started.
namespace torvane::platform {

bool ShellOpenAndWait(const std::string& file, const std::string& parameters);

}  // namespace torvane::platform
