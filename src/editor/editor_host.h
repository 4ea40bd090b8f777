#pragma once

#include <string>

namespace torvane::core {
class Prompter;
}
namespace torvane::shell {
class CommandRegistry;
class SettingsFile;
}

// What an editor window needs of the main window.
namespace torvane::editor {

class TEditor;

class EditorHost {
public:
    virtual ~EditorHost() = default;
    virtual core::Prompter& EditorPrompter() = 0;
    virtual shell::SettingsFile& EditorSettings() = 0;
    virtual bool SaveAllAnswer() const = 0;
    virtual void SetSaveAllAnswer(bool value) = 0;
    virtual void SetLastEditorMaximized(bool value) = 0;
    virtual void EditorActivated(TEditor& editor) = 0;
    virtual void EditorClosed(TEditor& editor) = 0;
    virtual void SelectNextTab() = 0;
    // The IDE's commands: the context menu shows them, the control gives up their keys.
    virtual shell::CommandRegistry& Commands() = 0;
    // Where a caption without directory is saved (the program directory).
    virtual std::string PathOfCaption(const std::string& caption) const = 0;
};

}  // namespace torvane::editor
