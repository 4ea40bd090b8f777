#include "workspace/tadd_package.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/text_codec.h"

namespace torvane::workspace {

using widgets::FromQString;
using widgets::ToQString;

TAddPackage::TAddPackage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAddPackage"));
    setWindowTitle(QStringLiteral("Select Package..."));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("The following packages where found in your Unreal Tournament directory "
                                           "but do not have a compiled .U"),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("PkgList"));
    layout->addWidget(list_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    add_ = new QPushButton(QStringLiteral("&Add"), this);
    add_->setObjectName(QStringLiteral("AddBtn"));
    add_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(add_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(add_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(340, 320);
}

void TAddPackage::Prepare(const std::vector<std::string>& names) {
    list_->clear();
    for (const std::string& name : names) {
        auto* item = new QListWidgetItem(ToQString(name), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (list_->count() > 0) list_->setCurrentRow(0);
    list_->setFocus();
}

std::vector<std::string> TAddPackage::CheckedNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->checkState() == Qt::Checked) names.push_back(FromQString(list_->item(row)->text()));
    }
    return names;
}

}  // namespace torvane::workspace
