#include "workspace/texport_package.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "widgets/text_codec.h"

namespace torvane::workspace {

using widgets::ToQString;

TExportPackage::TExportPackage(QWidget* centreOn) : QWidget(centreOn, Qt::Dialog), centreOn_(centreOn) {
    setObjectName(QStringLiteral("TExportPackage"));
    setWindowTitle(QStringLiteral("Exporting Package"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Package"), this));
    package_ = new QLineEdit(this);
    package_->setObjectName(QStringLiteral("Edit1"));
    package_->setReadOnly(true);
    layout->addWidget(package_);
    layout->addWidget(new QLabel(QStringLiteral("Status"), this));
    status_ = new QLineEdit(this);
    status_->setObjectName(QStringLiteral("Edit2"));
    status_->setReadOnly(true);
    layout->addWidget(status_);
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setSizeGripEnabled(false);
    layout->addWidget(statusBar_);
    resize(420, 150);
}

void TExportPackage::Start() {
    ++runs_;
    setWindowTitle(QStringLiteral("Exporting"));
    package_->clear();
    status_->clear();
    if (centreOn_) move(centreOn_->geometry().center() - rect().center());
    show();
    repaint();
}

void TExportPackage::ShowPackage(std::string_view name) {
    package_->setText(ToQString(name));
    repaint();
}

bool TExportPackage::IsShown() const { return isVisible(); }

void TExportPackage::ShowStatus(std::string_view text) {
    status_->setText(ToQString(text));
    status_->repaint();
}

void TExportPackage::ShowMemory(std::string_view text) { statusBar_->showMessage(ToQString(text)); }

void TExportPackage::Finish(int lingerMs) {
    if (lingerMs <= 0) {
        hide();
    } else {
        QTimer::singleShot(lingerMs, this, [this, run = runs_] {
            if (run == runs_) hide();
        });
    }
}

}  // namespace torvane::workspace
