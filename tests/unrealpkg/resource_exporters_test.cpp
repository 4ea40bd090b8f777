// Textures to bitmaps and BMP files, sounds and text buffers as stored, on small packages built
// byte by byte and on every texture and sound package of the fixtures.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "platform/file_ops.h"
#include "resource_packages.h"
#include "support/temp_dir.h"
#include "unrealpkg/bmp_writer.h"
#include "unrealpkg/mip_bitmap.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_resource_objects.h"

namespace torvane::unrealpkg {
namespace {

using testdata::MipSpec;
using testdata::ResourcePackageSpec;
using testdata::TextureSpec;

std::string Block(std::uint16_t c0, std::uint16_t c1, std::array<std::uint8_t, 4> rows) {
    std::string bytes;
    bytes += static_cast<char>(c0 & 0xFF);
    bytes += static_cast<char>(c0 >> 8);
    bytes += static_cast<char>(c1 & 0xFF);
    bytes += static_cast<char>(c1 >> 8);
    for (std::uint8_t row : rows) bytes += static_cast<char>(row);
    return bytes;
}

TUTMip Mip(std::uint32_t w, std::uint32_t h, const std::string& data) {
    return {w, h, std::vector<std::uint8_t>(data.begin(), data.end())};
}

std::array<int, 3> Pixel(const MipBitmap& b, std::uint32_t x, std::uint32_t y) {
    const std::uint8_t* p = &b.pixels[(static_cast<std::size_t>(y) * b.width + x) * 3];
    return {p[0], p[1], p[2]};
}

// 0xF800 is pure red (31 << 3 = 248), 0x001F pure blue (248).
constexpr std::uint16_t kRed = 0xF800;
constexpr std::uint16_t kBlue = 0x001F;

TEST(MipBitmapTest, Dxt1ColourRules) {
    struct Case {
        const char* what;
        std::uint16_t c0, c1;
        std::array<std::array<int, 3>, 4> colours;  // index 0..3
    };
    const Case cases[] = {
        {"C1 below C0: four colours at thirds", kRed, kBlue,
         {{{248, 0, 0}, {0, 0, 248}, {165, 0, 82}, {82, 0, 165}}}},
        {"C1 above C0: half way and black", kBlue, kRed,
         {{{0, 0, 248}, {248, 0, 0}, {124, 0, 124}, {0, 0, 0}}}},
        {"C0 equal to C1: three colours and black", kRed, kRed,
         {{{248, 0, 0}, {248, 0, 0}, {248, 0, 0}, {0, 0, 0}}}},
    };
    for (const Case& c : cases) {
        // Row 0 holds the indices 0, 1, 2, 3 from the left; the other rows index 3.
        const MipBitmap bitmap = DecodeDxt1(Mip(4, 4, Block(c.c0, c.c1, {0b11100100, 0xFF, 0xFF, 0xFF})));
        ASSERT_EQ(bitmap.bitsPerPixel, 24);
        for (std::uint32_t x = 0; x < 4; ++x) EXPECT_EQ(Pixel(bitmap, x, 0), c.colours[x]) << c.what << " x=" << x;
        EXPECT_EQ(Pixel(bitmap, 2, 3), c.colours[3]) << c.what;
    }
}

TEST(MipBitmapTest, Dxt1BlocksGoRowByRowAndEdgesAreClipped) {
    // 8 x 4: two blocks across, the second one green.
    const MipBitmap wide = DecodeDxt1(Mip(8, 4, Block(kRed, 0, {0, 0, 0, 0}) + Block(0x07E0, 0, {0, 0, 0, 0})));
    EXPECT_EQ(Pixel(wide, 3, 3), (std::array<int, 3>{248, 0, 0}));
    EXPECT_EQ(Pixel(wide, 4, 0), (std::array<int, 3>{0, 252, 0}));
    // 1 x 1 still takes a whole block; pixels outside the image are dropped.
    const MipBitmap tiny = DecodeDxt1(Mip(1, 1, Block(kBlue, 0, {0, 0, 0, 0})));
    ASSERT_EQ(tiny.pixels.size(), 3u);
    EXPECT_EQ(Pixel(tiny, 0, 0), (std::array<int, 3>{0, 0, 248}));
    // 6 x 2: one block across and one down cover the first four columns; the rest stays black.
    const MipBitmap partial = DecodeDxt1(Mip(6, 2, Block(kRed, 0, {0, 0, 0, 0})));
    EXPECT_EQ(Pixel(partial, 3, 1), (std::array<int, 3>{248, 0, 0}));
    EXPECT_EQ(Pixel(partial, 5, 1), (std::array<int, 3>{0, 0, 0}));
    // Data that ends early leaves the missing blocks black.
    const MipBitmap shortData = DecodeDxt1(Mip(8, 4, Block(kRed, 0, {0, 0, 0, 0})));
    EXPECT_EQ(Pixel(shortData, 5, 0), (std::array<int, 3>{0, 0, 0}));
}

TEST(MipBitmapTest, OtherFormatsAreBlackAndHugeSizesAreRefused) {
    const MipBitmap other = DecodeMip(Mip(2, 2, "\x7F\x7F\x7F\x7F"), 5);
    EXPECT_EQ(other.bitsPerPixel, 24);
    EXPECT_EQ(other.pixels, std::vector<std::uint8_t>(12, 0));
    EXPECT_THROW(DecodeMip(Mip(100000, 2, ""), 0), std::runtime_error);
}

TEST(BmpWriterTest, HeadersRowsAndPaddingOfBothDepths) {
    MipBitmap grey(3, 2, 8);
    grey.pixels = {1, 2, 3, 4, 5, 6};
    grey.palette[1] = {10, 20, 30, 0};
    const std::string bmp = EncodeBmp(grey);
    auto u32 = [](const std::string& file, std::size_t at) {
        return static_cast<std::uint32_t>(
            static_cast<std::uint8_t>(file[at]) | static_cast<std::uint8_t>(file[at + 1]) << 8 |
            static_cast<std::uint8_t>(file[at + 2]) << 16 | static_cast<std::uint8_t>(file[at + 3]) << 24);
    };
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(u32(bmp, 2), bmp.size());
    EXPECT_EQ(u32(bmp, 10), 14u + 40u + 1024u);
    EXPECT_EQ(u32(bmp, 18), 3u);  // width
    EXPECT_EQ(u32(bmp, 22), 2u);  // height, positive: the bottom row comes first
    EXPECT_EQ(u32(bmp, 28) & 0xFFFF, 8u);
    EXPECT_EQ(bmp.substr(54 + 4, 4), std::string("\x1E\x14\x0A\x00", 4));  // palette entry 1 as B, G, R, 0
    // Rows of 3 bytes padded to 4, bottom row first.
    EXPECT_EQ(bmp.substr(1078), std::string("\x04\x05\x06\x00\x01\x02\x03\x00", 8));

    MipBitmap colour(1, 1, 24);
    colour.pixels = {0x11, 0x22, 0x33};
    const std::string rgb = EncodeBmp(colour);
    EXPECT_EQ(u32(rgb, 10), 54u);  // no palette
    EXPECT_EQ(u32(rgb, 28) & 0xFFFF, 24u);
    EXPECT_EQ(rgb.substr(54), std::string("\x33\x22\x11\x00", 4));
}

class TextureExportTest : public ::testing::Test {
protected:
    TUTObjectClassTexture& Texture(const ResourcePackageSpec& spec, const std::string& file = "T.u") {
        package_ = std::make_unique<TUTPackage>(testdata::WriteResourcePackage(dir_.Path(file), spec));
        const int index = static_cast<int>(spec.palettes.size());
        auto& texture = dynamic_cast<TUTObjectClassTexture&>(package_->GetExport(index)->GetObject());
        scope_ = std::make_unique<ObjectReadScope>(texture, true);
        return texture;
    }
    void TearDown() override { scope_.reset(); }

    testing::TempDir dir_;
    std::unique_ptr<TUTPackage> package_;
    std::unique_ptr<ObjectReadScope> scope_;
};

ResourcePackageSpec PalettizedSpec(int version) {
    ResourcePackageSpec spec;
    spec.version = version;
    spec.palettes.push_back({"Pal", {0x000000, 0xFF0000, 0x00FF00}});
    TextureSpec t;
    t.format = 0;
    t.withPalette = true;
    t.mips = {{4, 2, std::string("\x01\x02\x00\x01\x02\x02\x02\x02", 8)}, {2, 1, "\x01\x01"}};
    spec.textures.push_back(t);
    return spec;
}

TEST_F(TextureExportTest, PalettizedMipsReadTheSameInBothVersionBranches) {
    std::vector<MipBitmap> images;
    for (int version : {62, 69}) {
        TUTObjectClassTexture& texture = Texture(PalettizedSpec(version), "T" + std::to_string(version) + ".u");
        ASSERT_EQ(texture.Mips().size(), 2u) << version;
        EXPECT_EQ(texture.Mips()[1].USize, 2u);
        images.push_back(texture.MipImage(0));
        scope_.reset();
    }
    ASSERT_EQ(images[0].bitsPerPixel, 8);
    EXPECT_EQ(images[0].pixels, images[1].pixels);
    EXPECT_EQ(images[0].pixels, (std::vector<std::uint8_t>{1, 2, 0, 1, 2, 2, 2, 2}));
    EXPECT_EQ(images[0].palette[1].r, 255);
    EXPECT_EQ(images[0].palette[2].g, 255);
    EXPECT_EQ(images[0].palette[200].r, 0);  // beyond the palette's colours: black
    EXPECT_EQ(images[1].palette[1].r, images[0].palette[1].r);
}

TEST_F(TextureExportTest, WithoutPaletteTheImageKeepsAGreyDefaultPalette) {
    ResourcePackageSpec spec;
    TextureSpec t;
    t.mips = {{2, 1, "\x10\x80"}};
    spec.textures.push_back(t);
    TUTObjectClassTexture& texture = Texture(spec);
    EXPECT_EQ(texture.Format(), 0);  // no "Format" property: palettized
    const MipBitmap image = texture.MipImage(0);
    EXPECT_EQ(image.palette[0x80].r, 0x80);
    EXPECT_EQ(image.palette[0x80].b, 0x80);
}

TEST_F(TextureExportTest, CompressedMipsFollowWithTheirOwnFormat) {
    ResourcePackageSpec spec;
    TextureSpec t;
    t.format = 0;
    t.mips = {{4, 4, std::string(16, '\x01')}};
    t.compFormat = kTextureFormatDxt1;
    t.compMips = {{4, 4, Block(kRed, 0, {0, 0, 0, 0})}};
    spec.textures.push_back(t);
    TUTObjectClassTexture& texture = Texture(spec);
    ASSERT_EQ(texture.CompMips().size(), 1u);
    EXPECT_EQ(texture.CompFormat(), kTextureFormatDxt1);
    const MipBitmap comp = texture.CompMipImage(0);
    EXPECT_EQ(comp.bitsPerPixel, 24);
    EXPECT_EQ(Pixel(comp, 1, 1), (std::array<int, 3>{248, 0, 0}));
    EXPECT_THROW(texture.SaveCompMip(1, dir_.Path("x.bmp")), std::out_of_range);
    EXPECT_THROW(texture.SaveMip(1, dir_.Path("x.bmp")), std::out_of_range);
}

TEST_F(TextureExportTest, SaveMipWritesAFileAStandardReaderOpens) {
    TUTObjectClassTexture& texture = Texture(PalettizedSpec(69));
    const std::string file = dir_.Path("Tex.bmp");
    texture.SaveMip(0, file);
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(file), "BMP"));
    EXPECT_EQ(image.width(), 4);
    EXPECT_EQ(image.height(), 2);
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.pixelIndex(1, 0), 2);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));  // index 1, top left
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 255, 0));
}

TEST(SoundExportTest, SoundDataIsWrittenAsStoredInBothVersionBranches) {
    testing::TempDir dir;
    std::string data = "RIFF";
    for (int i = 0; i < 300; ++i) data += static_cast<char>(i * 7);
    for (int version : {62, 63}) {
        ResourcePackageSpec spec;
        spec.version = version;
        spec.sounds.push_back({"Boom", data});
        TUTPackage package(testdata::WriteResourcePackage(dir.Path("S.uax"), spec));
        auto& sound = dynamic_cast<TUTObjectClassSound&>(package.GetExport(0)->GetObject());
        ObjectReadScope scope(sound, true);
        EXPECT_EQ(sound.Format(), "WAV") << version;
        const std::string file = dir.Path("Boom" + std::to_string(version) + ".wav");
        sound.SaveSound(file);
        EXPECT_EQ(platform::ReadWholeFile(file), data) << version;
    }
}

std::vector<std::string> FixtureFiles(const char* folder, const char* extension) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(testing::FixturesDir() + folder)) {
        if (entry.path().extension() == extension) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Every texture of the fixture's texture packages and of the current patch's packages.
TEST(RealResourcesTest, EveryTextureIsABmpWithItsSizeAndPalette) {
    testing::TempDir dir;
    std::vector<std::string> files = FixtureFiles("/ut99/Textures", ".utx");
    for (const char* name : {"Engine.u", "UWindow.u"}) files.push_back(testing::FixturesDir() + "/ut469/System/" + name);
    int textures = 0;
    for (const std::string& file : files) {
        TUTPackage package(file);
        for (const auto& entry : package.Exports) {
            auto* texture = dynamic_cast<TUTObjectClassTexture*>(&entry->GetObject());
            if (!texture) continue;
            ObjectReadScope scope(*texture, true);
            const std::string bmp = dir.Path(texture->GetObjectName() + ".bmp");
            texture->SaveMip(0, bmp);
            QImage image;
            ASSERT_TRUE(image.load(QString::fromStdString(bmp), "BMP")) << texture->GetFullPath();
            const TUTMip& mip = texture->Mips().front();
            EXPECT_EQ(image.width(), static_cast<int>(mip.USize)) << texture->GetFullPath();
            EXPECT_EQ(image.height(), static_cast<int>(mip.VSize)) << texture->GetFullPath();
            if (texture->Format() == 0) {
                const MipBitmap decoded = texture->MipImage(0);
                ASSERT_EQ(image.colorCount(), 256) << texture->GetFullPath();
                for (int i : {1, 100, 255}) {
                    const TUTColor& c = decoded.palette[static_cast<std::size_t>(i)];
                    EXPECT_EQ(image.color(i), qRgb(c.r, c.g, c.b)) << texture->GetFullPath() << " colour " << i;
                }
                EXPECT_EQ(image.pixelIndex(0, 0), decoded.pixels[0]) << texture->GetFullPath();
            }
            ++textures;
        }
    }
    EXPECT_GE(textures, 90);
}

// The fixture's sound packages keep their sounds without samples (7-byte exports: format and an
// empty data array); the bytes of real samples are checked on built packages above.
TEST(RealResourcesTest, EverySoundIsWrittenByteForByte) {
    testing::TempDir dir;
    int sounds = 0;
    for (const std::string& file : FixtureFiles("/ut99/Sounds", ".uax")) {
        TUTPackage package(file);
        const std::string bytes = platform::ReadWholeFile(file);
        for (const auto& entry : package.Exports) {
            auto* sound = dynamic_cast<TUTObjectClassSound*>(&entry->GetObject());
            if (!sound) continue;
            ObjectReadScope scope(*sound, true);
            const std::string wav = dir.Path(sound->GetObjectName() + ".wav");
            sound->SaveSound(wav);
            // The sound data is the end of the export's serial bytes in the file.
            const std::string written = platform::ReadWholeFile(wav);
            const std::size_t end = static_cast<std::size_t>(entry->SerialOffset + entry->SerialSize);
            EXPECT_EQ(bytes.substr(end - written.size(), written.size()), written) << sound->GetFullPath();
            EXPECT_EQ(written.size(), sound->SoundData().size());
            EXPECT_EQ(sound->Format(), "WAV") << sound->GetFullPath();
            ++sounds;
        }
    }
    EXPECT_EQ(sounds, 53);
}

TEST(TextBufferTest, TheTextDropsItsTerminatorAndLengthOneIsEmpty) {
    testing::TempDir dir;
    ResourcePackageSpec spec;
    spec.texts = {"class A extends Object;\r\n", ""};
    TUTPackage package(testdata::WriteResourcePackage(dir.Path("Text.u"), spec));
    ASSERT_EQ(package.ExportCount(), 2);
    for (int i = 0; i < 2; ++i) {
        auto& buffer = dynamic_cast<TUTObjectClassTextBuffer&>(package.GetExport(i)->GetObject());
        ObjectReadScope scope(buffer, true);
        EXPECT_EQ(buffer.Text(), spec.texts[static_cast<std::size_t>(i)]);
    }
}

}  // namespace
}  // namespace torvane::unrealpkg
