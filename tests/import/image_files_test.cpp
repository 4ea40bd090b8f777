// PCX and BMP headers, palettes and pixels, and damaged files refused without a crash.
#include <gtest/gtest.h>

#include <functional>

#include "import/bmp_header.h"
#include "import/image_info.h"
#include "import/pcx_image.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

namespace torvane::imports {
namespace {

using testing::BmpBytes;
using testing::PcxBytes;

struct InfoCase {
    const char* what;
    ImageKind kind;
    std::string bytes;
    int width, height, palette;
};

TEST(ImageFilesTest, SizeAndPaletteOfEachVariant) {
    const InfoCase cases[] = {
        {"PCX 256 colours", ImageKind::Pcx, PcxBytes(256, 128), 256, 128, 256},
        {"PCX 16 colours in one plane", ImageKind::Pcx, PcxBytes(33, 7, 4, 1), 33, 7, 16},
        {"PCX 16 colours in four planes", ImageKind::Pcx, PcxBytes(20, 3, 1, 4), 20, 3, 16},
        {"PCX black and white", ImageKind::Pcx, PcxBytes(9, 9, 1, 1), 9, 9, 2},
        {"PCX true colour", ImageKind::Pcx, PcxBytes(16, 16, 8, 3), 16, 16, 0},
        {"BMP 256 colours", ImageKind::Bmp, BmpBytes(64, 32), 64, 32, 256},
        {"BMP 8 bits using 200 colours", ImageKind::Bmp, BmpBytes(8, 8, 8, 200), 8, 8, 200},
        {"BMP 16 colours", ImageKind::Bmp, BmpBytes(5, 3, 4), 5, 3, 16},
        {"BMP true colour", ImageKind::Bmp, BmpBytes(3, 5, 24), 3, 5, 0},
    };
    for (const auto& c : cases) {
        const ImageInfo info = ReadImageInfo(c.kind, c.bytes);
        EXPECT_EQ(info.kind, c.kind) << c.what;
        EXPECT_EQ(info.width, c.width) << c.what;
        EXPECT_EQ(info.height, c.height) << c.what;
        EXPECT_EQ(info.paletteEntries, c.palette) << c.what;
    }
}

TEST(ImageFilesTest, KindByExtensionInAnyCase) {
    EXPECT_EQ(ImageKindOfName("wall.pcx"), ImageKind::Pcx);
    EXPECT_EQ(ImageKindOfName("WALL.PCX"), ImageKind::Pcx);
    EXPECT_EQ(ImageKindOfName("Brick.Bmp"), ImageKind::Bmp);
    EXPECT_EQ(ImageKindOfName("notes.txt"), ImageKind::None);
    EXPECT_EQ(ImageKindOfName("pcx"), ImageKind::None);

    testing::TempDir dir;
    const ImageInfo none = ReadImageFileInfo(dir.Write("readme.txt", "text"));
    EXPECT_EQ(none.kind, ImageKind::None);
    EXPECT_EQ(none.width, 0);
    const ImageInfo bmp = ReadImageFileInfo(dir.Write("Sky.BMP", BmpBytes(128, 64)));
    EXPECT_EQ(bmp.width, 128);
}

// Hostile files: each is refused with a text, before anything of its declared size exists.
TEST(ImageFilesTest, DamagedFilesAreRefused) {
    const std::string pcx = PcxBytes(64, 64);
    const std::string bmp = BmpBytes(64, 64);
    std::string hugePcx = PcxBytes(4, 4);
    hugePcx[8] = hugePcx[9] = hugePcx[10] = hugePcx[11] = '\xFF';  // 65536 x 65536
    std::string hugeBmp = BmpBytes(4, 4);
    hugeBmp[18] = hugeBmp[19] = hugeBmp[20] = '\xFF';  // 16 million wide
    std::string wideBmp = BmpBytes(4, 4);
    wideBmp[18] = '\x00';
    wideBmp[19] = '\x40';  // 16384 wide: the rows would not fit in the file
    std::string tooManyColours = BmpBytes(4, 4, 4);
    tooManyColours[46] = 17;
    std::string noPalette = pcx;
    noPalette[noPalette.size() - 769] = 0;
    std::string shortLines = pcx;
    shortLines[66] = 2;  // 2 bytes per line for 64 pixels
    std::string negativeBmp = BmpBytes(4, 4);
    negativeBmp[18] = negativeBmp[19] = negativeBmp[20] = negativeBmp[21] = '\xFF';  // width -1
    std::string rle = BmpBytes(4, 4);
    rle[30] = 1;  // RLE8, its size beyond the file
    rle[34] = rle[35] = '\x7F';

    const std::pair<const char*, std::pair<ImageKind, std::string>> cases[] = {
        {"empty PCX", {ImageKind::Pcx, ""}},
        {"PCX header only", {ImageKind::Pcx, pcx.substr(0, 128)}},
        {"PCX cut in its pixels", {ImageKind::Pcx, pcx.substr(0, 200) + pcx.substr(pcx.size() - 769)}},
        {"PCX declaring 65536 x 65536", {ImageKind::Pcx, hugePcx}},
        {"PCX without its palette", {ImageKind::Pcx, noPalette}},
        {"PCX lines shorter than its width", {ImageKind::Pcx, shortLines}},
        {"PCX that is a BMP", {ImageKind::Pcx, bmp}},
        {"empty BMP", {ImageKind::Bmp, ""}},
        {"BMP cut in its rows", {ImageKind::Bmp, bmp.substr(0, bmp.size() - 1)}},
        {"BMP cut in its palette", {ImageKind::Bmp, bmp.substr(0, 100)}},
        {"BMP 16 million pixels wide", {ImageKind::Bmp, hugeBmp}},
        {"BMP 16384 wide in a small file", {ImageKind::Bmp, wideBmp}},
        {"BMP of negative width", {ImageKind::Bmp, negativeBmp}},
        {"BMP with 17 colours in 4 bits", {ImageKind::Bmp, tooManyColours}},
        {"BMP with run-length data beyond the file", {ImageKind::Bmp, rle}},
        {"BMP that is a PCX", {ImageKind::Bmp, pcx}},
    };
    for (const auto& [what, input] : cases) {
        try {
            ReadImageInfo(input.first, input.second);
            ADD_FAILURE() << what << " was read";
        } catch (const ImageError& e) {
            EXPECT_FALSE(std::string(e.what()).empty()) << what;
        }
        if (input.first == ImageKind::Pcx) {
            EXPECT_THROW(DecodePcx(input.second, 256, 256), ImageError) << what;
        }
    }
}

TEST(ImageFilesTest, AFileErrorNamesTheFile) {
    testing::TempDir dir;
    try {
        ReadImageFileInfo(dir.Write("broken.pcx", "\x0A\x05"));
        FAIL() << "read";
    } catch (const ImageError& e) {
        EXPECT_EQ(std::string(e.what()), "broken.pcx: It is not a PCX file.");
    }
}

TEST(ImageFilesTest, PcxPixelsOfEachVariant) {
    struct Variant {
        int bits, planes, colours;
    } variants[] = {{8, 1, 256}, {4, 1, 16}, {1, 4, 16}, {2, 1, 4}, {1, 1, 2}};
    for (const auto& v : variants) {
        const Raster raster = DecodePcx(PcxBytes(37, 11, v.bits, v.planes), 256, 256);
        ASSERT_EQ(raster.width, 37) << v.bits << "x" << v.planes;
        ASSERT_EQ(raster.height, 11);
        EXPECT_FALSE(raster.trueColour);
        ASSERT_EQ(raster.palette.size(), std::size_t(v.colours));
        for (int y = 0; y < 11; ++y) {
            for (int x = 0; x < 37; ++x) {
                ASSERT_EQ(raster.pixels[std::size_t(y * 37 + x)], testing::PixelIndex(x, y) % v.colours)
                    << v.bits << "x" << v.planes << " at " << x << "," << y;
            }
        }
    }
    const Raster colours = DecodePcx(PcxBytes(8, 8), 8, 8);
    EXPECT_EQ(colours.palette[200].r, 200);
    EXPECT_EQ(colours.palette[200].g, 55);
    EXPECT_EQ(colours.palette[200].b, 100);
    const Raster header = DecodePcx(PcxBytes(8, 8, 4, 1), 8, 8);
    EXPECT_EQ(header.palette[15].r, 15);
    EXPECT_EQ(header.palette[15].g, 240);
}

TEST(ImageFilesTest, PcxTrueColourAndTheTopLeftPart) {
    const Raster rgb = DecodePcx(PcxBytes(300, 20, 8, 3), 256, 256);
    ASSERT_TRUE(rgb.trueColour);
    EXPECT_EQ(rgb.width, 256);
    EXPECT_EQ(rgb.height, 20);
    const std::size_t at = (std::size_t(5) * 256 + 200) * 3;  // x 200, y 5
    EXPECT_EQ(rgb.pixels[at], 200);
    EXPECT_EQ(rgb.pixels[at + 1], 5);
    EXPECT_EQ(rgb.pixels[at + 2], 205);

    // A large image gives only the part asked for.
    const Raster part = DecodePcx(PcxBytes(1024, 2048), 256, 256);
    EXPECT_EQ(part.width, 256);
    EXPECT_EQ(part.height, 256);
    EXPECT_EQ(part.pixels.size(), 256u * 256u);
    EXPECT_EQ(part.pixels[255 * 256 + 255], testing::PixelIndex(255, 255));
}

}  // namespace
}  // namespace torvane::imports
