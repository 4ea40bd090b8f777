#include "shell/tabout_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/product_picture.h"

namespace torvane::shell {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(ProductPicture(64));
    layout->addWidget(picture, 0, Qt::AlignCenter);
    layout->addWidget(new QLabel(QStringLiteral("<b>Torvane</b>"), this), 0, Qt::AlignCenter);
    layout->addWidget(new QLabel(QString::fromLatin1(kProductVersion), this), 0, Qt::AlignCenter);
    auto* link = new QLabel(
        QStringLiteral("<a href=\"https://torvane.example.org/\">torvane.example.org</a>"), this);
    link->setOpenExternalLinks(true);  // the desktop's "open" for the address
    layout->addWidget(link, 0, Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

}  // namespace torvane::shell
