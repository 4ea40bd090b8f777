#include "shell/game_locator.h"

#include "core/interaction.h"
#include "platform/file_ops.h"
#include "platform/game_install_locator.h"

namespace torvane::shell {

std::optional<GameLocation> LocateGame(const std::string& storedPath,
                                       const std::string& locatedInstall,
                                       core::Prompter& prompter,
                                       const FolderChooser& chooseFolder) {
    if (!storedPath.empty() && platform::HasSystemDirectory(storedPath)) {
        return GameLocation{storedPath, false};
    }
    if (!locatedInstall.empty()) {
        const std::string question =
            "Torvane needs to know where to find Unreal Tournament.  Do you wish to set your "
            "default UT path to \"" + locatedInstall + "\"?";
        if (prompter.Confirm(question, core::Buttons::YesNo) == core::Answer::Yes) {
            return GameLocation{locatedInstall, true};
        }
    }
    if (const auto folder = chooseFolder()) return GameLocation{*folder, true};
    prompter.Information("Torvane doesn't work without UT!");
    return std::nullopt;
}

}  // namespace torvane::shell
