#include "editor/tgoto_line_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/interaction.h"
#include "editor/editor_rules.h"
#include "widgets/text_codec.h"

namespace torvane::editor {

TGotoLineDialog::TGotoLineDialog(core::Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("TGotoLineDialog"));
    setWindowTitle(QStringLiteral("Go to line number"));
    auto* column = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Enter new line number"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("LineNumber"));
    label->setBuddy(edit_);
    column->addWidget(label);
    column->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    column->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TGotoLineDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TGotoLineDialog::reject);
}

void TGotoLineDialog::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

bool TGotoLineDialog::Execute() {
    edit_->setText(QString::number(current_));
    edit_->selectAll();
    edit_->setFocus();
    return exec() == QDialog::Accepted;
}

void TGotoLineDialog::accept() {
    const auto line = LineNumberInRange(widgets::FromQString(edit_->text()), minimum_, maximum_);
    if (!line) {
        prompter_.Warning(LineRangeWarning(minimum_, maximum_));
        edit_->selectAll();
        edit_->setFocus();
        return;
    }
    current_ = *line;
    QDialog::accept();
}

}  // namespace torvane::editor
