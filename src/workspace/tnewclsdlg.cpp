#include "workspace/tnewclsdlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text.h"
#include "widgets/text_codec.h"
#include "workspace/class_operations.h"

namespace torvane::workspace {

using widgets::FromQString;
using widgets::ToQString;

TNewClsDlg::TNewClsDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TNewClsDlg"));
    setWindowTitle(QStringLiteral("Create a new sub-class"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    parentClass_ = new QLineEdit(this);
    parentClass_->setObjectName(QStringLiteral("ParentClass"));
    parentClass_->setReadOnly(true);
    parentClass_->setFocusPolicy(Qt::NoFocus);
    fields->addRow(QStringLiteral("Parent Class"), parentClass_);
    childName_ = new QLineEdit(this);
    childName_->setObjectName(QStringLiteral("ChildName"));
    fields->addRow(QStringLiteral("Class Name..."), childName_);
    package_ = new QComboBox(this);
    package_->setObjectName(QStringLiteral("Package"));
    package_->setEditable(true);
    package_->setInsertPolicy(QComboBox::NoInsert);
    fields->addRow(QStringLiteral("Package"), package_);
    layout->addLayout(fields);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok_->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TNewClsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(440, 150);
}

void TNewClsDlg::Prepare(const NewClassForm& form) {
    setWindowTitle(ToQString(form.caption));
    childName_->clear();
    parentClass_->setText(ToQString(form.parentField));
    package_->clear();
    for (const std::string& name : form.packages) package_->addItem(ToQString(name));
    package_->setCurrentIndex(form.selected);
    if (form.selected < 0) package_->setEditText(QString());
    childName_->setFocus();
}

std::string TNewClsDlg::ClassName() const { return std::string(core::Trim(FromQString(childName_->text()))); }

std::string TNewClsDlg::PackageName() const {
    return std::string(core::Trim(FromQString(package_->currentText())));
}

void TNewClsDlg::accept() {
    if (validator_ && !validator_(ClassName(), PackageName())) return;
    QDialog::accept();
}

}  // namespace torvane::workspace
