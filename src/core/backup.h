#pragma once

#include <string>
#include <string_view>

// The "~" backup made before a file is overwritten.
namespace torvane::core {

// The backup name: a "~" inserted directly after the dot that begins the extension
// ("Engine.uc" -> "Engine.~uc", "UnrealTournament.ini" -> "UnrealTournament.~ini"). A name
// without extension (no dot after its first character) gets the "~" appended ("NONAME1" ->
// "NONAME1~", ".bashrc" -> ".bashrc~"), so a backup never collides with another file's name.
std::string BackupName(std::string_view path);

// Copies an existing file over its backup; failures (no file yet, no permission) are ignored.
// Returns whether a backup was written.
bool BackupFile(std::string_view path);

}  // namespace torvane::core
