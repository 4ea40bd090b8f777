#include "import/ttext_viewer.h"

#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "core/interaction.h"
#include "import/import_rules.h"
#include "platform/game_paths.h"
#include "widgets/image_buffer.h"
#include "widgets/image_buffer_view.h"
#include "widgets/text_codec.h"
#include "widgets/window_placement.h"

namespace torvane::imports {

namespace {

// The buffer holds the whole of any image a texture can be, and no more.
constexpr int kLargestSide = 4096;

}  // namespace

TTextViewer::TTextViewer(core::Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Tool), prompter_(prompter), buffer_(std::make_unique<widgets::ImageBuffer>(640, 480)) {
    setObjectName(QStringLiteral("TTextViewer"));
    setWindowTitle(QStringLiteral("Image Viewer"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    view_ = new widgets::ImageBufferView(*buffer_, scroll_);
    view_->setObjectName(QStringLiteral("ClientArea"));
    view_->setFixedSize(640, 480);
    scroll_->setWidget(view_);
    layout->addWidget(scroll_);
}

TTextViewer::~TTextViewer() = default;

QWidget* TTextViewer::ClientArea() const { return view_; }

void TTextViewer::Load(const std::string& path) {
    const ImageKind kind = ImageKindOfName(platform::FileNamePart(path));
    ImageInfo info;
    if (kind != ImageKind::None) {
        try {
            info = ReadImageFileInfo(path);
        } catch (const std::exception&) {
            // Drawing below fails too and says so.
        }
    }
    const int width = ViewerSide(info.width);
    const int height = ViewerSide(info.height);
    buffer_->Resize(std::min(width, kLargestSide), std::min(height, kLargestSide));
    if (kind != ImageKind::None && !buffer_->Draw(path).drawn) prompter_.Error(DrawErrorText(kind));
    view_->setFixedSize(width, height);
    const QString hint = widgets::ToQString(ViewerHint(path, width, height));
    setToolTip(hint);
    view_->setToolTip(hint);
    // The window takes the image's size, as far as the screen allows.
    QSize client(width, height);
    if (const QScreen* screen = this->screen()) client = client.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(client);
    view_->repaint();
}

void TTextViewer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    widgets::CentreOnScreen(*this);
}

}  // namespace torvane::imports
