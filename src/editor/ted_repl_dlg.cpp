#include "editor/ted_repl_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/interaction.h"
#include "editor/editor_search.h"
#include "editor/search_dialog_parts.h"
#include "editor/search_options.h"
#include "editor/search_options_view.h"
#include "editor/ted_persistent.h"
#include "editor/tsyntax_memo.h"
#include "shell/command_boundary.h"
#include "widgets/text_codec.h"

namespace torvane::editor {

using widgets::FromQString;

namespace {

// Replace All works on the text as one step: one undo group, the prompt box off while it runs,
// and no repainting unless it asks before each replacement; all undone on every way out.
class ReplaceAllScope final {
public:
    ReplaceAllScope(TSyntaxMemo& memo, QCheckBox* prompt, bool prompting) : memo_(memo), prompt_(prompt) {
        memo_.beginUndoAction();
        if (!prompting) memo_.setUpdatesEnabled(false);
        if (prompt_) prompt_->setEnabled(false);
    }
    ~ReplaceAllScope() {
        if (prompt_) prompt_->setEnabled(true);
        memo_.setUpdatesEnabled(true);
        memo_.endUndoAction();
        // The final selection, shown again now that the control repaints.
        memo_.SelectMatch({memo_.SelectionStartPosition(), memo_.SelectionEndPosition()});
    }
    ReplaceAllScope(const ReplaceAllScope&) = delete;
    ReplaceAllScope& operator=(const ReplaceAllScope&) = delete;

private:
    TSyntaxMemo& memo_;
    QCheckBox* prompt_;
};

}  // namespace

TEdReplDlg::TEdReplDlg(core::Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("TEdReplDlg"));
    setWindowTitle(QStringLiteral("Find and replace text..."));
    KeepOnTopModeless(*this);
    auto* column = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    findText_ = NewHistoryCombo(this, "FindText");
    replaceText_ = NewHistoryCombo(this, "ReplaceText");
    auto* findLabel = new QLabel(QStringLiteral("&Text to find"), this);
    auto* replaceLabel = new QLabel(QStringLiteral("Replace with"), this);
    findLabel->setBuddy(findText_);
    replaceLabel->setBuddy(replaceText_);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(findText_, 0, 1);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(replaceText_, 1, 1);
    column->addLayout(grid);
    options_ = new SearchOptionsView(true, this);
    column->addWidget(options_);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = AddNamedButton(*buttons, "OK", QDialogButtonBox::AcceptRole, "OK");
    ok_->setDefault(true);
    QPushButton* cancel = AddNamedButton(*buttons, "Cancel", QDialogButtonBox::RejectRole, "Cancel");
    replaceAll_ = AddNamedButton(*buttons, "Replace All", QDialogButtonBox::ActionRole, "ReplaceAll");
    column->addWidget(buttons);

    connect(findText_, &QComboBox::editTextChanged, this, &TEdReplDlg::EnableButtons);
    connect(ok_, &QPushButton::clicked, this, shell::Guarded(prompter_, [this] { ReplaceNext(); }));
    connect(replaceAll_, &QPushButton::clicked, this, shell::Guarded(prompter_, [this] { ReplaceAll(); }));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TEdReplDlg::EnableButtons() {
    const bool text = !findText_->currentText().isEmpty();
    ok_->setEnabled(text);
    replaceAll_->setEnabled(text);
}

void TEdReplDlg::ShowFor(const QString& initialText, int options, TEdPersistent& settings, TSyntaxMemo* memo) {
    settings_ = &settings;
    memo_ = memo;
    FillHistoryCombo(*findText_, settings.FindHistory(), initialText);
    SetComboItems(*replaceText_, settings.ReplaceHistory());
    replaceText_->setEditText(replaceText_->count() > 0 ? replaceText_->itemText(0) : QString());
    options_->SetBoxes(BoxesOfOptions(options));
    EnableButtons();
    ShowInFront(*this, *findText_);
}

void TEdReplDlg::PutTextsOnTop() {
    for (QComboBox* combo : {findText_, replaceText_}) PutEditTextOnTop(*combo);
}

// OK: the next hit after the caret is found and replaced (after a question when prompting). The
// last search stays as it was.
void TEdReplDlg::ReplaceNext() {
    const QString text = findText_->currentText();
    if (!memo_ || text.isEmpty()) return;
    const int options = options_->Options();
    SearchStartAfterSkip(*memo_, text, options, true);
    PutTextsOnTop();
    if (!FindAndSelect(*memo_, text, options, memo_->CaretPosition())) {
        prompter_.Information(NotFoundMessage(FromQString(text)));
        return;
    }
    const QString replacement = memo_->Replacement(replaceText_->currentText(), options);
    if (options_->PromptOnReplace()->isChecked() &&
        prompter_.Confirm(ReplaceQuestion(FromQString(text), FromQString(replacement)), core::Buttons::YesNoCancel) !=
            core::Answer::Yes) {
        return;
    }
    memo_->ReplaceSelection(replacement);
}

// Replace All: from the start of the text, every hit in turn (Cancel in the question stops, No
// skips one), as one undo step.
void TEdReplDlg::ReplaceAll() {
    const QString text = findText_->currentText();
    if (!memo_ || !settings_ || text.isEmpty()) return;
    TSyntaxMemo& memo = *memo_;
    const int options = options_->Options();
    // Every hit from the start of the text: forwards whatever the direction (backwards from the
    // start there would be nothing to find).
    const int walkOptions = (options & ~search_bits::kBackwards) | search_bits::kAtOnce;
    SearchStartAfterSkip(memo, text, options, options_->Boxes().caseSensitive);
    PutTextsOnTop();
    const bool prompting = options_->PromptOnReplace()->isChecked();
    const QString replacementText = replaceText_->currentText();
    bool found = false;
    {
        const ReplaceAllScope scope(memo, options_->PromptOnReplace(), prompting);
        memo.SetSelectionPositions(0, 0);
        long from = 0;
        for (;;) {
            settings_->SetLastSearch(FromQString(text), options | search_bits::kAtOnce);
            const auto match = memo.Search(text, walkOptions, from);
            if (!match) break;
            found = true;
            memo.SelectMatch(*match);
            const QString replacement = memo.Replacement(replacementText, options);
            core::Answer answer = core::Answer::Yes;
            if (prompting) {
                answer = prompter_.Confirm(ReplaceQuestion(FromQString(text), FromQString(replacement)),
                                           core::Buttons::YesNoCancel);
            }
            if (answer == core::Answer::Cancel) break;
            if (answer == core::Answer::Yes) memo.ReplaceSelection(replacement);
            long next = answer == core::Answer::Yes ? memo.SelectionEndPosition() : match->end;
            if (match->start == match->end) {  // an empty match: go on one character later
                if (next >= memo.TextLength()) break;
                next = memo.PositionAfter(next);
            }
            from = next;
        }
    }
    if (!found) prompter_.Information(NotFoundMessage(FromQString(text)));
}

void TEdReplDlg::done(int result) {
    if (settings_) {
        const std::vector<std::string> finds = ComboItems(*findText_);
        const std::vector<std::string> replaces = ComboItems(*replaceText_);
        shell::RunGuarded(prompter_, [&] {
            settings_->SaveFindHistory(finds);
            settings_->SaveReplaceHistory(replaces);
        });
    }
    QDialog::done(result);
}

}  // namespace torvane::editor
