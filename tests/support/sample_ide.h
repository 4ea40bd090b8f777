#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/interaction.h"
#include "platform/file_ops.h"
#include "shell/tmain.h"
#include "support/temp_dir.h"

// Window tests that start the IDE on a copy of the sample game.
namespace torvane::testing {

// Writes dir/prog/Torvane.ini naming the game root, with more [Preferences] lines when given, and
// returns options with the program directory dir/prog, the prompter, and a terminate that fails
// the test.
inline shell::TMainOptions GameOptions(const TempDir& dir, core::Prompter& prompter, const std::string& gameRoot,
                                       const std::string& preferences = "") {
    platform::CreateDirectories(dir.Path("prog"));
    dir.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + gameRoot + "\r\n" + preferences);
    shell::TMainOptions options;
    options.paths = {dir.Path("prog"), dir.Path("prog")};
    options.prompter = &prompter;
    options.terminate = [](int) { FAIL() << "terminated"; };
    return options;
}

// Copies the sample game into dir ("game") and returns GameOptions for it. The game root is
// stored in gameRoot.
inline shell::TMainOptions SampleGameOptions(const TempDir& dir, core::Prompter& prompter, std::string& gameRoot) {
    gameRoot = CopySampleGame(dir);
    return GameOptions(dir, prompter, gameRoot);
}

}  // namespace torvane::testing
