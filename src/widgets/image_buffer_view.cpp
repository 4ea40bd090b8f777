#include "widgets/image_buffer_view.h"

#include <QPainter>

#include "widgets/image_buffer.h"

namespace torvane::widgets {

ImageBufferView::ImageBufferView(const ImageBuffer& buffer, QWidget* parent) : QWidget(parent), buffer_(buffer) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageBufferView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, buffer_.Image());
}

}  // namespace torvane::widgets
