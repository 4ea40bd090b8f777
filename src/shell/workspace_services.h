#pragma once

#include <string>

namespace torvane::platform {
class GameInstall;
}

// What the main window needs of the workspace (class trees, project): the class browser and
// project windows implement it. The defaults answer as an empty workspace does.
namespace torvane::shell {

class WorkspaceServices {
public:
    virtual ~WorkspaceServices() = default;

    // Loads the class trees for the game; false when the program is to end.
    virtual bool InitClassBrowser(const platform::GameInstall& /*install*/) { return true; }
    // Position of a class in the object tree, or -1.
    virtual int FindClass(const std::string& /*className*/, const std::string& /*package*/) {
        return -1;
    }
    virtual void OpenClass(int /*position*/) {}
    virtual void SaveWorkspaceLayout() {}
    virtual void LoadWorkspaceLayout() {}
    virtual void ActivatePages() {}
    // The workspace tabs' position: 0 top, 1 bottom, 2 left, 3 right.
    virtual void SetTabPosition(int /*position*/) {}

    virtual bool ProjectOpen() const { return false; }
    virtual bool ProjectModified() const { return false; }
    virtual void SaveProject() {}
    virtual void LoadProject(const std::string& /*path*/) {}
    virtual void MarkProjectModified() {}
};

}  // namespace torvane::shell
