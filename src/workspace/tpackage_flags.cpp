#include "workspace/tpackage_flags.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/text_codec.h"
#include "workspace/package_operations.h"

namespace torvane::workspace {

static_assert(kPackageFlagCount == 5, "one box per flag");

TPackageFlags::TPackageFlags(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TPackageFlags"));
    setWindowTitle(QStringLiteral("Package Flags for..."));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Package:"), this));
    package_ = new QLineEdit(this);
    package_->setObjectName(QStringLiteral("PackageName"));
    package_->setReadOnly(true);
    package_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(package_);
    static constexpr std::pair<const char*, const char*> kBoxes[] = {
        {"AllowDownload", "Allow Download"}, {"ClientOptional", "Client Optional"},
        {"ServerSideOnly", "Server Side Only"}, {"BrokenLinks", "Broken Links"}, {"Unsecure", "Unsecure"},
    };
    for (std::size_t bit = 0; bit < boxes_.size(); ++bit) {
        boxes_[bit] = new QCheckBox(QString::fromLatin1(kBoxes[bit].second), this);
        boxes_[bit]->setObjectName(QString::fromLatin1(kBoxes[bit].first));
        layout->addWidget(boxes_[bit]);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    set_ = new QPushButton(QStringLiteral("Set"), this);
    set_->setObjectName(QStringLiteral("SetBtn"));
    set_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(set_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(set_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(280, 240);
}

void TPackageFlags::Prepare(const std::string& package, std::uint32_t flags) {
    package_->setText(widgets::ToQString(package));
    for (std::size_t bit = 0; bit < boxes_.size(); ++bit) boxes_[bit]->setChecked((flags >> bit) & 1u);
}

std::uint32_t TPackageFlags::Flags() const {
    std::uint32_t flags = 0;
    for (std::size_t bit = 0; bit < boxes_.size(); ++bit) {
        if (boxes_[bit]->isChecked()) flags |= 1u << bit;
    }
    return flags;
}

}  // namespace torvane::workspace
