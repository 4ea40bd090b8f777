#include "import/import_controller.h"

#include <QApplication>
#include <QClipboard>
#include <QPointer>

#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "import/timage_import.h"
#include "import/tsound_import.h"
#include "import/ttext_viewer.h"
#include "platform/game_paths.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "shell/tprefs.h"
#include "widgets/text_codec.h"
#include "workspace/tworkspace.h"

namespace torvane::imports {

ImportController::ImportController(shell::TMain& main, workspace::TWorkspace& workspace, shell::TPrefs& prefs,
                                   TImageImport& images, TSoundImport& sounds, TTextViewer& viewer)
    : QObject(&main), main_(main), workspace_(workspace), prefs_(prefs), images_(images), sounds_(sounds),
      viewer_(viewer) {
    shell::CommandRegistry& c = main_.Commands();
    c.Connect(shell::cmd::kImportImage, this, [this] { ImportImages(); });
    c.Connect(shell::cmd::kImportSound, this, [this] { ImportSound(); });
    for (const char* id : {shell::cmd::kImportImage, shell::cmd::kImportSound}) {
        c.SetAvailability(id, [this] { return ImportReason(); });
    }
    workspace_.SetImageViewer([this](const std::string& path, const std::string& caption) { ViewImage(path, caption); });
}

QString ImportController::ImportReason() const {
    const editor::TEditor* editor = main_.ActiveEditor();
    if (!editor || editor->IsClosed()) return QStringLiteral("Open the source to import into first.");
    if (editor->ReadOnly()) return QStringLiteral("The source is read-only.");
    return {};
}

// The directive goes through the clipboard to the editor's caret, one line each.
ImportHost ImportController::Host(editor::TEditor& editor) {
    ImportHost host;
    host.prompter = &main_.Prompter();
    host.showInfo = [this](const std::string& text) { prefs_.ShowInfoMessage(text); };
    host.writeDirective = [target = QPointer<editor::TEditor>(&editor)](const std::string& line) {
        if (!target) return;
        QApplication::clipboard()->setText(widgets::ToQString(line + "\r\n"));
        target->Memo1()->paste();
    };
    host.addProjectFile = [this](const std::string& package, const std::string& group, const std::string& file) {
        workspace_.AddProjectFile(package, group, file);
    };
    return host;
}

std::string ImportController::FirstProjectPackageDirectory() const {
    const project::ProjectSession* session = workspace_.Session();
    if (session && session->project().IsOpen() && !session->packages().empty()) {
        return platform::ResolveGamePath(main_.GameRoot(), "\\" + session->packages().front().name);
    }
    return main_.GameRoot();
}

void ImportController::ImportImages() {
    editor::TEditor* editor = main_.ActiveEditor();
    if (!editor || editor->ReadOnly()) return;
    images_.Prepare(FirstProjectPackageDirectory(), main_.GameRoot(), editor->Package(), Host(*editor));
    images_.exec();
}

void ImportController::ImportSound() {
    editor::TEditor* editor = main_.ActiveEditor();
    if (!editor || editor->ReadOnly()) return;
    sounds_.Prepare(main_.GameRoot(), editor->Package(), Host(*editor));
    sounds_.exec();
}

void ImportController::ViewImage(const std::string& path, const std::string& caption) {
    viewer_.Load(path);
    viewer_.setWindowTitle(widgets::ToQString(caption));
    viewer_.show();
    viewer_.raise();
    viewer_.activateWindow();
}

}  // namespace torvane::imports
