#include "farcall/farcall_settings.h"

#include "core/ini_file.h"

namespace torvane::farcall {
namespace {

std::string Cut(std::string_view value) {
    return std::string(value.substr(0, std::min(value.size(), core::kMaxProfileValue)));
}

}  // namespace

LaunchSettings ReadSettings(std::string_view file) {
    return {core::GetPrivateProfileString("Settings", "UCCPath", "", file),
            core::GetPrivateProfileString("Settings", "CmdLine", "", file)};
}

void WriteSettings(const LaunchSettings& settings, std::string_view file) {
    core::WritePrivateProfileString("Settings", "UCCPath", Cut(settings.toolDirectory), file);
    core::WritePrivateProfileString("Settings", "CmdLine", Cut(settings.parameters), file);
}

}  // namespace torvane::farcall
