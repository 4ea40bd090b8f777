#pragma once

#include <string>
#include <string_view>
#include <vector>

// How a program file is started on Linux: a native program (ELF) or a script with "#!" directly,
// a Windows image ("MZ") through wine when wine is installed.
namespace torvane::platform {

enum class ProgramFileKind { Native, Script, WindowsImage, Unknown };

ProgramFileKind SniffProgramFile(std::string_view path);

// The argv prefix that runs the program file: {path} or {wine, path}. Empty when the file is a
// Windows image and wine is not installed.
std::vector<std::string> ProgramCommand(std::string_view path);

}  // namespace torvane::platform
