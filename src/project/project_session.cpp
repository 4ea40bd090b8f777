#include "project/project_session.h"

#include "core/interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "shell/settings_file.h"
#include "unrealpkg/export_progress.h"
#include "unrealpkg/package_export.h"
#include "workspace/class_browser.h"

namespace torvane::project {

ProjectSession::ProjectSession(ProjectSessionContext context) : context_(std::move(context)) {}

std::string ProjectSession::RootCaption() const {
    return project_.IsOpen() ? project_.name + ".tvx" : "<None>";
}

void ProjectSession::Status(const std::string& text) {
    if (context_.status) context_.status->SetWorkspaceStatus(text);
}

void ProjectSession::SetLastProject(const std::string& path) {
    if (context_.settings) context_.settings->WriteIniString("Preferences", "LastProject", path);
}

bool ProjectSession::IsEditPackage(const std::string& name) const {
    return context_.browser && context_.browser->IndexOfEditPackage(name) >= 0;
}

std::string ProjectSession::Save() {
    if (!project_.IsOpen() || !project_.modified) return {};
    Status("Saving Project");
    const std::string path = ProjectFilePath(context_.programDirectory, project_.name);
    project_.packages.clear();
    for (const auto& node : packages_) project_.packages.push_back(node.name);
    WriteProjectFile(project_, path);
    Status("Project Saved...");
    project_.modified = false;
    SetLastProject(path);
    return path;
}

void ProjectSession::OfferSave(const char* question) {
    if (project_.IsOpen() && project_.modified &&
        context_.prompter->Confirm(question, core::Buttons::YesNo) == core::Answer::Yes) {
        Save();
    }
}

void ProjectSession::ExportPackage(const std::string& name) {
    const workspace::ClassBrowserContext& browser = context_.browser->context();
    unrealpkg::PackageExportServices services;
    services.prompter = context_.prompter;
    services.log = browser.log;
    services.pump = browser.pump;
    services.progress = browser.exportProgress;
    if (services.progress) {
        services.progress->Start();
        services.progress->ShowPackage(name);
    }
    try {
        unrealpkg::ExportCompiledPackage(browser.install, name, unrealpkg::PackageExportOptions{}, services);
    } catch (const std::exception& e) {
        // The project still opens; the package shows what it has.
        context_.prompter->Error(e.what());
    }
    if (services.progress) services.progress->Finish(250);
}

bool ProjectSession::Load(const std::string& path) {
    if (context_.status) context_.status->SetSplashStatus(" Loading Project " + path);
    OfferSave("Save changes to the current project?");
    Status("Loading Project");
    try {
        ReadProjectFile(path, context_.gameRoot, project_);
    } catch (const std::exception& e) {
        context_.prompter->Error(e.what());
        return false;
    }
    packages_.clear();
    for (const std::string& name : project_.packages) {
        const bool exported = platform::DirectoryExists(
            platform::ResolveGamePath(context_.gameRoot, "\\" + name + "\\Classes"));
        if (!exported) {
            if (!IsEditPackage(name)) {
                context_.prompter->Information("A package in this project no longer exists.");
                continue;
            }
            if (context_.prompter->Confirm("The package " + name + " is installed, but not exported.  Export now?",
                                           core::Buttons::YesNo) != core::Answer::Yes) {
                continue;
            }
            ExportPackage(name);
        }
        if (!IsEditPackage(name) &&
            context_.prompter->Confirm("The package " + name + " is not in your EditPackages.  Add it?",
                                       core::Buttons::YesNo) == core::Answer::Yes) {
            // The package stays in the project either way, so a configuration that cannot be
            // written is reported and the load goes on.
            try {
                context_.browser->AddEditPackage(name);
            } catch (const std::exception& e) {
                context_.prompter->Error(e.what());
            }
        }
        packages_.push_back({name, FillPackageNode(context_.gameRoot, name)});
    }
    project_.modified = false;
    Status("");
    label_ = path;
    SetLastProject(path);
    return true;
}

void ProjectSession::Close() {
    OfferSave("Save changes to the current project?");
    project_ = Project{};
    packages_.clear();
    label_ = "No Project Loaded...";
    SetLastProject("");
}

Project ProjectSession::NewProjectDefaults() const {
    Project p;
    p.backupSrc = true;
    p.backupPkg = true;
    p.noRevisions = 1;
    p.backupDir = platform::JoinPath(context_.gameRoot, "\\System\\PkgBackup");
    if (context_.browser) p.includePacks = context_.browser->EditPackageNames();
    return p;
}

bool ProjectSession::ValidateNewProject(const std::string& name) {
    if (name.empty()) {
        context_.prompter->Information("You need to name your project.");
        return false;
    }
    if (platform::FileExists(ProjectFilePath(context_.programDirectory, name))) {
        return context_.prompter->Confirm("A project with this name already exists!  Overwrite it?",
                                          core::Buttons::YesNo) == core::Answer::Yes;
    }
    const std::string backup = platform::ResolveGamePath(context_.gameRoot, "\\System\\PkgBackup");
    if (!platform::DirectoryExists(backup)) {
        if (context_.prompter->Confirm("The backup directory does not exist!  Create it now?",
                                       core::Buttons::YesNo) != core::Answer::Yes) {
            return false;
        }
        if (!platform::CreateDirectories(backup)) {
            context_.prompter->Information("Could not create backup directory.");
            return false;
        }
    }
    return true;
}

void ProjectSession::ApplyNew(Project values) {
    values.modified = true;
    values.packages.clear();
    project_ = std::move(values);
    packages_.clear();
    label_ = project_.name;
}

void ProjectSession::ApplySettings(const Project& values) {
    const std::string name = project_.name;
    const std::vector<std::string> packages = project_.packages;
    project_ = values;
    project_.name = name;
    project_.packages = packages;
    project_.modified = true;
}

std::vector<std::string> ProjectSession::InstalledPackages() const {
    platform::ListFilter directories;
    directories.files = false;
    directories.directories = true;
    directories.includeHidden = false;
    std::vector<std::string> names;
    for (const auto& entry : platform::ListDirectory(context_.gameRoot, "*", directories)) {
        if (platform::DirectoryExists(platform::ResolveGamePath(context_.gameRoot, "\\" + entry.name + "\\Classes"))) {
            names.push_back(entry.name);
        }
    }
    return names;
}

void ProjectSession::ImportPackages(const std::vector<std::string>& names) {
    Status("Building Project");
    for (const std::string& name : names) {
        bool present = false;
        for (const auto& node : packages_) present = present || core::EqualsIgnoringCase(node.name, name);
        if (present) {
            context_.prompter->Information("Package " + name + " is already in the project.");
        } else {
            packages_.push_back({name, FillPackageNode(context_.gameRoot, name)});
        }
    }
    project_.modified = true;
    Status("");
    for (const std::string& name : names) {
        if (context_.browser && !IsEditPackage(name)) context_.browser->AddEditPackage(name);
    }
}

bool ProjectSession::RemovePackage(std::size_t index) {
    if (!project_.IsOpen() || index >= packages_.size()) return false;
    if (context_.prompter->Confirm("Are you sure you wish to remove this package from the project?",
                                   core::Buttons::YesNo) == core::Answer::No) {
        return false;
    }
    packages_.erase(packages_.begin() + static_cast<std::ptrdiff_t>(index));
    project_.modified = true;
    return true;
}

bool ProjectSession::AddProjectFile(const std::string& package, const std::string& group,
                                    const std::string& file) {
    for (auto& node : packages_) {
        if (!core::EqualsIgnoringCase(node.name, package)) continue;
        for (auto& g : node.contents.groups) {
            if (!core::EqualsIgnoringCase(g.name, group)) continue;
            if (core::ContainsIgnoringCase(g.files, file)) return false;
            g.files.push_back(file);
            return true;
        }
        node.contents.groups.push_back({group, {file}});
        return true;
    }
    return false;
}

bool ProjectSession::AddClassFile(const std::string& package, const std::string& file) {
    for (auto& node : packages_) {
        if (!core::EqualsIgnoringCase(node.name, package)) continue;
        for (auto& group : node.contents.groups) {
            if (group.name == "Classes") {
                group.files.push_back(file);
                return true;
            }
        }
        return false;
    }
    return false;
}

void ProjectSession::AddNewPackage(const std::string& package) {
    PackageNode node{package, {}};
    node.contents.groups.push_back({"Classes", {}});
    for (const char* group : {"Models", "Sounds", "Textures"}) {
        if (platform::DirectoryExists(platform::ResolveGamePath(context_.gameRoot, "\\" + package + "\\" + group))) {
            node.contents.groups.push_back({group, {}});
        }
    }
    packages_.push_back(std::move(node));
}

bool ProjectSession::RemoveLastFile(const std::string& file) {
    for (auto node = packages_.rbegin(); node != packages_.rend(); ++node) {
        if (node->contents.intFile && core::EqualsIgnoringCase(*node->contents.intFile, file)) {
            node->contents.intFile.reset();
            return true;
        }
        for (auto group = node->contents.groups.rbegin(); group != node->contents.groups.rend(); ++group) {
            for (auto it = group->files.rbegin(); it != group->files.rend(); ++it) {
                if (core::EqualsIgnoringCase(*it, file)) {
                    group->files.erase(std::next(it).base());
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace torvane::project
