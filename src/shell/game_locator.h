#pragma once

#include <functional>
#include <optional>
#include <string>

namespace torvane::core {
class Prompter;
}

// Finding the game root at start-up: the stored path when it holds a System directory, else a
// located install the user agrees to, else a folder the user chooses.
namespace torvane::shell {

// Shows the folder browser; returns the chosen folder or nullopt when cancelled. The browser
// enables OK only for folders that hold a "system" sub-directory.
using FolderChooser = std::function<std::optional<std::string>()>;

struct GameLocation {
    std::string gameRoot;
    bool changed = false;  // not the stored path: UTPath is to be written
};

// nullopt: the user cancelled; "Torvane doesn't work without UT!" has been shown.
std::optional<GameLocation> LocateGame(const std::string& storedPath,
                                       const std::string& locatedInstall,
                                       core::Prompter& prompter, const FolderChooser& chooseFolder);

}  // namespace torvane::shell
