#include "editor/ted_find_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
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

TEdFindDlg::TEdFindDlg(core::Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("TEdFindDlg"));
    setWindowTitle(QStringLiteral("Find text..."));
    KeepOnTopModeless(*this);
    auto* column = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Text to find"), this);
    findText_ = NewHistoryCombo(this, "FindText");
    label->setBuddy(findText_);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(findText_, 1);
    column->addLayout(textRow);
    options_ = new SearchOptionsView(false, this);
    column->addWidget(options_);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = AddNamedButton(*buttons, "OK", QDialogButtonBox::AcceptRole, "OK");
    ok_->setDefault(true);
    QPushButton* cancel = AddNamedButton(*buttons, "Cancel", QDialogButtonBox::RejectRole, "Cancel");
    column->addWidget(buttons);

    connect(findText_, &QComboBox::editTextChanged, this, [this](const QString& text) { ok_->setEnabled(!text.isEmpty()); });
    connect(ok_, &QPushButton::clicked, this, shell::Guarded(prompter_, [this] { Find(); }));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TEdFindDlg::ShowFor(const QString& initialText, int options, TEdPersistent& settings, TSyntaxMemo* memo) {
    settings_ = &settings;
    memo_ = memo;
    FillHistoryCombo(*findText_, settings.FindHistory(), initialText);
    ok_->setEnabled(!initialText.isEmpty());
    options_->SetBoxes(BoxesOfOptions(options));
    ShowInFront(*this, *findText_);
}

// OK: the search from the editor's selection; the dialog stays open.
void TEdFindDlg::Find() {
    const QString text = findText_->currentText();
    if (!memo_ || !settings_ || text.isEmpty()) return;
    const int options = options_->Options();
    const long from = SearchStartAfterSkip(*memo_, text, options, options_->Boxes().caseSensitive);
    PutEditTextOnTop(*findText_);
    settings_->SetLastSearch(FromQString(text), options | search_bits::kAtOnce);
    if (!FindAndSelect(*memo_, text, options, from)) prompter_.Information(NotFoundMessage(FromQString(text)));
}

// Closing (OK never closes): the list, newest first, becomes the find history.
void TEdFindDlg::done(int result) {
    if (settings_) {
        const std::vector<std::string> items = ComboItems(*findText_);
        shell::RunGuarded(prompter_, [&] { settings_->SaveFindHistory(items); });
    }
    QDialog::done(result);
}

}  // namespace torvane::editor
