#pragma once

namespace torvane::shell {

class CommandRegistry;

// Gives the registered commands their icons (shell/icons.h): the toolbars and menus show them.
// Commands not registered yet are left out; the window that registers them later calls it again.
void GiveCommandIcons(CommandRegistry& commands);

}  // namespace torvane::shell
