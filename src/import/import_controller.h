#pragma once

#include <QObject>
#include <string>

#include "import/resource_import.h"

namespace torvane::editor {
class TEditor;
}
namespace torvane::shell {
class TMain;
class TPrefs;
}
namespace torvane::workspace {
class TWorkspace;
}

namespace torvane::imports {

class TImageImport;
class TSoundImport;
class TTextViewer;

// The editor context menu's "Import .PCX/.BMP" and "Import .WAV", and the project tree's image
// viewer: opens the dialogs for the active editor and carries their directives into it.
class ImportController final : public QObject {
    Q_OBJECT

public:
    ImportController(shell::TMain& main, workspace::TWorkspace& workspace, shell::TPrefs& prefs,
                     TImageImport& images, TSoundImport& sounds, TTextViewer& viewer);

    void ImportImages();
    void ImportSound();
    // Shows an image in the viewer with the caption given (the project tree's double-click).
    void ViewImage(const std::string& path, const std::string& caption);

private:
    // Why the editor's import entries cannot run now; empty when they can.
    QString ImportReason() const;
    ImportHost Host(editor::TEditor& editor);
    std::string FirstProjectPackageDirectory() const;

    shell::TMain& main_;
    workspace::TWorkspace& workspace_;
    shell::TPrefs& prefs_;
    TImageImport& images_;
    TSoundImport& sounds_;
    TTextViewer& viewer_;
};

}  // namespace torvane::imports
