#include "shell/tadd_edit_tool.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ini_file.h"
#include "shell/external_tools.h"
#include "widgets/text_codec.h"

namespace torvane::shell {

// Programs without an extension (the usual kind on Linux) show under "All Files".
QStringList TAddEditTool::BrowseFilters() {
    return {QStringLiteral("Executables (*.EXE)"), QStringLiteral("Batch Files (*.BAT)"), QStringLiteral("All Files (*)")};
}

TAddEditTool::TAddEditTool(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TAddEditTool"));
    setWindowTitle(QStringLiteral("Add | Edit Tool..."));
    setModal(true);
    chooseFile_ = [this](const QString& directory) -> std::optional<QString> {
        QFileDialog dialog(this, QStringLiteral("Open"), directory);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(BrowseFilters());
        // Windows programs are named in either case ("UCC.exe", "SETUP.EXE").
        dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().front();
    };
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Description"), this), 0, 0);
    description_ = new QLineEdit(this);
    description_->setObjectName(QStringLiteral("Description"));
    fields->addWidget(description_, 0, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Execute"), this), 1, 0);
    execute_ = new QLineEdit(this);
    execute_->setObjectName(QStringLiteral("Execute"));
    // The settings file gives back no more of a value than this.
    description_->setMaxLength(static_cast<int>(core::kMaxProfileValue));
    execute_->setMaxLength(static_cast<int>(core::kMaxProfileValue));
    fields->addWidget(execute_, 1, 1);
    browse_ = new QToolButton(this);
    browse_->setText(QStringLiteral("..."));
    browse_->setObjectName(QStringLiteral("Browse"));
    browse_->setToolTip(QStringLiteral("Choose the program"));
    fields->addWidget(browse_, 1, 2);
    fields->setColumnStretch(1, 1);
    layout->addLayout(fields);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse_, &QToolButton::clicked, this, &TAddEditTool::BrowseClicked);
    connect(description_, &QLineEdit::textChanged, this, &TAddEditTool::UpdateOk);
    resize(460, sizeHint().height());
}

bool TAddEditTool::Edit(QString& description, QString& commandLine) {
    description_->setText(description);
    execute_->setText(commandLine);
    UpdateOk();
    description_->setFocus();
    description_->selectAll();
    if (QWidget* owner = parentWidget()) move(owner->geometry().center() - rect().center());
    if (exec() != QDialog::Accepted) return false;
    description = description_->text();
    commandLine = execute_->text();
    return true;
}

void TAddEditTool::BrowseClicked() {
    if (const auto file = chooseFile_(browseDirectory_)) execute_->setText(*file);
}

// A blank description would end the stored list there and hide every tool after it.
void TAddEditTool::UpdateOk() {
    const bool usable = IsUsableToolDescription(widgets::FromQString(description_->text()));
    ok_->setEnabled(usable);
    ok_->setToolTip(usable ? QString() : QStringLiteral("A tool needs a description: it is the menu entry."));
}

}  // namespace torvane::shell
