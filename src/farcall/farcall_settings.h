#pragma once

#include <string>
#include <string_view>

#include "farcall/farcall_service.h"

// "Farcall.ini" in the working directory: [Settings] UCCPath and CmdLine.
namespace torvane::farcall {

inline constexpr const char* kSettingsFile = "Farcall.ini";

LaunchSettings ReadSettings(std::string_view file = kSettingsFile);
// Values longer than 254 characters are cut, as the file keeps no more.
void WriteSettings(const LaunchSettings& settings, std::string_view file = kSettingsFile);

}  // namespace torvane::farcall
