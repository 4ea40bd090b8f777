#pragma once

#include <functional>
#include <string>
#include <vector>

#include "project/project.h"

namespace torvane::core {
class Prompter;
class StatusSink;
}
namespace torvane::shell {
class SettingsFile;
}
namespace torvane::workspace {
class ClassBrowser;
}

// The project's lifecycle: new, load, save, close, and the packages of the project tree.
namespace torvane::project {

struct PackageNode {
    std::string name;
    PackageNodeContents contents;
};

struct ProjectSessionContext {
    std::string gameRoot;
    std::string programDirectory;  // where project files are saved
    shell::SettingsFile* settings = nullptr;
    core::Prompter* prompter = nullptr;
    core::StatusSink* status = nullptr;
    workspace::ClassBrowser* browser = nullptr;  // the EditPackages list
};

class ProjectSession final {
public:
    explicit ProjectSession(ProjectSessionContext context);

    Project& project() { return project_; }
    const Project& project() const { return project_; }
    const std::vector<PackageNode>& packages() const { return packages_; }
    // "<None>" without a project, else Name + ".tvx".
    std::string RootCaption() const;
    // "No Project Loaded...", the loaded path, or the new project's name.
    const std::string& Label() const { return label_; }

    // Saves when a project is open and modified; returns the file written or "".
    std::string Save();
    // False when the file could not be read (the error is shown).
    bool Load(const std::string& path);
    void Close();
    // Asks "Save the current project?" / "Save changes ..." first when modified.
    void OfferSave(const char* question);

    // The values a new project starts with.
    Project NewProjectDefaults() const;
    // Checks a new project's name and backup directory; false keeps the dialog open.
    bool ValidateNewProject(const std::string& name);
    // Makes the dialog's values the project (a new one or the open one's settings).
    void ApplyNew(Project values);
    void ApplySettings(const Project& values);

    // Directories below the game root that hold a Classes directory.
    std::vector<std::string> InstalledPackages() const;
    void ImportPackages(const std::vector<std::string>& names);
    // Asks; removes the package node at index.
    bool RemovePackage(std::size_t index);
    // Lists file under group of the package node (both without regard to case), creating the group
    // when missing; false when the package is not in the project or the file is listed already.
    bool AddProjectFile(const std::string& package, const std::string& group, const std::string& file);
    // Appends file below the "Classes" node (exactly so captioned) of the package node captioned
    // package (any case); false when there is no such node.
    bool AddClassFile(const std::string& package, const std::string& file);
    // A node for a package just created: "Classes", and "Models", "Sounds", "Textures" for those
    // of its directories that exist.
    void AddNewPackage(const std::string& package);
    // Removes the last file node of the whole tree captioned file (any case); false when none.
    bool RemoveLastFile(const std::string& file);

private:
    void Status(const std::string& text);
    void SetLastProject(const std::string& path);
    bool IsEditPackage(const std::string& name) const;
    // The export offered for a listed package without sources (classes only, with the question
    // about an existing folder), in the progress window.
    void ExportPackage(const std::string& name);

    ProjectSessionContext context_;
    Project project_;
    std::vector<PackageNode> packages_;
    std::string label_ = "No Project Loaded...";
};

}  // namespace torvane::project
