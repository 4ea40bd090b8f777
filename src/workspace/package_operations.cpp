#include "workspace/package_operations.h"

#include <stdexcept>

#include "build/console_app.h"
#include "core/interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "platform/game_paths.h"
#include "project/project_session.h"
#include "unrealpkg/ut_packages.h"
#include "workspace/class_browser.h"
#include "workspace/class_operations.h"

namespace torvane::workspace {
namespace {

bool ProjectOpen(const PackageOperationsContext& context) {
    return context.project && context.project->project().IsOpen();
}

void Status(const PackageOperationsContext& context, const std::string& text) {
    if (context.status) context.status->SetWorkspaceStatus(text);
}

// A line of "Others" names one directory inside the package, never a path elsewhere.
bool IsPlainDirectoryName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

std::string Quoted(const std::string& word) {
    return word.find_first_of(" \t") == std::string::npos ? word : "\"" + word + "\"";
}

// <dir>/<stem>.u -> (dir, stem)
std::pair<std::string, std::string> SplitPackageFile(const std::string& packageFile) {
    auto [directory, name] = platform::SplitLastSeparator(packageFile);
    if (core::EndsWithIgnoringCase(name, ".u")) name.resize(name.size() - 2);
    return {directory, name};
}

// Puts the original package back after the tool did not write a new one.
void RestorePackage(const std::string& packageFile, const std::string& saved) {
    if (platform::FileExists(packageFile)) platform::DeleteFile(packageFile);
    platform::RenameFile(saved, packageFile);
}

}  // namespace

bool RemovePackage(const PackageOperationsContext& context, const std::string& name) {
    ClassBrowser& browser = *context.browser;
    if (browser.IndexOfEditPackage(name) < 0) return false;
    bool relied = false;
    browser.objectTree().Walk([&](const ClassNode& node) {
        relied = node.parent && node.parent->entry.package == name && node.entry.package != name;
        return !relied;
    });
    if (relied) {
        context.prompter->Information(
            "Other packages rely on the package you are trying to remove.  Please remove them first");
        return false;
    }
    if (ProjectOpen(context)) {
        for (const project::PackageNode& node : context.project->packages()) {
            if (node.name == name) {
                context.prompter->Information("Your current project relies on " + name +
                                              ".  Please close the project first");
                return false;
            }
        }
    }
    const std::size_t before = browser.editPackages().size();
    browser.RemoveEditPackage(name);
    if (context.treesChanged) context.treesChanged();
    return browser.editPackages().size() < before;
}

void InstallPackages(ClassBrowser& browser, const std::vector<std::string>& names) {
    for (const std::string& name : names) browser.AddEditPackage(name);
}

bool MoveEditPackage(const PackageOperationsContext& context, std::size_t dragged, std::optional<std::size_t> target) {
    if (context.prompter->Confirm("Warning!  Adjusting the order of the EditPackages may cause some classes to no "
                                  "longer compile.  Continue?",
                                  core::Buttons::YesNo) != core::Answer::Yes) {
        return false;
    }
    if (!target || *target == dragged) return false;
    return context.browser->MoveEditPackage(dragged, *target);
}

bool CreatePackage(const PackageOperationsContext& context, const NewPackageRequest& request) {
    ClassBrowser& browser = *context.browser;
    core::Prompter& prompter = *context.prompter;
    const std::string& name = request.name;
    if (browser.IndexOfEditPackage(name) >= 0) {
        prompter.Information("Sorry, but that package already exists.");
        return false;
    }
    const std::string& gameRoot = browser.context().install.gameRoot();
    const std::string directory = platform::ResolveGamePath(gameRoot, "\\" + name);
    if (platform::DirectoryExists(directory)) {  // an empty name names the game root itself
        prompter.Information("That package is already available.  Please import it instead!");
        return false;
    }
    if (!IsUnrealName(name)) {
        prompter.Information("\"" + name + "\" is not a valid package name: use letters, digits and underscores.");
        return false;
    }
    Status(context, "Creating Directory Structure");
    bool failed = !platform::CreateDirectories(directory);
    std::vector<std::string> subdirectories{"Classes"};
    const std::pair<bool, const char*> boxes[] = {
        {request.textures, "Textures"}, {request.sounds, "Sounds"}, {request.music, "Music"}, {request.models, "Models"}};
    for (const auto& [checked, subdirectory] : boxes) {
        if (checked) subdirectories.emplace_back(subdirectory);
    }
    if (request.others) {
        for (const std::string& line : request.otherLines) {
            const std::string other(core::Trim(line));
            if (other.empty()) continue;
            if (IsPlainDirectoryName(other)) {
                subdirectories.push_back(other);
            } else {
                failed = true;  // not created: it would lie outside the package
            }
        }
    }
    for (const std::string& subdirectory : subdirectories) {
        if (!platform::CreateDirectories(directory + "/" + subdirectory)) failed = true;
    }
    if (failed) {
        if (!platform::DirectoryExists(directory)) {
            Status(context, "");
            prompter.Information("The package could not be created.");
            return false;
        }
        prompter.Information("One or more directories in this package could not be created.");
    }
    browser.AddEditPackage(name);
    if (ProjectOpen(context)) {
        context.project->AddNewPackage(name);
        context.project->project().modified = true;
    }
    Status(context, "");
    return true;
}

std::vector<std::string> ImportablePackages(const ClassBrowser& browser) {
    const std::string& gameRoot = browser.context().install.gameRoot();
    platform::ListFilter plainDirectories;
    plainDirectories.files = false;
    plainDirectories.directories = true;
    plainDirectories.includeReadOnly = false;
    plainDirectories.includeHidden = false;
    std::vector<std::string> names;
    for (const platform::DirectoryEntry& entry : platform::ListDirectory(gameRoot, "*", plainDirectories)) {
        if (browser.IndexOfEditPackage(entry.name) >= 0) continue;
        if (platform::DirectoryExists(platform::ResolveGamePath(gameRoot, "\\" + entry.name + "\\Classes"))) {
            names.push_back(entry.name);
        }
    }
    return names;
}

void ImportPackages(const PackageOperationsContext& context, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (context.browser->IndexOfEditPackage(name) < 0) context.browser->AddEditPackage(name);
    }
    context.prompter->Information("Packages add.  Torvane must rebuild it's class tree!");
}

std::uint32_t ReadPackageFlags(const platform::GameInstall& install, const std::string& package) {
    const std::string file = install.FindPackageFile(package);
    if (file.empty()) throw platform::FileError("The package " + package + ".u could not be found.");
    return unrealpkg::TUTPackage(file).PackageFlags;
}

std::string PackageFlagOptions(std::uint32_t flags) {
    static constexpr std::pair<const char*, const char*> kOptions[kPackageFlagCount] = {
        {"+AllowDownload", "-Allowdownload"},   {"+ClientOptional", "-ClientOptional"},
        {"+ServerSideOnly", "-ServerSideOnly"}, {"+BrokenLinks", "-BrokenLinks"},
        {"+Unsecure", "-Unsecure"},
    };
    std::string text;
    for (int bit = 0; bit < kPackageFlagCount; ++bit) {
        if (bit > 0) text += " ";
        text += (flags & (1u << bit)) ? kOptions[bit].first : kOptions[bit].second;
    }
    return text;
}

PackageFlagCommand PackageFlagCommandFor(const platform::GameInstall& install, const std::string& packageFile,
                                         std::uint32_t flags) {
    const auto [directory, stem] = SplitPackageFile(packageFile);
    PackageFlagCommand command;
    command.workingDirectory = install.tool().workingDirectory.empty() ? directory : install.tool().workingDirectory;
    std::string source = stem + ".v";
    std::string target = stem + ".u";
    if (!platform::SameFile(command.workingDirectory, directory)) {
        source = Quoted(directory + "/" + source);
        target = Quoted(directory + "/" + target);
    }
    command.parameters = "packageflag " + source + " " + target + " " + PackageFlagOptions(flags);
    return command;
}

void SetPackageFlags(const platform::GameInstall& install, const std::string& package, std::uint32_t flags,
                     core::OutputLog& log, core::Prompter& prompter) {
    const std::string packageFile = install.FindPackageFile(package);
    if (packageFile.empty()) throw platform::FileError("The package " + package + ".u could not be found.");
    const auto [directory, stem] = SplitPackageFile(packageFile);
    const std::string saved = directory + "/" + stem + ".v";
    std::string error;
    if (platform::FileExists(saved) && !platform::DeleteFile(saved, &error)) {
        throw platform::FileError("Cannot delete \"" + saved + "\". " + error);
    }
    if (!platform::RenameFile(packageFile, saved, &error)) {
        throw platform::FileError("Cannot rename \"" + packageFile + "\". " + error);
    }
    const PackageFlagCommand command = PackageFlagCommandFor(install, packageFile, flags);
    build::RunOptions options;
    options.workingDirectory = command.workingDirectory;
    options.environment = install.tool().environment;
    std::vector<std::string> output;
    std::size_t shown = 0;
    std::uint32_t exitCode = 0;
    try {
        // The tool's lines go to the log as they come; a line still being written is replaced.
        exitCode = build::RunConsoleProgram(install.tool().program, command.parameters, output,
                                            [&](std::vector<std::string>& lines) {
                                                if (lines.size() > shown) {
                                                    log.AppendLine(lines.back());
                                                    shown = lines.size();
                                                } else {
                                                    log.ReplaceLastLine(lines.back());
                                                }
                                                log.ScrollToEnd();
                                            },
                                            options);
    } catch (...) {
        RestorePackage(packageFile, saved);
        throw;
    }
    if (exitCode != 0 || !platform::FileExists(packageFile)) {
        RestorePackage(packageFile, saved);
        throw std::runtime_error("The game's tool did not set the flags of " + packageFile + " (exit code " +
                                 std::to_string(exitCode) + "); the package is as it was.");
    }
    prompter.Information("Done");
}

}  // namespace torvane::workspace
