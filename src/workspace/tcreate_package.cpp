#include "workspace/tcreate_package.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text.h"
#include "widgets/named_check_box.h"
#include "widgets/text_codec.h"
#include "workspace/package_operations.h"

namespace torvane::workspace {

using widgets::FromQString;

TCreatePackage::TCreatePackage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TCreatePackage"));
    setWindowTitle(QStringLiteral("Create New Package..."));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("PackageName"));
    fields->addRow(QStringLiteral("Package Name"), name_);
    layout->addLayout(fields);

    auto* group = new QGroupBox(QStringLiteral(" Create Directory "), this);
    auto* boxes = new QVBoxLayout(group);
    classes_ = widgets::NamedCheckBox(group, "Classes", "Classes");
    classes_->setChecked(true);
    classes_->setEnabled(false);  // every package has its classes
    textures_ = widgets::NamedCheckBox(group, "Textures", "Textures");
    sounds_ = widgets::NamedCheckBox(group, "Sounds", "Sounds");
    music_ = widgets::NamedCheckBox(group, "Music", "Music");
    models_ = widgets::NamedCheckBox(group, "Models", "Models");
    others_ = widgets::NamedCheckBox(group, "Others", "Others (1 per line please)");
    for (QCheckBox* box : {classes_, textures_, sounds_, music_, models_, others_}) boxes->addWidget(box);
    otherDirs_ = new QPlainTextEdit(group);
    otherDirs_->setObjectName(QStringLiteral("OtherDirs"));
    otherDirs_->setTabChangesFocus(true);
    otherDirs_->setEnabled(false);
    connect(others_, &QCheckBox::toggled, otherDirs_, &QWidget::setEnabled);
    boxes->addWidget(otherDirs_);
    layout->addWidget(group, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setObjectName(QStringLiteral("OkBtn"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &TCreatePackage::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(320, 360);
}

void TCreatePackage::Prepare() {
    name_->clear();
    for (QCheckBox* box : {textures_, sounds_, music_, models_, others_}) box->setChecked(false);
    otherDirs_->clear();
    name_->setFocus();
}

NewPackageRequest TCreatePackage::Request() const {
    NewPackageRequest request;
    request.name = std::string(core::Trim(FromQString(name_->text())));
    request.textures = textures_->isChecked();
    request.sounds = sounds_->isChecked();
    request.music = music_->isChecked();
    request.models = models_->isChecked();
    request.others = others_->isChecked();
    for (const QString& line : otherDirs_->toPlainText().split(QLatin1Char('\n'))) {
        request.otherLines.push_back(FromQString(line));
    }
    return request;
}

void TCreatePackage::accept() {
    if (creator_ && !creator_(Request())) return;
    QDialog::accept();
}

}  // namespace torvane::workspace
