#include "editor/search_controller.h"

#include <QLineEdit>
#include <QTabWidget>

#include "core/interaction.h"
#include "editor/editor_search.h"
#include "editor/search_options.h"
#include "editor/ted_find_dlg.h"
#include "editor/ted_persistent.h"
#include "editor/ted_repl_dlg.h"
#include "editor/teditor.h"
#include "editor/tfind_in_files.h"
#include "editor/tgoto_line_dialog.h"
#include "editor/tsyntax_memo.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "widgets/text_codec.h"
#include "workspace/tworkspace.h"

namespace torvane::editor {

using widgets::FromQString;
using widgets::ToQString;

SearchController::SearchController(shell::TMain& main, workspace::TWorkspace& workspace, TEdFindDlg& find,
                                   TEdReplDlg& replace, TGotoLineDialog& gotoLine, TFindInFiles& findInFiles)
    : QObject(&main), main_(main), workspace_(workspace), find_(find), replace_(replace), gotoLine_(gotoLine),
      findInFiles_(findInFiles) {
    shell::CommandRegistry& c = main_.Commands();
    using namespace shell::cmd;
    c.Connect(kFind, this, [this] { Find(); });
    c.Connect(kFindReplace, this, [this] { FindAndReplace(); });
    c.Connect(kSearchAgain, this, [this] { SearchAgain(); });
    c.Connect(kGotoLine, this, [this] { GotoLine(); });
    c.Connect(kQuickFind, this, [this] { QuickFind(); });
    c.Connect(kFindInFiles, this, [this] { FindInFiles(); });
    c.Connect(kQuickFindInFiles, this, [this] { QuickFindInFiles(); });
    connect(main_.QuickFindBox(), &QLineEdit::returnPressed, this,
            shell::Guarded(main_.Prompter(), [this] { QuickFind(); }));
    // The searches in a file need one; Search Again also serves the by-package tree, whose own
    // F3 works while the command is disabled.
    for (const char* id : {kFind, kFindReplace, kSearchAgain, kGotoLine, kQuickFind}) {
        c.SetAvailability(id, [this] { return main_.EditorReason(); });
    }
    for (const char* id : {kFindInFiles, kQuickFindInFiles}) c.SetAvailability(id, [this] { return main_.BusyReason(); });
}

void SearchController::Find() {
    TEditor* editor = main_.ActiveEditor();
    if (!editor) return;
    TEdPersistent& settings = main_.SearchSettings();
    const std::string initial =
        InitialSearchText(FromQString(editor->Memo1()->selectedText()), settings.SearchText());
    find_.ShowFor(ToQString(initial), settings.SearchOptions(), settings, editor->Memo1());
}

void SearchController::FindAndReplace() {
    TEditor* editor = main_.ActiveEditor();
    if (!editor) return;
    TEdPersistent& settings = main_.SearchSettings();
    const std::string initial =
        InitialSearchText(FromQString(editor->Memo1()->selectedText()), settings.SearchText());
    replace_.ShowFor(ToQString(initial), settings.SearchOptions(), settings, editor->Memo1());
}

void SearchController::SearchAgain() {
    if (workspace_.PackageTreeHasFocus()) {
        workspace_.ClassFindSearch();
        return;
    }
    TEditor* editor = main_.ActiveEditor();
    if (!editor) return;
    const TEdPersistent& settings = main_.SearchSettings();
    if (settings.SearchText().empty()) {
        Find();  // nothing searched yet: ask for the text
        return;
    }
    const QString text = ToQString(settings.SearchText());
    const int options = settings.SearchOptions();
    TSyntaxMemo& memo = *editor->Memo1();
    const long from = SearchStartAfterSkip(memo, text, options, (options & search_bits::kCaseSensitive) != 0);
    if (!FindAndSelect(memo, text, options, from)) main_.Prompter().Information(NotFoundMessage(settings.SearchText()));
}

void SearchController::GotoLine() {
    TEditor* editor = main_.ActiveEditor();
    if (!editor) return;
    TSyntaxMemo& memo = *editor->Memo1();
    int line = 0, index = 0;
    memo.getCursorPosition(&line, &index);
    const long row = memo.SendScintilla(QsciScintilla::SCI_VISIBLEFROMDOCLINE, line);
    gotoLine_.SetRange(1, memo.LineCount() + 1);
    gotoLine_.SetCurrentLine(static_cast<int>(row) + 1);
    const bool chosen = gotoLine_.Execute();
    // The editor has the keys again, whichever way the dialog closed.
    main_.activateWindow();
    memo.setFocus();
    if (chosen) memo.GotoLineCentred(gotoLine_.CurrentLine());
}

// The Find tool bar: the box's text forwards from the caret, no case, no whole words, no regular
// expression; a hit makes it the last search.
void SearchController::QuickFind() {
    const QString text = main_.QuickFindBox()->text();
    TEditor* editor = main_.ActiveEditor();
    if (text.isEmpty() || !editor) return;
    TSyntaxMemo& memo = *editor->Memo1();
    if (!FindAndSelect(memo, text, 0, memo.CaretPosition())) {
        main_.Prompter().Information(NotFoundMessage(FromQString(text)));
        return;
    }
    main_.SearchSettings().SetLastSearch(FromQString(text), search_bits::kAtOnce);
}

void SearchController::FindInFiles() {
    if (main_.Busy().Busy()) return;  // the command is disabled; a signal may still come
    findInFiles_.exec();
}

// The Find tool bar's Find in Files: the box's text, the location after the workspace's page.
void SearchController::QuickFindInFiles() {
    if (main_.Busy().Busy() || findInFiles_.Running()) return;
    std::optional<SearchLocation> location;
    if (workspace_.isVisible()) {
        QTabWidget* pages = workspace_.Pages();
        location = LocationOfWorkspacePage(FromQString(pages->tabText(pages->currentIndex())));
    }
    findInFiles_.StartWith(main_.QuickFindBox()->text(), location);
}

}  // namespace torvane::editor
