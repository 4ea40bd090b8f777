// The main window's file commands: opening files in editors, new, open, save, save as, save
// all, revert, close, close all and the game's own files of the View menu.
#include <QAction>
#include <QFileDialog>
#include <QMdiArea>
#include <QTabBar>

#include "core/backup.h"
#include "core/interaction.h"
#include "core/text.h"
#include "editor/editor_rules.h"
#include "editor/lexers.h"
#include "editor/teditor.h"
#include "editor/tparser_repository.h"
#include "editor/tsyntax_memo.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "shell/command_ids.h"
#include "shell/icons.h"
#include "shell/tmain.h"
#include "widgets/text_codec.h"

namespace torvane::shell {

using editor::TEditor;
using widgets::FromQString;
using widgets::ToQString;

namespace {

const QString kOpenFilter = QStringLiteral(
    "UnrealScript Source (*.uc);;Torvane Project File (*.tvx);;Initialization (*.ini + *.int) "
    "(*.ini *.int);;Text Files (*.txt);;Log Files (*.log);;All Files (*)");
const QString kSaveFilter = QStringLiteral("UnrealScript Source (*.uc);;All files (*)");

}  // namespace

void TMain::ConnectFileCommands() {
    CommandRegistry& c = *commands_;
    c.Connect(cmd::kNewFile, this, [this] { NewFile(); });
    c.Connect(cmd::kOpen, this, [this] { OpenFile(false); });
    c.Connect(cmd::kOpenProject, this, [this] { OpenFile(true); });
    c.Connect(cmd::kSave, this, [this] { SaveActive(); });
    c.Connect(cmd::kSaveAs, this, [this] { SaveAs(); });
    c.Connect(cmd::kSaveAll, this, [this] { SaveAll(); });
    c.Connect(cmd::kRevert, this, [this] { RevertActive(); });
    c.Connect(cmd::kClose, this, [this] { CloseActive(); });
    c.Connect(cmd::kCloseAll, this, [this] { CloseAll(); });
    c.Connect(cmd::kViewGameLog, this, [this] { ViewGameFile(install_.Launch(false).LogPath(), true); });
    c.Connect(cmd::kViewToolLog, this, [this] { ViewGameFile(install_.ToolLogPath(), true); });
    c.Connect(cmd::kViewGameIni, this, [this] { ViewGameFile(install_.configPath(), false); });
    c.Connect(cmd::kViewServerLog, this, [this] {
        ViewGameFile(platform::ResolveGamePath(gameRoot_, "\\System\\Server.log"), false);
    });
}

std::vector<TEditor*> TMain::Editors() const {
    std::vector<TEditor*> editors;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        auto* editor = qobject_cast<TEditor*>(sub);
        if (editor && !editor->IsClosed()) editors.push_back(editor);
    }
    return editors;
}

TEditor* TMain::ActiveEditor() const {
    if (auto* active = qobject_cast<TEditor*>(mdi_->activeSubWindow())) return active;
    // Offscreen or before activation: the current tab's editor.
    const int tab = fileTabs_->currentIndex();
    return tab >= 0 ? qobject_cast<TEditor*>(fileTabs_->tabData(tab).value<QMdiSubWindow*>()) : nullptr;
}

std::string TMain::PathOfCaption(const std::string& caption) const {
    if (caption.find('/') == std::string::npos && caption.find('\\') == std::string::npos) {
        return options_.paths.File(caption);  // NONAME files live in the program directory
    }
    return caption;
}

TEditor* TMain::OpenEditor(const std::string& caption) const {
    for (TEditor* editor : Editors()) {
        if (editor->Caption() == caption) return editor;
    }
    return nullptr;
}

TEditor* TMain::AddEditor(const std::string& caption) {
    setUpdatesEnabled(false);
    auto* editor = new TEditor(*this);
    const int openBefore = static_cast<int>(Editors().size());
    mdi_->addSubWindow(editor);
    if (mdi_->isVisible()) {  // laid out: the area's size is known
        const QSize area = mdi_->viewport()->size();
        const EditorPlacement place = NewEditorPlacement(area.width(), area.height(), openBefore);
        editor->setGeometry(place.x, place.y, place.width, place.height);
    }
    editor->SetCaption(caption);
    editor->setWindowIcon(FileKindIcon(caption));
    if (Editors().size() == 1 && lastEditorMaximized_) editor->showMaximized();
    setUpdatesEnabled(true);
    AddFileTab(editor, ToQString(platform::FileNamePart(caption)));
    return editor;
}

TEditor* TMain::OpenSourceFile(const std::string& path, const std::string& package,
                               const std::string& className) {
    if (TEditor* editor = OpenEditor(path)) {
        mdi_->setActiveSubWindow(editor);
        SelectEditorTab(editor);
        return editor;
    }
    TEditor* editor = AddEditor(path);
    if (parsers_) editor->Memo1()->setLexer(parsers_->ParserForFile(ToQString(path)));
    try {
        editor->LoadFile();
    } catch (const std::exception& e) {
        prompter_->Error(e.what());
    }
    editor->SetPackageAndClass(package, className);
    if (editor::IsProtectedPackage(editor->Package())) editor->SetReadOnly(true);
    editor->show();
    mdi_->setActiveSubWindow(editor);
    editor->RefreshStatus();
    editor->Memo1()->setFocus();
    commands_->Refresh();
    return editor;
}

TEditor* TMain::OpenTextView(const std::string& caption, const std::string& bytes, const std::string& fileKind) {
    TEditor* editor = OpenEditor(caption);
    if (!editor) {
        editor = AddEditor(caption);
        if (parsers_) editor->Memo1()->setLexer(parsers_->ParserForFile(ToQString(fileKind)));
        editor->Memo1()->LoadBytes(bytes);
        editor->SetReadOnly(true);
        editor->SetCloseWithoutAsking(true);
        editor->show();
    }
    mdi_->setActiveSubWindow(editor);
    SelectEditorTab(editor);
    editor->RefreshStatus();
    editor->Memo1()->setFocus();
    commands_->Refresh();
    return editor;
}

void TMain::NewFile() {
    OpenSourceFile(editor::NewFileName(static_cast<int>(Editors().size())), "", "");
}

void TMain::OpenFile(bool projectFilter) {
    const std::string directory = projectFilter ? options_.paths.dataDirectory : gameRoot_;
    std::optional<std::string> chosen;
    if (options_.chooseOpenFile) {
        chosen = options_.chooseOpenFile(directory, projectFilter);
    } else {
        QFileDialog dialog(this, QStringLiteral("Open"), ToQString(directory), kOpenFilter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (projectFilter) dialog.selectNameFilter(kOpenFilter.split(QStringLiteral(";;"))[1]);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = FromQString(dialog.selectedFiles().first());
        }
    }
    if (!chosen) return;
    if (core::EndsWithIgnoringCase(*chosen, ".tvx")) {
        services_->LoadProject(*chosen);
    } else {
        OpenSourceFile(*chosen, "", "");
    }
}

bool TMain::SaveEditor(TEditor& editor) {
    try {
        editor.SaveFile();
        return true;
    } catch (const std::exception& e) {
        prompter_->Error(e.what());
        return false;
    }
}

void TMain::SaveActive() {
    TEditor* editor = ActiveEditor();
    if (!editor || !editor->Modified() || editor->ReadOnly()) return;
    core::BackupFile(PathOfCaption(editor->Caption()));
    SaveEditor(*editor);
}

void TMain::SaveAs() {
    TEditor* editor = ActiveEditor();
    if (!editor || editor->ReadOnly()) return;
    std::optional<std::string> chosen;
    if (options_.chooseSaveFile) {
        chosen = options_.chooseSaveFile(editor->Caption());
    } else {
        QFileDialog dialog(this, QStringLiteral("Save File as..."), ToQString(editor->Caption()), kSaveFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("uc"));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = FromQString(dialog.selectedFiles().first());
        }
    }
    if (!chosen) return;
    if (platform::FileExists(*chosen) &&
        prompter_->Confirm("The file already exists.  Overwrite?", core::Buttons::YesNo) != core::Answer::Yes) {
        return;
    }
    for (int i = 0; i < fileTabs_->count(); ++i) {
        if (fileTabs_->tabData(i).value<QMdiSubWindow*>() == editor) {
            fileTabs_->setTabText(i, ShownAsItself(ToQString(platform::FileNamePart(*chosen))));
        }
    }
    editor->SetCaption(*chosen);
    editor->setWindowIcon(FileKindIcon(*chosen));
    core::BackupFile(*chosen);
    SaveEditor(*editor);
    if (parsers_) editor->Memo1()->setLexer(parsers_->ParserForFile(ToQString(*chosen)));
}

void TMain::SaveAll() {
    for (TEditor* editor : Editors()) {
        if (!editor->Modified() || editor->ReadOnly()) continue;
        const std::string path = PathOfCaption(editor->Caption());
        AddLogLine("Backing up " + path);
        core::BackupFile(path);
        AddLogLine("Saving " + path);
        SaveEditor(*editor);
    }
}

void TMain::RevertActive() {
    TEditor* editor = ActiveEditor();
    if (!editor || editor->ReadOnly()) return;
    if (editor->Modified() &&
        prompter_->Confirm("This file has been modified.  Reverting will lose all changes.  Continue",
                           core::Buttons::YesNo) != core::Answer::Yes) {
        return;
    }
    try {
        editor->LoadFile();
    } catch (const std::exception& e) {
        prompter_->Error(e.what());
    }
    editor->RefreshStatus();
}

void TMain::CloseActive() {
    if (TEditor* editor = ActiveEditor()) editor->close();
    saveAllAnswer_ = false;
}

void TMain::CloseAll() {
    for (TEditor* editor : Editors()) {
        if (!editor->close()) break;
    }
    saveAllAnswer_ = false;
}

void TMain::ViewGameFile(const std::string& file, bool closeFirst) {
    if (gameRoot_.empty() || file.empty()) return;
    const std::string path = platform::ResolvePath(file);
    if (closeFirst) {
        for (TEditor* editor : Editors()) {
            if (editor->Caption() == path) editor->close();
        }
    }
    OpenSourceFile(path, "", "");
}

void TMain::EditorActivated(TEditor& editor) { SelectEditorTab(&editor); }

void TMain::EditorClosed(TEditor& editor) {
    RemoveFileTab(&editor);
    commands_->Refresh();
}

void TMain::SelectNextTab() {
    if (fileTabs_->count() == 0) return;
    const int next = (fileTabs_->currentIndex() + 1) % fileTabs_->count();
    fileTabs_->setCurrentIndex(next);
    if (auto* editor = fileTabs_->tabData(next).value<QMdiSubWindow*>()) mdi_->setActiveSubWindow(editor);
}

}  // namespace torvane::shell
