#include "shell/tabout_box.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/product_picture.h"

namespace torvane::shell {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("About Torvane"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(ProductPicture(64));
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addSpacing(12);
    auto* text = new QVBoxLayout;
    auto* name = new QLabel(QStringLiteral("Torvane"), this);
    QFont large = name->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.6);
    name->setFont(large);
    text->addWidget(name);
    text->addWidget(new QLabel(QString::fromLatin1(kProductVersion), this));
    text->addWidget(new QLabel(QStringLiteral("The UnrealScript IDE for Unreal Tournament mods"), this));
    auto* link = new QLabel(
        QStringLiteral("<a href=\"https://torvane.example.org/\">torvane.example.org</a>"), this);
    link->setOpenExternalLinks(true);  // the desktop's "open" for the address
    text->addWidget(link);
    row->addLayout(text, 1);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    // As large as its contents, and wide enough for its title in the window's title bar.
    const int titleRoom = fontMetrics().horizontalAdvance(windowTitle()) * 2 + 120;
    setFixedSize(std::max(sizeHint().width(), titleRoom), sizeHint().height());
}

}  // namespace torvane::shell
