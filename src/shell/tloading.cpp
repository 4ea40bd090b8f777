#include "shell/tloading.h"

#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

#include "shell/product_picture.h"
#include "widgets/window_placement.h"

namespace torvane::shell {

TLoading::TLoading(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TLoading"));
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(ProductPicture(96));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    auto* name = new QLabel(QStringLiteral("<b>Torvane</b>"), this);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    auto* version = new QLabel(QString::fromLatin1(kProductVersion), this);
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    auto* patience = new QLabel(QStringLiteral("Doing really important stuff... be patient!"), this);
    patience->setAlignment(Qt::AlignCenter);
    patience->setStyleSheet(QStringLiteral("QLabel { background: navy; color: yellow; padding: 2px; }"));
    layout->addWidget(patience);
    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(false);
    layout->addWidget(status_);
    SetStatus(QStringLiteral("Loading Preferences..."));
    setFixedSize(360, 260);
    widgets::CentreOnScreen(*this);
}

void TLoading::SetStatus(const QString& text) { status_->showMessage(text); }

QString TLoading::Status() const { return status_->currentMessage(); }

}  // namespace torvane::shell
