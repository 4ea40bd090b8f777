#include "navigation/code_intel_controller.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <unordered_map>

#include "core/cp1252.h"
#include "core/text.h"
#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "intel/class_outline.h"
#include "intel/code_walker.h"
#include "intel/compiled_classes.h"
#include "intel/completion.h"
#include "intel/game_index.h"
#include "intel/index_builder.h"
#include "intel/parameter_hint.h"
#include "intel/reference_search.h"
#include "navigation/toutline.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "shell/command_boundary.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "unrealpkg/package_places.h"
#include "widgets/text_codec.h"

namespace torvane::navigation {

using editor::TEditor;
using editor::TSyntaxMemo;
namespace cmd = shell::cmd;

namespace {

// How long an editor stays untouched before its text goes into the index.
constexpr int kIdleMilliseconds = 300;
// The widest name column of the completion list.
constexpr std::size_t kNameColumn = 28;
// Between the rows of the completion list, and before a row's picture number (none is used).
constexpr char kRowSeparator = '\n';
constexpr char kTypeSeparator = '\x1f';

template <class T>
bool Holds(const std::vector<QPointer<T>>& list, const T* item) {
    return std::any_of(list.begin(), list.end(), [item](const QPointer<T>& p) { return p.data() == item; });
}

}  // namespace

CodeIntelController::CodeIntelController(shell::TMain& main, TOutline& outline)
    : QObject(&main), main_(main), outline_(outline) {
    core::Prompter& prompter = main_.Prompter();
    idle_ = new QTimer(this);
    idle_->setSingleShot(true);
    idle_->setInterval(kIdleMilliseconds);
    connect(idle_, &QTimer::timeout, this, shell::Guarded(prompter, [this] {
                UpdateChangedEditors();
                if (hintEditor_ && hintEditor_->Memo1()->SendScintilla(QsciScintilla::SCI_CALLTIPACTIVE)) {
                    ShowParameterHint(false);
                }
            }));
    connect(main_.MdiArea(), &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* sub) { Track(qobject_cast<TEditor*>(sub)); });
    // The index is read once the start is over, at the first moment the program is idle.
    connect(&main_, &shell::TMain::StartedUp, this, [this, &prompter] {
        QTimer::singleShot(0, this, shell::Guarded(prompter, [this] { Index(); }));
    });
    // Rebuilding the class trees reads the index again too (after the trees, whose command
    // handler runs first).
    connect(main_.Commands().Command(cmd::kRebuildClassTree), &QAction::triggered, this,
            shell::Guarded(prompter, [this] {
                if (loaded_ && !main_.Busy().Busy()) LoadIndex();
            }));
    outline_.SetJump([this, &prompter](const intel::OutlineEntry& entry) {
        shell::RunGuarded(prompter, [&] {
            TEditor* editor = outlineEditor_.data();
            if (!editor || editor->IsClosed()) return;
            const intel::NavigationPlace from = CurrentPlace();
            editor->BringToFront();
            editor->Memo1()->setFocus();
            editor->Memo1()->ShowPlace(entry.line, entry.column, static_cast<int>(entry.name.size()));
            if (!from.file.empty()) history_.Jumped(from);
            main_.Commands().Refresh();
        });
    });
    ConnectCommands();
}

CodeIntelController::~CodeIntelController() = default;

void CodeIntelController::ConnectCommands() {
    shell::CommandRegistry& c = main_.Commands();
    c.Connect(cmd::kGoToDefinition, this, [this] { GoToDefinition(); });
    c.Connect(cmd::kFindReferences, this, [this] { FindReferences(); });
    c.Connect(cmd::kCompleteCode, this, [this] { CompleteCode(false); });
    c.Connect(cmd::kParameterHint, this, [this] { ShowParameterHint(true); });
    c.Connect(cmd::kOutline, this, [this] { ShowOutline(); });
    c.Connect(cmd::kNavigateBack, this, [this] { GoBack(); });
    c.Connect(cmd::kNavigateForward, this, [this] { GoForward(); });
    for (const char* id : {cmd::kGoToDefinition, cmd::kFindReferences, cmd::kOutline}) {
        c.SetAvailability(id, [this] { return SourceReason(); });
    }
    for (const char* id : {cmd::kCompleteCode, cmd::kParameterHint}) {
        c.SetAvailability(id, [this] { return WritableSourceReason(); });
    }
    c.SetAvailability(cmd::kNavigateBack, [this] {
        return history_.CanGoBack() ? QString() : QStringLiteral("No jump to go back from.");
    });
    c.SetAvailability(cmd::kNavigateForward, [this] {
        return history_.CanGoForward() ? QString() : QStringLiteral("Nothing to go forward to.");
    });
}

QString CodeIntelController::SourceReason() const {
    const TEditor* editor = main_.ActiveEditor();
    return editor && IsSourceEditor(editor) ? QString() : QStringLiteral("Open an UnrealScript source (.uc) first.");
}

QString CodeIntelController::WritableSourceReason() const {
    QString why = SourceReason();
    if (why.isEmpty() && main_.ActiveEditor()->ReadOnly()) why = QStringLiteral("The file is read-only.");
    return why;
}

// --- the index -----------------------------------------------------------------------------------

const intel::SymbolIndex& CodeIntelController::Index() {
    if (!loaded_ && main_.Started()) LoadIndex();
    return index_;
}

void CodeIntelController::LoadIndex() {
    QElapsedTimer clock;
    clock.start();
    index_ = intel::SymbolIndex();
    loaded_ = false;
    std::string cacheDirectory = main_.Paths().dataDirectory;
    if (!platform::DirectoryExists(cacheDirectory)) cacheDirectory.clear();
    const intel::GameIndexLoad load = intel::LoadGameIndex(index_, main_.Install(), cacheDirectory);
    loaded_ = true;
    for (const std::string& error : load.refresh.errors) main_.AddLogLine(error);
    // What the editors hold goes in again.
    for (const QPointer<TEditor>& editor : tracked_) {
        if (editor && !Holds(changed_, editor.data())) changed_.push_back(editor);
    }
    if (!changed_.empty()) idle_->start();
    Status("Symbol index: " + std::to_string(index_.Classes().size()) + " classes, " +
           std::to_string(index_.SymbolCount()) + " symbols (" + std::to_string(load.refresh.filesRead) +
           " sources read, " + std::to_string(load.refresh.unitsKept) + " from the cache) in " +
           std::to_string(clock.elapsed()) + " ms.");
}

void CodeIntelController::Track(TEditor* editor) {
    if (!editor || Holds(tracked_, editor)) return;
    tracked_.erase(std::remove(tracked_.begin(), tracked_.end(), nullptr), tracked_.end());
    tracked_.push_back(editor);
    changed_.push_back(editor);  // its text is not known to be the file's
    idle_->start();
    TSyntaxMemo* memo = editor->Memo1();
    core::Prompter& prompter = main_.Prompter();
    connect(memo, &QsciScintilla::textChanged, this, [this, editor] { Changed(editor); });
    connect(memo, &QsciScintillaBase::SCN_CHARADDED, this, [this, editor, &prompter](int character) {
        shell::RunGuarded(prompter, [&] { CharAdded(editor, character); });
    });
    connect(memo, qOverload<const char*, int, int, int>(&QsciScintillaBase::SCN_AUTOCSELECTION), this,
            [this, editor, &prompter](const char* row, int position, int, int) {
                shell::RunGuarded(prompter, [&] { CompletionChosen(editor, row, position); });
            });
    // Moving the caret in a call moves the hint's mark to the argument there.
    connect(memo, &QsciScintilla::cursorPositionChanged, this, [this, editor, &prompter] {
        if (hintEditor_ != editor || Holds(changed_, editor)) return;
        if (!editor->Memo1()->SendScintilla(QsciScintilla::SCI_CALLTIPACTIVE)) {  // closed with Escape
            hintEditor_ = nullptr;
            return;
        }
        shell::RunGuarded(prompter, [&] { ShowParameterHint(false); });
    });
    memo->viewport()->installEventFilter(this);
}

void CodeIntelController::Changed(TEditor* editor) {
    if (!Holds(changed_, editor)) changed_.push_back(editor);
    idle_->start();  // again: only once typing pauses
}

bool CodeIntelController::IsSourceEditor(const TEditor* editor) const {
    return core::EndsWithIgnoringCase(editor->Caption(), ".uc") || rebuiltViews_.count(editor->Caption()) != 0;
}

void CodeIntelController::UpdateChangedEditors() {
    std::vector<QPointer<TEditor>> changed;
    changed.swap(changed_);
    for (const QPointer<TEditor>& editor : changed) {
        if (editor) UpdateEditor(editor.data());
    }
}

void CodeIntelController::UpdateEditor(TEditor* editor) {
    changed_.erase(std::remove(changed_.begin(), changed_.end(), editor), changed_.end());
    if (!loaded_ || editor->IsClosed() || !core::EndsWithIgnoringCase(editor->Caption(), ".uc")) return;
    const std::string path = main_.PathOfCaption(editor->Caption());
    // An editor that holds its file as the index read it adds nothing.
    const intel::IndexedClass* known = intel::ClassOfSourceFile(index_, path);
    if (known && known->unit().stamp.size >= 0 && !editor->Modified()) return;
    intel::IndexSourceText(index_, path, editor->Memo1()->Bytes(), editor->Package());
}

std::optional<CodeIntelController::Source> CodeIntelController::SourceOf(TEditor* editor) {
    if (!editor || editor->IsClosed() || !IsSourceEditor(editor)) {
        Status("Open an UnrealScript source (.uc) first.");
        return std::nullopt;
    }
    Index();
    if (!loaded_) return std::nullopt;
    Track(editor);
    Source source;
    source.editor = editor;
    const auto view = rebuiltViews_.find(editor->Caption());
    if (view != rebuiltViews_.end()) {
        source.cls = index_.FindClass(view->second.className);
    } else {
        if (Holds(changed_, editor)) UpdateEditor(editor);
        const std::string path = main_.PathOfCaption(editor->Caption());
        source.cls = intel::ClassOfSourceFile(index_, path);
        // A source outside the game's packages (or new) is read now.
        if (!source.cls) source.cls = intel::IndexSourceText(index_, path, editor->Memo1()->Bytes(), editor->Package());
    }
    if (!source.cls) {
        Status("The text declares no class.");
        return std::nullopt;
    }
    source.text = editor->Memo1()->Bytes();
    return source;
}

std::optional<CodeIntelController::Source> CodeIntelController::ActiveSource() { return SourceOf(main_.ActiveEditor()); }

std::optional<intel::Use> CodeIntelController::UseAtCaret(const Source& source) {
    const std::uint32_t offset = source.editor->Memo1()->CaretByteOffset();
    std::optional<intel::Use> use = intel::UseAt(index_, *source.cls, source.text, offset);
    if (!use) {
        Status("No name at the cursor.");
        return std::nullopt;
    }
    if (!use->target) {
        Status(source.text.substr(use->offset, use->length) + " is not resolved: " + use->cause + ".");
        return std::nullopt;
    }
    return use;
}

void CodeIntelController::Status(const std::string& text) { main_.ShowStatusText(text); }

// --- go to definition, Back and Forward ----------------------------------------------------------

void CodeIntelController::GoToDefinition() {
    const std::optional<Source> source = ActiveSource();
    if (!source) return;
    const std::optional<intel::Use> use = UseAtCaret(*source);
    if (!use) return;
    const intel::SymbolPlace place = intel::PlaceOf(use->target);
    const std::string where = intel::TargetText(use->target) + ": " + intel::PlaceText(place);
    Jump(place, static_cast<int>(use->length));
    Status(where);
}

intel::NavigationPlace CodeIntelController::CurrentPlace() const {
    intel::NavigationPlace place;
    const TEditor* editor = main_.ActiveEditor();
    if (!editor) return place;
    const TSyntaxMemo* memo = editor->Memo1();
    const long position = memo->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS);
    const long line = memo->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, position);
    const long lineStart = memo->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line);
    place.file = editor->Caption();
    place.line = static_cast<int>(line) + 1;
    place.column = static_cast<int>(memo->SendScintilla(QsciScintilla::SCI_COUNTCHARACTERS, lineStart, position)) + 1;
    return place;
}

void CodeIntelController::Jump(const intel::SymbolPlace& place, int length) {
    const intel::NavigationPlace from = CurrentPlace();
    TEditor* editor = place.compiled ? OpenRebuilt(*place.cls, place.packageFile) : OpenFile(place.file);
    if (!editor) return;
    if (!from.file.empty()) history_.Jumped(from);
    editor->Memo1()->ShowPlace(place.line, place.column, length);
    main_.Commands().Refresh();
}

TEditor* CodeIntelController::OpenFile(const std::string& path) {
    for (TEditor* editor : main_.Editors()) {
        if (editor->Caption() == path || platform::SameFile(main_.PathOfCaption(editor->Caption()), path)) {
            editor->BringToFront();
            editor->Memo1()->setFocus();
            return editor;
        }
    }
    if (!platform::FileExists(path)) {
        Status(path + " does not exist any more.");
        return nullptr;
    }
    std::string package, className;
    if (const intel::IndexedClass* cls = intel::ClassOfSourceFile(index_, path)) {
        package = cls->symbols().package;
        className = cls->name();
    }
    return main_.OpenSourceFile(path, package, className);
}

TEditor* CodeIntelController::OpenRebuilt(const intel::IndexedClass& cls, const std::string& packageFile) {
    const std::string package = cls.symbols().package;
    const std::string className = cls.name();
    const std::string caption = package + "." + className + " (rebuilt from " + platform::FileNamePart(packageFile) + ")";
    std::string text;
    const std::vector<TEditor*> editors = main_.Editors();
    const bool open = std::any_of(editors.begin(), editors.end(), [&caption](const TEditor* e) { return e->Caption() == caption; });
    if (!open) {
        text = intel::CompiledClassText(packageFile, className, unrealpkg::PackageFolders(main_.Install()));
        if (text.empty()) {
            Status(package + "." + className + " is not in " + packageFile + " any more.");
            return nullptr;
        }
    }
    rebuiltViews_[caption] = {className, packageFile};
    TEditor* editor = main_.OpenTextView(caption, text, className + ".uc");
    editor->SetPackageAndClass(package, className);
    Track(editor);
    return editor;
}

TEditor* CodeIntelController::OpenPlace(const intel::NavigationPlace& place) {
    const auto view = rebuiltViews_.find(place.file);
    if (view == rebuiltViews_.end()) return OpenFile(main_.PathOfCaption(place.file));
    for (TEditor* editor : main_.Editors()) {
        if (editor->Caption() == place.file) return main_.OpenTextView(place.file, {}, {});
    }
    Index();
    const intel::IndexedClass* cls = index_.FindClass(view->second.className);
    if (!cls || !cls->symbols().compiled) {
        Status(view->second.className + " is no longer a compiled class.");
        return nullptr;
    }
    return OpenRebuilt(*cls, view->second.packageFile);
}

void CodeIntelController::GoBack() { Retrace(false); }

void CodeIntelController::GoForward() { Retrace(true); }

void CodeIntelController::Retrace(bool forward) {
    const intel::NavigationPlace current = CurrentPlace();
    const std::optional<intel::NavigationPlace> target = forward ? history_.Forward(current) : history_.Back(current);
    if (target) {
        if (TEditor* editor = OpenPlace(*target)) editor->Memo1()->ShowPlace(target->line, target->column);
    }
    main_.Commands().Refresh();
}

bool CodeIntelController::eventFilter(QObject* watched, QEvent* event) {
    // Ctrl+click on a name: go to its definition.
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::ControlModifier) {
            for (const QPointer<TEditor>& editor : tracked_) {
                if (!editor || editor->Memo1()->viewport() != watched) continue;
                TSyntaxMemo* memo = editor->Memo1();
                const QPoint at = mouse->position().toPoint();
                const long position = memo->SendScintilla(QsciScintilla::SCI_POSITIONFROMPOINTCLOSE,
                                                          static_cast<unsigned long>(at.x()), static_cast<long>(at.y()));
                if (position < 0) return false;
                memo->SendScintilla(QsciScintilla::SCI_GOTOPOS, position);
                editor->BringToFront();
                memo->setFocus();
                shell::RunGuarded(main_.Prompter(), [this] { GoToDefinition(); });
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- find references -----------------------------------------------------------------------------

std::string CodeIntelController::TextOf(const intel::IndexedClass& cls) { return intel::ReadSourceText(cls); }

void CodeIntelController::FindReferences() {
    Index();
    UpdateChangedEditors();  // before anything of the index is held: this links it anew
    const std::optional<Source> source = ActiveSource();
    if (!source) return;
    const std::optional<intel::Use> use = UseAtCaret(*source);
    if (!use) return;
    // The sources open in editors are searched as the editors hold them.
    std::unordered_map<const intel::IndexedClass*, std::string> editorTexts;
    for (TEditor* editor : main_.Editors()) {
        if (!core::EndsWithIgnoringCase(editor->Caption(), ".uc")) continue;
        if (const intel::IndexedClass* cls = intel::ClassOfSourceFile(index_, main_.PathOfCaption(editor->Caption()))) {
            editorTexts[cls] = editor->Memo1()->Bytes();
        }
    }
    const auto textOf = [this, &editorTexts](const intel::IndexedClass& cls) {
        const auto it = editorTexts.find(&cls);
        return it != editorTexts.end() ? it->second : TextOf(cls);
    };
    std::vector<std::string> unreadable;
    const std::vector<std::string> lines =
        intel::ReferenceLines(intel::FindReferences(index_, use->target, textOf, &unreadable));
    const std::string what = intel::TargetText(use->target);
    main_.AddLogLine("References of " + what + ":");
    for (const std::string& line : lines) main_.AddLogLine(line);
    for (const std::string& error : unreadable) main_.AddLogLine(error);
    if (!main_.Commands().Command(cmd::kViewOutputLog)->isChecked()) main_.SetOutputLogVisible(true);
    Status(std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") + " with references of " + what + ".");
}

// --- completion and the parameter hint ------------------------------------------------------------

void CodeIntelController::CharAdded(TEditor* editor, int character) {
    if (editor->ReadOnly() || !IsSourceEditor(editor)) return;
    if (character == '.') {
        if (main_.ActiveEditor() != editor) return;
        CompleteCode(true);
    } else if (character == '(' || character == ',') {
        hintEditor_ = editor;
        ShowParameterHint(false);
    } else if (character == ')' && hintEditor_ == editor) {
        ShowParameterHint(false);
    }
}

void CodeIntelController::CompleteCode(bool typedDot) {
    const std::optional<Source> source = ActiveSource();
    if (!source || source->editor->ReadOnly()) return;
    TSyntaxMemo* memo = source->editor->Memo1();
    const long caret = memo->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS);
    const intel::CompletionList list = intel::CompletionsAt(index_, *source->cls, source->text, memo->ByteOffsetOf(caret));
    if (list.items.empty()) {
        if (!typedDot) Status("Nothing to complete here.");
        return;
    }
    std::size_t width = 0;
    for (const intel::CompletionItem& item : list.items) width = std::max(width, item.name.size());
    width = std::min(width, kNameColumn);
    std::string rows;
    for (const intel::CompletionItem& item : list.items) {
        if (!rows.empty()) rows += kRowSeparator;
        rows += intel::CompletionRow(item, width);
    }
    const std::string utf8 = core::Cp1252ToUtf8(rows);
    const long entered = caret - memo->PositionOfByteOffset(list.prefixBegin);
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETSEPARATOR, static_cast<long>(kRowSeparator));
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETTYPESEPARATOR, static_cast<long>(kTypeSeparator));
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETORDER, static_cast<long>(QsciScintilla::SC_ORDER_CUSTOM));
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETIGNORECASE, 1L);
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETCASEINSENSITIVEBEHAVIOUR,
                        static_cast<long>(QsciScintilla::SC_CASEINSENSITIVEBEHAVIOUR_IGNORECASE));
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETAUTOHIDE, 1L);
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETCHOOSESINGLE, 0L);
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETDROPRESTOFWORD, 0L);
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETMAXHEIGHT, 12L);
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSETMAXWIDTH, 100L);  // characters; a longer row is cut
    memo->SendScintilla(QsciScintilla::SCI_AUTOCSHOW, static_cast<unsigned long>(std::max(0L, entered)), utf8.c_str());
}

// The list would put the whole row in; only the name goes in, in place of what was typed of it.
void CodeIntelController::CompletionChosen(TEditor* editor, const char* row, int position) {
    TSyntaxMemo* memo = editor->Memo1();
    memo->SendScintilla(QsciScintilla::SCI_AUTOCCANCEL);
    const std::string name(intel::NameOfCompletionRow(row ? row : ""));
    const long caret = memo->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS);
    memo->SendScintilla(QsciScintilla::SCI_SETTARGETRANGE, static_cast<unsigned long>(position), caret);
    memo->SendScintilla(QsciScintilla::SCI_REPLACETARGET, static_cast<unsigned long>(name.size()), name.c_str());
    memo->SendScintilla(QsciScintilla::SCI_GOTOPOS, static_cast<long>(position + static_cast<long>(name.size())));
}

void CodeIntelController::ShowParameterHint(bool asked) {
    TEditor* editor = asked ? main_.ActiveEditor() : hintEditor_.data();
    if (!editor) return;
    const std::optional<Source> source = SourceOf(editor);
    if (!source) return;
    TSyntaxMemo* memo = editor->Memo1();
    const std::optional<intel::ParameterHint> hint =
        intel::ParameterHintAt(index_, *source->cls, source->text, memo->CaretByteOffset());
    if (!hint) {
        memo->SendScintilla(QsciScintilla::SCI_CALLTIPCANCEL);
        hintEditor_ = nullptr;
        hintText_.clear();
        hintParameter_.clear();
        if (asked) Status("The cursor is not inside the parentheses of a call.");
        return;
    }
    hintEditor_ = editor;
    const std::string tip = hint->signature + "  (" + hint->owner + ")";
    const auto [begin, end] = intel::ParameterSpan(hint->signature, hint->parameter);
    hintText_ = tip;
    hintParameter_ = begin != std::string::npos ? tip.substr(begin, end - begin) : std::string();
    const std::string utf8 = core::Cp1252ToUtf8(tip);
    memo->SendScintilla(QsciScintilla::SCI_CALLTIPSHOW, static_cast<unsigned long>(memo->PositionOfByteOffset(hint->open)),
                        utf8.c_str());
    if (begin != std::string::npos) {
        const auto utf8Begin = static_cast<long>(core::Cp1252ToUtf8(tip.substr(0, begin)).size());
        const auto utf8End = static_cast<long>(core::Cp1252ToUtf8(tip.substr(0, end)).size());
        memo->SendScintilla(QsciScintilla::SCI_CALLTIPSETHLT, static_cast<unsigned long>(utf8Begin), utf8End);
    }
}

// --- outline -------------------------------------------------------------------------------------

void CodeIntelController::ShowOutline() {
    const std::optional<Source> source = ActiveSource();
    if (!source) return;
    outlineEditor_ = source->editor;
    outline_.ShowOutline(widgets::ToQString(source->cls->name()), intel::ClassOutline(source->cls->symbols()));
}

}  // namespace torvane::navigation
