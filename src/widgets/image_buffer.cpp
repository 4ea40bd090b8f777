#include "widgets/image_buffer.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "import/pcx_image.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace torvane::widgets {

namespace {

QImage FromRaster(const imports::Raster& raster) {
    if (raster.trueColour) {
        return QImage(raster.pixels.data(), raster.width, raster.height, raster.width * 3, QImage::Format_RGB888)
            .copy();
    }
    QImage image(raster.width, raster.height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const auto& c : raster.palette) colours.push_back(qRgb(c.r, c.g, c.b));
    image.setColorTable(colours);
    for (int y = 0; y < raster.height; ++y) {
        std::memcpy(image.scanLine(y), raster.pixels.data() + std::size_t(y) * std::size_t(raster.width),
                    std::size_t(raster.width));
    }
    return image;
}

}  // namespace

ImageBuffer::ImageBuffer(int width, int height) { Resize(width, height); }

void ImageBuffer::Resize(int width, int height) {
    image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_Indexed8);
    Clear();
}

void ImageBuffer::Clear() {
    QList<QRgb> colours(256, qRgb(0, 0, 0));
    image_.setColorTable(colours);
    image_.fill(0);
}

ImageBuffer::Drawn ImageBuffer::Draw(const std::string& path) {
    Clear();
    Drawn result;
    const imports::ImageKind kind = imports::ImageKindOfName(platform::FileNamePart(path));
    if (kind == imports::ImageKind::None) return result;
    QImage source;
    try {
        const std::string bytes = platform::ReadWholeFile(path);
        result.info = imports::ReadImageInfo(kind, bytes);
        if (kind == imports::ImageKind::Pcx) {
            source = FromRaster(imports::DecodePcx(bytes, image_.width(), image_.height()));
        } else {
            // Qt refuses a picture larger than its allocation limit rather than making it.
            source = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP");
        }
    } catch (const std::exception& e) {
        result.error = e.what();
        return result;
    }
    if (source.isNull()) {
        result.error = "The image could not be decoded.";
        return result;
    }
    if (source.format() != QImage::Format_Indexed8) {
        source = source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::PreferDither);
    }
    CopyTopLeft(source);
    result.drawn = true;
    return result;
}

void ImageBuffer::CopyTopLeft(const QImage& indexed) {
    QList<QRgb> colours = indexed.colorTable();
    colours.resize(256, qRgb(0, 0, 0));
    image_.setColorTable(colours);
    const int width = std::min(image_.width(), indexed.width());
    const int height = std::min(image_.height(), indexed.height());
    for (int y = 0; y < height; ++y) std::memcpy(image_.scanLine(y), indexed.constScanLine(y), std::size_t(width));
}

}  // namespace torvane::widgets
