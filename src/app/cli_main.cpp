// torvane-cli: the IDE's logic without windows.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/pkg_verify_command.h"
#include "build/compile_command.h"
#include "build/script_command.h"
#include "core/ini_file.h"
#include "editor/find_command.h"
#include "intel/intel_commands.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "shell/external_tools_command.h"
#include "unrealpkg/package_commands.h"
#include "workspace/class_commands.h"
#include "workspace/package_list_command.h"

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
    bool describeInstall = false;
    auto* gameConfig =
        app.add_subcommand("game-config", "Print the game configuration file the tool reads");
    gameConfig->add_option("root", gameRoot, "Game root")->required();
    gameConfig->add_flag("--describe", describeInstall,
                         "Also name the tool, and where it writes and finds compiled packages");

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

    std::string packageFile, objectPath;
    bool flat = false, all = false, bodyOnly = false, noLoops = false;
    auto* pkg = app.add_subcommand("pkg", "Read compiled packages (.u, .utx, .uax, ...)");
    pkg->require_subcommand(1);
    auto* pkgInfo = pkg->add_subcommand("info", "Header, counts, exports and imports");
    pkgInfo->add_option("file", packageFile)->required();
    auto* pkgProps = pkg->add_subcommand("props", "Tagged properties of one object");
    pkgProps->add_option("file", packageFile)->required();
    pkgProps->add_option("path", objectPath, "Full path, e.g. MyMod.MyClass")->required();
    auto* pkgDecompile = pkg->add_subcommand("decompile", "The whole declaration of a class, function or state");
    pkgDecompile->add_option("file", packageFile)->required();
    auto* pathOption = pkgDecompile->add_option("path", objectPath, "Full path, e.g. MyMod.MyClass.MyFunction");
    auto* allFlag = pkgDecompile->add_flag("--all", all, "Decompile every body of the package, report failures");
    pathOption->excludes(allFlag);
    pkgDecompile->add_flag("--flat", flat, "Print jumps as labelled gotos");
    pkgDecompile->add_flag("--body", bodyOnly, "Only the body's statements");
    pkgDecompile->add_flag("--no-loops", noLoops,
                           "With --body or --all: loops as labels and gotos (if, switch and foreach stay blocks)");
    PkgVerifyArguments verifyArguments;
    auto* pkgVerify = AddPkgVerifyCommand(*pkg, verifyArguments);
    torvane::unrealpkg::PackageExportRequest exportRequest;
    auto* pkgExport = pkg->add_subcommand("export", "Write the package's sources (and resources) as the IDE's export does");
    pkgExport->add_option("file", exportRequest.file)->required();
    pkgExport->add_option("--out", exportRequest.outDirectory, "The package's source folder")->required();
    pkgExport->add_flag("--graphics", exportRequest.graphics, "Textures as Textures/<Name>.bmp");
    pkgExport->add_flag("--sounds", exportRequest.sounds, "Sounds as Sounds/<Name>.wav");
    pkgExport->add_flag("--rebuild", exportRequest.rebuild, "Rebuild every class, ignoring embedded source text");
    pkgExport->add_flag("--yes", exportRequest.overwriteChanged, "Overwrite changed files (after a backup)");

    std::string scanGame, scanCaches, scanPrint;
    auto* classes = app.add_subcommand("classes", "Scan the class headers of every EditPackages package");
    classes->add_option("--game", scanGame, "Game root")->required();
    classes->add_option("--caches", scanCaches, "Write the tree caches and Packages.ucd here");
    classes->add_option("--print", scanPrint, "Print a tree")
        ->check(CLI::IsMember({"object", "actor", "package"}));

    std::string defaultsGame, defaultsClass, defaultsPackage;
    auto* defaults = app.add_subcommand("defaults", "Print a class's default properties from the sources");
    defaults->add_option("--game", defaultsGame, "Game root")->required();
    defaults->add_option("--package", defaultsPackage, "The class's package (else the first class of the name)");
    defaults->add_option("class", defaultsClass, "Class name")->required();

    // The package commands of the workspace's "System" page.
    namespace workspace = torvane::workspace;
    workspace::PackagesCommand packagesCommand;
    auto* packages = app.add_subcommand("packages", "The game's EditPackages list and the package commands");
    packages->require_subcommand(1);
    const auto packagesAction = [&](const char* name, const char* description,
                                    workspace::PackagesCommand::Action action) {
        auto* command = packages->add_subcommand(name, description);
        command->add_option("--game", packagesCommand.gameRoot, "Game root")->required();
        command->callback([&packagesCommand, action] { packagesCommand.action = action; });
        return command;
    };
    using PackagesAction = workspace::PackagesCommand::Action;
    packagesAction("list", "The EditPackages entries with the time their .u changed", PackagesAction::List);
    packagesAction("importable", "Package directories with classes that the list lacks", PackagesAction::Importable);
    packagesAction("install", "Add packages to the list (after its last EditPackages line)", PackagesAction::Install)
        ->add_option("name", packagesCommand.names, "Package names")->required();
    packagesAction("remove", "Remove a package from the list, unless other packages build on it",
                   PackagesAction::Remove)
        ->add_option("name", packagesCommand.names, "Package name")->required()->expected(1);
    auto* packagesMove = packagesAction("move", "Put a package before another in the list", PackagesAction::Move);
    packagesMove->add_option("name", packagesCommand.names, "Package name")->required()->expected(1);
    packagesMove->add_option("--before", packagesCommand.before, "The entry it goes before")->required();
    packagesMove->add_flag("--yes", packagesCommand.yes, "Answer the warning about the order with Yes");
    auto* packagesNew =
        packagesAction("new", "Create a package's directories and add it to the list", PackagesAction::New);
    packagesNew->add_option("name", packagesCommand.names, "Package name")->required()->expected(1);
    packagesNew->add_flag("--textures", packagesCommand.newPackage.textures, "Also a Textures directory");
    packagesNew->add_flag("--sounds", packagesCommand.newPackage.sounds, "Also a Sounds directory");
    packagesNew->add_flag("--music", packagesCommand.newPackage.music, "Also a Music directory");
    packagesNew->add_flag("--models", packagesCommand.newPackage.models, "Also a Models directory");
    packagesNew->add_option("--other", packagesCommand.newPackage.otherLines, "Another directory (repeatable)");
    auto* packagesFlags = packagesAction("flags", "Print a compiled package's flags, or set them with the game's tool",
                                         PackagesAction::Flags);
    packagesFlags->add_option("name", packagesCommand.names, "Package name")->required()->expected(1);
    packagesFlags->add_option("--set", packagesCommand.setFlags,
                              "A flag to set: AllowDownload, ClientOptional, ServerSideOnly, BrokenLinks, Unsecure");
    packagesFlags->add_option("--clear", packagesCommand.clearFlags, "A flag to clear");

    std::string compileGame, compileProject;
    std::vector<std::string> compileTokens;
    bool compileYes = false;
    auto* compile = app.add_subcommand("compile", "Compile with the game's tool, as the IDE does");
    compile->add_option("--game", compileGame, "Game root")->required();
    compile->add_option("--project", compileProject, "Project file (.tvx)");
    compile->add_option("--token", compileTokens, "A token NAME=VALUE for the project's scripts (repeatable)");
    compile->add_flag("--yes", compileYes, "Answer the questions with Yes");

    std::string scriptGame, scriptProject, scriptFile;
    std::vector<std::string> scriptTokens;
    auto* script = app.add_subcommand("script", "Run a batch script");
    script->add_option("--game", scriptGame, "Game root")->required();
    script->add_option("--project", scriptProject, "Project file (.tvx)");
    script->add_option("--token", scriptTokens, "A token NAME=VALUE (repeatable)");
    script->add_option("file", scriptFile, "Script file")->required();

    std::string toolsSettings;
    torvane::shell::RunToolOptions toolOptions;
    auto* tools = app.add_subcommand("tools", "The Tools menu's own entries of a settings file (Torvane.ini)");
    tools->require_subcommand(1);
    auto* toolsList = tools->add_subcommand("list", "Print each tool: index, description and command line");
    toolsList->add_option("--settings", toolsSettings, "The settings file (Torvane.ini)")->required();
    auto* toolsRun = tools->add_subcommand("run", "Run a tool as its menu entry does");
    toolsRun->add_option("--settings", toolOptions.settingsFile, "The settings file (Torvane.ini)")->required();
    toolsRun->add_option("index", toolOptions.index, "The tool's index, from 0")->required();
    toolsRun->add_option("--game", toolOptions.gameRoot, "Game root for a macro (default: the settings' UTPath)");
    toolsRun->add_option("--token", toolOptions.tokens, "Another token NAME=VALUE for a macro (repeatable)");

    torvane::editor::FindCommandOptions findOptions;
    auto* find = app.add_subcommand("find", "Find in files: every source line holding a text, any letter case");
    find->add_option("--game", findOptions.gameRoot, "Game root")->required();
    find->add_option("--location", findOptions.location,
                     "All Objects (objects), All Actors (actors), All Exported Classes (exported), "
                     "All Classes in Current Project (project), Current Branch (branch)")
        ->capture_default_str();
    find->add_option("--project", findOptions.projectFile, "Project file (.tvx) for the project's classes");
    find->add_option("--class", findOptions.branchClass, "The class whose branch Current Branch searches");
    find->add_option("text", findOptions.text, "Text to find")->required();

    torvane::intel::IntelCommandOptions intelOptions;
    std::string symbolsClass, defFile, refsName;
    int defLine = 0, defColumn = 0;
    auto* symbols = app.add_subcommand("symbols", "Index the declarations of every EditPackages class and print them");
    auto* def = app.add_subcommand("def", "Print where the name at a file's line and column is declared");
    auto* refs = app.add_subcommand("refs", "Print every reference of Class.Member (or of a class)");
    for (auto* command : {symbols, def, refs}) {
        command->add_option("--game", intelOptions.gameRoot, "Game root")->required();
        command->add_option("--cache", intelOptions.cacheDirectory, "Read and write the symbol cache here");
    }
    symbols->add_option("--class", symbolsClass, "Only this class's symbols");
    def->add_option("file", defFile, "Source file")->required();
    def->add_option("line", defLine, "Line, from 1")->required()->check(CLI::PositiveNumber);
    def->add_option("column", defColumn, "Column, from 1 (a tab is one column)")->required()->check(CLI::PositiveNumber);
    refs->add_option("name", refsName, "Class.Member, or Class")->required();

    CLI11_PARSE(app, argc, argv);

    // Every command ends here: an error that no command handled is one line on stderr and exit
    // status 2, never a signal.
    try {
        if (*symbols) return torvane::intel::RunSymbols(intelOptions, symbolsClass, std::cout, std::cerr);
        if (*def) return torvane::intel::RunDefinition(intelOptions, defFile, defLine, defColumn, std::cout, std::cerr);
        if (*refs) return torvane::intel::RunReferences(intelOptions, refsName, std::cout, std::cerr);
        if (*script) {
            return torvane::build::RunScriptCommand(scriptGame, scriptProject, scriptTokens, scriptFile, std::cin,
                                                    std::cout, std::cerr);
        }
        if (*compile) {
            return torvane::build::RunCompileCommand(compileGame, compileProject, compileTokens, compileYes, std::cin,
                                                     std::cout, std::cerr);
        }
        if (*packages) {
            packagesCommand.newPackage.others = !packagesCommand.newPackage.otherLines.empty();
            return workspace::RunPackagesCommand(packagesCommand, std::cout, std::cerr);
        }
        if (*defaults) {
            return torvane::workspace::RunDefaults(defaultsGame, defaultsClass, defaultsPackage, std::cout, std::cerr);
        }
        if (*find) return torvane::editor::RunFindCommand(findOptions, std::cout, std::cerr);
        if (*toolsList) return torvane::shell::ListToolsCommand(toolsSettings, std::cout, std::cerr);
        if (*toolsRun) return torvane::shell::RunToolCommand(toolOptions, std::cin, std::cout, std::cerr);
        if (*classes) {
            return torvane::workspace::RunClassScan(scanGame, scanCaches, scanPrint, std::cout, std::cerr);
        }

        namespace unrealpkg = torvane::unrealpkg;
        if (*pkgInfo) return unrealpkg::PrintPackageInfo(packageFile, std::cout, std::cerr);
        if (*pkgProps) return unrealpkg::PrintProperties(packageFile, objectPath, std::cout, std::cerr);
        if (*pkgVerify) return RunPkgVerifyCommand(verifyArguments);
        if (*pkgDecompile) {
            const unrealpkg::BodyPrintMode mode{!flat, !flat && !noLoops};
            if (all) return unrealpkg::PrintAllDecompiledBodies(packageFile, mode, std::cout, std::cerr);
            if (objectPath.empty()) {
                std::cerr << "torvane-cli: pkg decompile needs a path or --all\n";
                return 2;
            }
            if (bodyOnly) return unrealpkg::PrintDecompiledBody(packageFile, objectPath, mode, std::cout, std::cerr);
            if (noLoops) {
                std::cerr << "torvane-cli: --no-loops applies to --body and --all\n";
                return 2;
            }
            return unrealpkg::PrintDeclaration(packageFile, objectPath, mode, std::cout, std::cerr);
        }
        if (*pkgExport) return unrealpkg::ExportPackageCommand(exportRequest, std::cout, std::cerr);

        if (*gameConfig) {
            const auto install = platform::GameInstall::Detect(gameRoot);
            if (describeInstall) {
                for (const std::string& line : install.Describe()) std::cout << line << "\n";
            } else {
                std::cout << install.configPath() << "\n";
            }
            if (!platform::FileExists(install.configPath())) {
                std::cerr << "torvane-cli: " << install.configPath() << " does not exist\n";
                return 1;
            }
        } else if (*iniGet) {
            std::cout << core::GetPrivateProfileString(section, key, "", file) << "\n";
        } else if (*iniSet) {
            try {
                core::WritePrivateProfileString(section, key, value, file);
            } catch (const std::exception& e) {
                std::cerr << "torvane-cli: " << e.what() << "\n";
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "torvane-cli: " << e.what() << "\n";
        return 2;
    }
    return 0;
}
