#pragma once

#include <QWidget>

namespace torvane::widgets {

class ImageBuffer;

// Paints an image buffer into its area, at the top left.
class ImageBufferView final : public QWidget {
    Q_OBJECT

public:
    ImageBufferView(const ImageBuffer& buffer, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ImageBuffer& buffer_;
};

}  // namespace torvane::widgets
