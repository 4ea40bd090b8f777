#include "workspace/texport_options.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "widgets/named_check_box.h"

namespace torvane::workspace {

TExportOptions::TExportOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TExportOptions"));
    setWindowTitle(QStringLiteral("Export Options..."));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setMinimumWidth(340);
    auto* layout = new QVBoxLayout(this);
    classes_ = widgets::NamedCheckBox(this, "ExpClasses", "Export Classes");
    classes_->setChecked(true);
    // Classes are always exported: a click leaves the box checked.
    connect(classes_, &QCheckBox::clicked, classes_, [this] { classes_->setChecked(true); });
    graphics_ = widgets::NamedCheckBox(this, "ExpGfx", "Export Graphics");
    sounds_ = widgets::NamedCheckBox(this, "ExpSnd", "Export Sounds");
    models_ = widgets::NamedCheckBox(this, "ExpModels", "Export Models");
    models_->setTristate(true);
    for (QCheckBox* box : {classes_, graphics_, sounds_, models_}) layout->addWidget(box);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Button1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

bool TExportOptions::Classes() const { return classes_->isChecked(); }
bool TExportOptions::Graphics() const { return graphics_->isChecked(); }
bool TExportOptions::Sounds() const { return sounds_->isChecked(); }
bool TExportOptions::Models() const { return models_->checkState() != Qt::Unchecked; }

void TExportOptions::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

}  // namespace torvane::workspace
