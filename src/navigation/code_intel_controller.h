#pragma once

#include <QObject>
#include <QPointer>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "intel/navigation_history.h"
#include "intel/symbol_index.h"
#include "intel/symbol_place.h"

class QTimer;

namespace torvane::editor {
class TEditor;
}
namespace torvane::shell {
class TMain;
}

namespace torvane::navigation {

class TOutline;

// The code intelligence of the editors: the Navigate menu's commands (go to definition, find
// references, completion, the parameter hint, the outline, Back and Forward), Ctrl+click, and
// the completion list after a '.'. It keeps the symbol index of the game: loaded once the
// program has started (from "Symbols.ucd" beside the class trees' caches), loaded again with the
// class trees, and brought up to date with an editor's text when the editor has been idle a
// moment, or at once when a command needs it.
class CodeIntelController final : public QObject {
    Q_OBJECT

public:
    CodeIntelController(shell::TMain& main, TOutline& outline);
    ~CodeIntelController() override;

    // The index, loaded first when it is not yet.
    const intel::SymbolIndex& Index();
    // Puts the text of every editor changed since into the index (the idle update runs this).
    void UpdateChangedEditors();
    bool HasChangedEditors() const { return !changed_.empty(); }
    const intel::NavigationHistory& History() const { return history_; }
    // The parameter hint last shown, and the parameter marked in it; empty when none is shown.
    const std::string& HintText() const { return hintText_; }
    const std::string& HintParameter() const { return hintParameter_; }

    // The commands, on the active editor.
    void GoToDefinition();
    void FindReferences();
    void CompleteCode(bool typedDot);
    void ShowParameterHint(bool asked);
    void ShowOutline();
    void GoBack();
    void GoForward();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // An editor's class and text, its text put in the index first when it changed.
    struct Source {
        editor::TEditor* editor = nullptr;
        const intel::IndexedClass* cls = nullptr;
        std::string text;
    };
    // A view of a class rebuilt from its compiled package, by the view's caption.
    struct RebuiltView {
        std::string className;
        std::string packageFile;
    };

    void ConnectCommands();
    void LoadIndex();
    void Track(editor::TEditor* editor);
    void Changed(editor::TEditor* editor);
    void CharAdded(editor::TEditor* editor, int character);
    void CompletionChosen(editor::TEditor* editor, const char* row, int position);
    void UpdateEditor(editor::TEditor* editor);
    bool IsSourceEditor(const editor::TEditor* editor) const;
    std::optional<Source> SourceOf(editor::TEditor* editor);
    std::optional<Source> ActiveSource();
    // The name at the caret and what it stands for; nothing (with the reason in the status line)
    // when there is none or it is not resolved.
    std::optional<intel::Use> UseAtCaret(const Source& source);
    std::string TextOf(const intel::IndexedClass& cls);

    intel::NavigationPlace CurrentPlace() const;
    void Jump(const intel::SymbolPlace& place, int length);
    editor::TEditor* OpenPlace(const intel::NavigationPlace& place);
    // Back (or Forward) one place of the history.
    void Retrace(bool forward);
    editor::TEditor* OpenFile(const std::string& path);
    editor::TEditor* OpenRebuilt(const intel::IndexedClass& cls, const std::string& packageFile);
    void Status(const std::string& text);
    QString SourceReason() const;
    QString WritableSourceReason() const;

    shell::TMain& main_;
    TOutline& outline_;
    intel::SymbolIndex index_;
    bool loaded_ = false;
    std::vector<QPointer<editor::TEditor>> tracked_;
    std::vector<QPointer<editor::TEditor>> changed_;
    QTimer* idle_ = nullptr;
    QPointer<editor::TEditor> hintEditor_;  // whose parameter hint is shown
    QPointer<editor::TEditor> outlineEditor_;
    std::string hintText_;
    std::string hintParameter_;
    intel::NavigationHistory history_;
    std::map<std::string, RebuiltView> rebuiltViews_;
};

}  // namespace torvane::navigation
