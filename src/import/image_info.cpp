#include "import/image_info.h"

#include "core/text.h"
#include "import/bmp_header.h"
#include "import/pcx_image.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace torvane::imports {

ImageKind ImageKindOfName(std::string_view name) {
    if (core::EndsWithIgnoringCase(name, ".PCX")) return ImageKind::Pcx;
    if (core::EndsWithIgnoringCase(name, ".BMP")) return ImageKind::Bmp;
    return ImageKind::None;
}

ImageInfo ReadImageInfo(ImageKind kind, std::string_view bytes) {
    switch (kind) {
        case ImageKind::Pcx: return ReadPcxInfo(bytes);
        case ImageKind::Bmp: return ReadBmpInfo(bytes);
        case ImageKind::None: break;
    }
    return {};
}

ImageInfo ReadImageFileInfo(const std::string& path) {
    const ImageKind kind = ImageKindOfName(platform::FileNamePart(path));
    if (kind == ImageKind::None) return {};
    try {
        return ReadImageInfo(kind, platform::ReadWholeFile(path));
    } catch (const ImageError& e) {
        throw ImageError(platform::FileNamePart(path) + ": " + e.what());
    }
}

}  // namespace torvane::imports
