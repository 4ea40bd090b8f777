#pragma once

#include <QWidget>
#include <memory>
#include <string>

class QScrollArea;

namespace torvane::core {
class Prompter;
}
namespace torvane::widgets {
class ImageBuffer;
class ImageBufferView;
}

namespace torvane::imports {

// The image viewer: one PCX or BMP image in a window of its size (a side below 128 pixels shows
// as 256), its file name and size in the hint.
class TTextViewer final : public QWidget {
    Q_OBJECT

public:
    TTextViewer(core::Prompter& prompter, QWidget* parent = nullptr);
    ~TTextViewer() override;

    void Load(const std::string& path);

    QWidget* ClientArea() const;
    const widgets::ImageBuffer& Buffer() const { return *buffer_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    core::Prompter& prompter_;
    std::unique_ptr<widgets::ImageBuffer> buffer_;
    QScrollArea* scroll_ = nullptr;
    widgets::ImageBufferView* view_ = nullptr;
};

}  // namespace torvane::imports
