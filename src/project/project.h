#pragma once

#include <optional>
#include <string>
#include <vector>

// The open project: the packages a mod author works on and the settings for compiling and
// testing them. Open when Name is not empty.
namespace torvane::project {

struct Project {
    std::string name;
    std::string testParams;
    bool useUCC = false;
    bool backupSrc = false;
    bool backupPkg = false;
    int noRevisions = 1;
    std::string backupDir;
    bool openLog = false;
    bool userInclude = false;
    std::vector<std::string> includePacks;
    bool doPreBatch = false;
    std::vector<std::string> preBatch;
    bool doPostBatch = false;
    std::vector<std::string> postBatch;
    int compileMode = 0;
    std::vector<std::string> packages;  // the project tree's package nodes, in order
    bool modified = false;

    bool IsOpen() const { return !name.empty(); }
};

// The compile mode's text ("Release Mode", "Debug Mode", "Beta Mode") of an index; empty for
// another index.
std::string CompileModeName(int index);

// The project file of a name in a directory: directory + "/" + name + ".tvx".
std::string ProjectFilePath(const std::string& directory, const std::string& name);

// Writes every key in the file's order; an existing file is replaced atomically (a write that
// fails leaves it as it was). Throws platform::FileError.
void WriteProjectFile(const Project& project, const std::string& path);

// Reads a project file into project, key by key with the defaults; a NoRevisions or CompileMode
// that is not a number throws shell::ConversionError and leaves the fields read before it set.
void ReadProjectFile(const std::string& path, const std::string& gameRoot, Project& project);

// The contents of a package node: "Classes", "Models", "Sounds", "Textures" (the last three only
// with image, model or sound files), then the package's ".int" file when it exists.
struct PackageGroup {
    std::string name;
    std::vector<std::string> files;
};
struct PackageNodeContents {
    std::vector<PackageGroup> groups;
    std::optional<std::string> intFile;
};
PackageNodeContents FillPackageNode(const std::string& gameRoot, const std::string& package);

// What a double-click on a project tree node does, from its caption and its parent's and
// grandparent's captions.
struct ProjectNodeAction {
    enum class Kind { Nothing, OpenFile, OpenClass, PlaySound, ViewImage } kind = Kind::Nothing;
    std::string path;       // OpenFile, PlaySound, ViewImage
    std::string className;  // OpenClass
    std::string package;    // OpenClass
};
ProjectNodeAction ProjectNodeActionFor(const std::string& gameRoot, const std::string& caption,
                                       const std::string& parent, const std::string& grandparent);

}  // namespace torvane::project
