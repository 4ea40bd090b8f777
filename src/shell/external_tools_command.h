#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

// torvane-cli tools: the user's own tools of a settings file ("Torvane.ini") without windows.
namespace torvane::shell {

// Prints one line per tool, as the Tools menu lists them: the index, the description and the
// command line, separated by tabs. Exit status 0, or 1 when the settings file does not exist.
int ListToolsCommand(const std::string& settingsFile, std::ostream& out, std::ostream& err);

struct RunToolOptions {
    std::string settingsFile;
    int index = 0;
    std::string gameRoot;             // empty: the settings' UTPath
    std::vector<std::string> tokens;  // "NAME=VALUE", after the settings' own tokens
};

// Runs tool <index> as its menu item does: a program is started and waited for, a macro's line
// runs through the script interpreter with the settings' tokens (and the given ones), its log on
// out. Unlike the menu item it reports what went wrong: exit status 1 with one line on err when
// there is no such tool, its command line is empty, the program could not be started or an error
// ended the macro.
int RunToolCommand(const RunToolOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace torvane::shell
