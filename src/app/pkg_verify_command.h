#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

// torvane-cli pkg verify FILE...: decompiled bodies against the source the packages embed.
struct PkgVerifyArguments {
    std::vector<std::string> files;
    int differencesShown = 10;
};

CLI::App* AddPkgVerifyCommand(CLI::App& pkg, PkgVerifyArguments& arguments);
int RunPkgVerifyCommand(const PkgVerifyArguments& arguments);
