#pragma once

#include <QIcon>
#include <string_view>

// The program's icons. Commands, trees and windows name their icons as the freedesktop icon
// themes do ("document-open", "edit-cut", ...) and get them from the desktop's theme through Qt's
// theme lookup; the Tango theme (a Debian package) fills in what the desktop's theme lacks, and
// the pictures bundled in the resources ("torvane-*": compiling, window arrangements, class,
// actor and project nodes, the program itself) stand in for what no theme has.
namespace torvane::shell {

// Chooses Tango where the desktop names no theme of its own, and as the fallback theme always.
void UseIconTheme();
// The theme's icon of that name, else the bundled picture of that name, else an empty icon.
QIcon ThemeIcon(const char* name);
// The icon of a file by its kind: UnrealScript sources, other files.
QIcon FileKindIcon(std::string_view path);
// The program's own icon (windows, the desktop entry).
QIcon ProgramIcon();
// The PNG bytes of the program's icon in a bundled size (16, 24, 32, 48, 64, 128, 256);
// empty for another size.
QByteArray ProgramIconPng(int size);

}  // namespace torvane::shell
