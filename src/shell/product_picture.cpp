#include "shell/product_picture.h"

#include <QLinearGradient>
#include <QPainter>

namespace torvane::shell {

QPixmap ProductPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, size, size);
    gradient.setColorAt(0, QColor(30, 60, 140));
    gradient.setColorAt(1, QColor(10, 20, 60));
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    QFont font(QStringLiteral("Sans"), size / 2, QFont::Bold);
    painter.setFont(font);
    painter.setPen(QColor(240, 200, 80));
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("T"));
    return picture;
}

}  // namespace torvane::shell
