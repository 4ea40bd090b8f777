// torvane-cli: the IDE's logic without windows.
#include <CLI/CLI.hpp>

#include <iostream>

#include "core/ini_file.h"
#include "platform/file_ops.h"
#include "platform/game_config.h"

namespace {

namespace core = torvane::core;
namespace platform = torvane::platform;

constexpr const char* kVersion = "Torvane 4.0";

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Torvane command line: the IDE's logic for scripts and continuous integration"};
    app.set_version_flag("--version", kVersion);
    app.require_subcommand(1);

    std::string gameRoot;
    auto* gameConfig =
        app.add_subcommand("game-config", "Print the game configuration file the tool reads");
    gameConfig->add_option("root", gameRoot, "Game root")->required();

    std::string file, section, key, value;
    auto* ini = app.add_subcommand("ini", "Read or write one key of an INI file");
    ini->require_subcommand(1);
    auto* iniGet = ini->add_subcommand("get", "Print a key's value (empty when absent)");
    auto* iniSet = ini->add_subcommand("set", "Write a key, keeping every other line");
    for (auto* command : {iniGet, iniSet}) {
        command->add_option("file", file)->required();
        command->add_option("section", section)->required();
        command->add_option("key", key)->required();
    }
    iniSet->add_option("value", value)->required();

    CLI11_PARSE(app, argc, argv);

    try {
        if (*gameConfig) {
            const auto location = platform::FindGameConfigFile(gameRoot);
            std::cout << location.path << "\n";
            if (!platform::FileExists(location.path)) {
                std::cerr << "torvane-cli: " << location.path << " does not exist\n";
                return 1;
            }
        } else if (*iniGet) {
            std::cout << core::GetPrivateProfileString(section, key, "", file) << "\n";
        } else if (*iniSet) {
            core::WritePrivateProfileString(section, key, value, file);
        }
    } catch (const std::exception& e) {
        std::cerr << "torvane-cli: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
