#include "editor/teditor.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/interaction.h"
#include "editor/editor_host.h"
#include "editor/editor_rules.h"
#include "editor/tsyntax_memo.h"
#include "platform/file_ops.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/settings_file.h"
#include "widgets/text_codec.h"

namespace torvane::editor {

TEditor::TEditor(EditorHost& host, QWidget* parent) : QMdiSubWindow(parent), host_(host) {
    setObjectName(QStringLiteral("TEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    memo_ = new TSyntaxMemo(body);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->clear();
    layout->addWidget(memo_, 1);
    auto* status = new QStatusBar(body);
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setSizeGripEnabled(false);
    // Panels 0 to 2 are as wide as their longest text (at least their designed width), so that
    // none overlaps another; the window cannot be made narrower than they are. The file kind
    // takes the rest and is cut where it is longer (its tool tip shows it whole).
    const int widths[4] = {100, 75, 75, 50};
    const Qt::Alignment alignments[4] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter,
                                         Qt::AlignRight};
    std::array<QStringList, 4> longest;
    EditorStatusInput widest;
    widest.line = 999999;
    widest.column = 9999;
    widest.modified = true;
    for (const auto& [overwrite, readOnly] : {std::pair{false, false}, {true, false}, {false, true}}) {
        widest.overwrite = overwrite;
        widest.readOnly = readOnly;
        const auto texts = EditorStatusPanels(widest);
        for (int i = 0; i < 3; ++i) longest[i] << widgets::ToQString(texts[i]);
    }
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(status);
        panels_[i]->setAlignment(alignments[i] | Qt::AlignVCenter);
        int width = widths[i];
        if (i < 3) {
            for (const QString& text : longest[i]) {
                width = std::max(width, panels_[i]->fontMetrics().horizontalAdvance(text) + 12);
            }
        } else {
            panels_[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        }
        panels_[i]->setMinimumWidth(width);
        status->addWidget(panels_[i], i == 3 ? 1 : 0);
    }
    layout->addWidget(status);
    setWidget(body);
    resize(640, 420);

    memo_->installEventFilter(this);
    memo_->viewport()->installEventFilter(this);
    connect(memo_, &QsciScintilla::cursorPositionChanged, this, &TEditor::RefreshStatus);
    connect(memo_, &QsciScintilla::modificationChanged, this, &TEditor::RefreshStatus);
    connect(memo_, &QsciScintilla::textChanged, this, &TEditor::RefreshStatus);
    BuildContextMenu();
    // The window's system menu keeps its entries but not its keys: Ctrl+F4 is File > Close.
    if (QMenu* menu = systemMenu()) {
        for (QAction* action : menu->actions()) action->setShortcuts({});
    }
    connect(this, &QMdiSubWindow::aboutToActivate, this, [this] { host_.EditorActivated(*this); });
}

void TEditor::SetCaption(const std::string& caption) {
    caption_ = caption;
    setWindowTitle(widgets::ToQString(caption));
}

void TEditor::SetPackageAndClass(const std::string& package, const std::string& className) {
    package_ = CutTo100(package);
    className_ = CutTo100(className);
}

bool TEditor::ReadOnly() const { return memo_->isReadOnly(); }
void TEditor::SetReadOnly(bool readOnly) { memo_->setReadOnly(readOnly); }
bool TEditor::Modified() const { return memo_->isModified(); }

void TEditor::LoadFile() {
    const std::string path = host_.PathOfCaption(caption_);
    if (!platform::FileExists(path) && !platform::DirectoryExists(path)) {
        memo_->LoadBytes({});
        return;
    }
    memo_->LoadBytes(platform::ReadWholeFile(path));
}

void TEditor::SaveFile() {
    platform::WriteFileAtomic(host_.PathOfCaption(caption_), memo_->Bytes());
    memo_->setModified(false);
    RefreshStatus();
}

std::array<QString, 4> TEditor::StatusPanels() const {
    std::array<QString, 4> texts;
    for (int i = 0; i < 4; ++i) texts[i] = panels_[i]->text();
    return texts;
}

void TEditor::RefreshStatus() {
    int line = 0, index = 0;
    memo_->getCursorPosition(&line, &index);
    EditorStatusInput input;
    input.line = line + 1;
    input.column = index + 1;
    input.modified = memo_->isModified();
    input.readOnly = memo_->isReadOnly();
    input.overwrite = memo_->Overwrite();
    input.package = package_;
    input.caption = caption_;
    memo_->setMarginWidth(1, 18);
    const auto texts = EditorStatusPanels(input);
    for (int i = 0; i < 4; ++i) panels_[i]->setText(widgets::ToQString(texts[i]));
    panels_[3]->setToolTip(panels_[3]->text().trimmed());
}

void TEditor::QuickGotoLine(int line, bool highlight) {
    memo_->SetShowFocusLine(highlight);
    const int docLine = std::max(0, line - 1);
    const long row = memo_->SendScintilla(QsciScintilla::SCI_VISIBLEFROMDOCLINE, docLine);  // 0-based
    const long start = memo_->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, docLine);
    const long end = memo_->SendScintilla(QsciScintilla::SCI_POSITIONRELATIVE, start, 10L);
    const long length = memo_->SendScintilla(QsciScintilla::SCI_GETLENGTH);
    memo_->SendScintilla(QsciScintilla::SCI_SETSEL, start, end > 0 ? end : length);
    const int visible = memo_->VisibleRows();
    memo_->SendScintilla(QsciScintilla::SCI_SETFIRSTVISIBLELINE,
                         std::max<long>(0, row - visible / 2));
}

int TEditor::StoredWindowState() const {
    try {
        return host_.EditorSettings().ReadIniInteger("Editor", "WindowState", 0);
    } catch (const std::exception&) {
        return 0;
    }
}

void TEditor::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    // Laid out in the area now: no narrower than the status panels need.
    setMinimumWidth(minimumSizeHint().width());
    applyingState_ = true;
    switch (StoredWindowState()) {
        case 1: showMinimized(); break;
        case 2: showMaximized(); break;
        case 0: showNormal(); break;
        default: break;
    }
    applyingState_ = false;
}

void TEditor::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || applyingState_) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    try {
        if (isMaximized()) {
            host_.EditorSettings().WriteIniInteger("Editor", "WindowState", 2);
        } else if (!isMinimized() && (change->oldState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
            host_.EditorSettings().WriteIniInteger("Editor", "WindowState", 0);
        }
    } catch (const std::exception&) {
    }
}

bool TEditor::CloseQuery() {
    if (closeWithoutAsking_) return true;
    if (memo_->isModified()) {
        core::Answer answer = core::Answer::Yes;
        if (!host_.SaveAllAnswer()) {
            BringToFront();  // the question names no file: the user sees which one it is
            answer = host_.EditorPrompter().Confirm("This file has been modified.  Save changes?",
                                                    core::Buttons::YesNoCancelAll);
        }
        if (answer == core::Answer::All) {
            host_.SetSaveAllAnswer(true);
            answer = core::Answer::Yes;
        }
        if (answer == core::Answer::Cancel) return false;
        if (answer == core::Answer::Yes) {
            try {
                SaveFile();
            } catch (const std::exception& e) {
                host_.EditorPrompter().Error(e.what());
                return false;
            }
        }
    }
    host_.SetLastEditorMaximized(isMaximized());
    return true;
}

void TEditor::BringToFront() {
    if (isMinimized()) showNormal();
    if (QMdiArea* area = mdiArea()) area->setActiveSubWindow(this);
    raise();
}

void TEditor::CloseAnswered() {
    answered_ = true;
    close();
}

void TEditor::closeEvent(QCloseEvent* event) {
    if (!answered_ && !CloseQuery()) {
        event->ignore();
        return;
    }
    answered_ = false;
    const int state = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    if (state != StoredWindowState()) {
        try {
            host_.EditorSettings().WriteIniInteger("Editor", "WindowState", state);
        } catch (const std::exception&) {
        }
    }
    closed_ = true;
    host_.EditorClosed(*this);
    QMdiSubWindow::closeEvent(event);
}

bool TEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memo_ || watched == memo_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) memo_->SetShowFocusLine(false);
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            memo_->SetShowFocusLine(false);
            if (key->key() == Qt::Key_Backtab && key->modifiers() == Qt::ShiftModifier) {
                host_.SelectNextTab();
                return true;
            }
            const int digit = key->key() - Qt::Key_0;
            if (digit >= 0 && digit <= 9) {
                if (key->modifiers() == Qt::ControlModifier) {
                    memo_->SetBookmark(digit);
                    return true;
                }
                if (key->modifiers() == Qt::AltModifier) {
                    memo_->GotoBookmark(digit);
                    return true;
                }
            }
        }
        if (event->type() == QEvent::KeyRelease) RefreshStatus();
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void TEditor::BuildContextMenu() {
    memo_->setContextMenuPolicy(Qt::ActionsContextMenu);
    shell::CommandRegistry& commands = host_.Commands();
    // The IDE's keys are the IDE's: the control gives them up, also those of commands registered
    // after this editor, and the menu shows the commands themselves (one action, one key,
    // whichever window has the focus).
    memo_->GiveUpKeys(commands.WindowKeys());
    connect(&commands, &shell::CommandRegistry::KeysChanged, this,
            [this, &commands] { memo_->GiveUpKeys(commands.WindowKeys()); });
    auto separator = [this] {
        auto* action = new QAction(memo_);
        action->setSeparator(true);
        memo_->addAction(action);
    };
    using namespace shell::cmd;
    for (const char* id : {kSave, kClose, kRevert}) memo_->addAction(commands.Command(id));
    separator();
    for (const char* id : {kCompile, kCompileAndRun, kImportImage, kImportModel, kImportSound, kEditorDefaultProperties}) {
        memo_->addAction(commands.Command(id));
    }
    separator();
    for (const char* id : {kGoToDefinition, kFindReferences, kOutline}) memo_->addAction(commands.Command(id));
    separator();
    auto* setMenu = new QMenu(QStringLiteral("Set Bookmark"), memo_);
    auto* gotoMenu = new QMenu(QStringLiteral("Goto Bookmark"), memo_);
    for (int n = 0; n < 10; ++n) {
        for (QMenu* menu : {setMenu, gotoMenu}) {
            QAction* item = menu->addAction(
                (menu == setMenu ? QStringLiteral("Set Bookmark ") : QStringLiteral("Goto Bookmark ")) +
                QString::number(n));
            const bool set = menu == setMenu;
            connect(item, &QAction::triggered, this, [this, item, set] {
                const auto number = BookmarkOfCaption(widgets::FromQString(item->text()));
                if (!number) return;
                if (set) {
                    memo_->SetBookmark(*number);
                } else {
                    memo_->GotoBookmark(*number);
                }
            });
        }
    }
    memo_->addAction(setMenu->menuAction());
    memo_->addAction(gotoMenu->menuAction());
}

}  // namespace torvane::editor
