#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/interaction.h"
#include "platform/file_ops.h"
#include "shell/tmain.h"
#include "support/temp_dir.h"

// Window tests that start the IDE on a copy of the sample game.
namespace torvane::testing {

// Copies the sample game into dir ("game"), writes dir/prog/Torvane.ini naming it, and returns
// options with the program directory dir/prog, the prompter, and a terminate that fails the test.
// The game root is stored in gameRoot.
inline shell::TMainOptions SampleGameOptions(const TempDir& dir, core::Prompter& prompter, std::string& gameRoot) {
    gameRoot = CopySampleGame(dir);
    platform::CreateDirectories(dir.Path("prog"));
    dir.Write("prog/Torvane.ini", "[Preferences]\r\nUTPath=" + gameRoot + "\r\n");
    shell::TMainOptions options;
    options.paths = {dir.Path("prog"), dir.Path("prog")};
    options.prompter = &prompter;
    options.terminate = [](int) { FAIL() << "terminated"; };
    return options;
}

}  // namespace torvane::testing
