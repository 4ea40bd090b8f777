#pragma once

#include <QImage>
#include <string>

#include "import/image_info.h"

// An off-screen 256-colour picture of a given size: PCX and BMP files are drawn into it (their
// top-left part when they are larger) and windows paint it. BMP files are decoded by Qt; PCX
// files, which Qt does not read, by the program's own decoder. Every file's header and data are
// checked first, so a damaged file is refused before anything of its declared size is made.
namespace torvane::widgets {

class ImageBuffer final {
public:
    ImageBuffer(int width, int height);

    struct Drawn {
        imports::ImageInfo info;  // what the header says (kind None when it could not be read)
        bool drawn = false;
        std::string error;        // why not
    };

    // Clears to colour 0 (black until an image brings its palette).
    void Clear();
    void Resize(int width, int height);
    // Clears, then draws the file by its extension (".PCX" or ".BMP"); other files draw nothing.
    Drawn Draw(const std::string& path);

    const QImage& Image() const { return image_; }

private:
    void CopyTopLeft(const QImage& indexed);

    QImage image_;
};

}  // namespace torvane::widgets
