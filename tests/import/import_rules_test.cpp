// The rules of the image and sound import and of the viewer: validity, names, directives, texts.
#include <gtest/gtest.h>

#include "import/import_rules.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

namespace torvane::imports {
namespace {

TEST(ImportRulesTest, WhichImagesTheGameTakes) {
    struct Case {
        int width, height, palette;
        bool importable;
    } cases[] = {
        {256, 128, 256, true},   {100, 100, 256, false}, {1024, 2048, 256, true}, {1100, 2, 256, true},
        {2, 2, 256, true},       {1, 2, 256, false},     {512, 1023, 256, false}, {768, 512, 256, false},
        {0, 0, 256, false},      {256, 256, 16, false},  {256, 256, 0, false},    {256, 256, 200, false},
    };
    for (const auto& c : cases) {
        ImageInfo info;
        info.width = c.width;
        info.height = c.height;
        info.paletteEntries = c.palette;
        EXPECT_EQ(IsImportableImage(info), c.importable) << c.width << "x" << c.height << " with " << c.palette;
    }
    for (int side = 2; side <= 512; side *= 2) EXPECT_TRUE(IsValidTextureSide(side)) << side;
    for (int side : {3, 6, 100, 513, 1000}) EXPECT_FALSE(IsValidTextureSide(side)) << side;
}

TEST(ImportRulesTest, TextureNamesFromTheMask) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"wall.pcx", "img*", "imgwall"},   {"brick.bmp", "Tex_*_A", "Tex_brick_A"},
        {"brick.bmp", "Tex", "imgbrick"},  {"brick.bmp", "", "brick"},
        {"brick.bmp", "*_*", "brick_*"},   {"Sky.BMP", "*", "Sky"},
    };
    for (const auto& [file, mask, name] : cases) EXPECT_EQ(TextureName(file, mask), name) << file << " " << mask;
}

TEST(ImportRulesTest, Directives) {
    TextureImportOptions options;
    EXPECT_EQ(TextureDirective("wall.pcx", options), "#exec Texture Import File=Textures\\wall.pcx Name=imgwall");
    options.mask = "T_*";
    options.group = "Walls";
    options.disableMips = true;
    options.masked = true;
    EXPECT_EQ(TextureDirective("wall.pcx", options),
              "#exec Texture Import File=Textures\\wall.pcx Name=T_wall Group=Walls Mips=Off Flags=2");
    options = {};
    options.masked = true;
    EXPECT_EQ(TextureDirective("my wall.pcx", options),
              "#exec Texture Import File=\"Textures\\my wall.pcx\" Name=\"imgmy wall\" Flags=2");

    EXPECT_EQ(SoundDirective("Boom.wav", "sndBoom", ""), "#exec Audio Import File=Sounds\\Boom.wav Name=sndBoom");
    EXPECT_EQ(SoundDirective("Boom.wav", "Bang", "Weapons"),
              "#exec Audio Import File=Sounds\\Boom.wav Name=Bang Group=Weapons");
}

TEST(ImportRulesTest, SoundNamesAndWaveFiles) {
    EXPECT_EQ(SoundNameOfFile("/home/me/sounds/Boom.wav"), "sndBoom");
    EXPECT_EQ(SoundNameOfFile("Click.WAV"), "sndClick");
    testing::TempDir dir;
    EXPECT_TRUE(IsWaveFile(dir.Write("Boom.WAV", "RIFF")));
    EXPECT_FALSE(IsWaveFile(dir.Write("Boom.mp3", "ID3")));
    EXPECT_FALSE(IsWaveFile(dir.Path("Missing.wav")));
    EXPECT_FALSE(IsWaveFile(""));
}

TEST(ImportRulesTest, PreviewAndViewerTexts) {
    const std::pair<int, const char*> dims[] = {
        {256, "(256x128x256c)"}, {0, "(256x128x16M)"}, {16, "(256x128x16c)"}, {2, "(256x128x2c)"}};
    for (const auto& [palette, text] : dims) {
        ImageInfo info;
        info.width = 256;
        info.height = 128;
        info.paletteEntries = palette;
        EXPECT_EQ(DimsText(info), text);
    }
    EXPECT_EQ(ViewerSide(64), 256);
    EXPECT_EQ(ViewerSide(127), 256);
    EXPECT_EQ(ViewerSide(128), 128);
    EXPECT_EQ(ViewerSide(0), 256);
    EXPECT_EQ(ViewerSide(1100), 1100);
    EXPECT_EQ(ViewerHint("Sky.pcx", 256, 256), "Sky.pcx (256 x 256)");
}

TEST(ImportRulesTest, ImageFilesOfADirectory) {
    testing::TempDir dir;
    dir.Write("b.PCX", "x");
    dir.Write("a.bmp", "x");
    dir.Write("C.Bmp", "x");
    dir.Write("notes.txt", "x");
    dir.Write("wall.pcx.bak", "x");
    dir.Write("sub/inner.pcx", "x");
    EXPECT_EQ(ListImageFiles(dir.path()), (std::vector<std::string>{"a.bmp", "b.PCX", "C.Bmp"}));
    EXPECT_TRUE(ListImageFiles(dir.Path("missing")).empty());
}

}  // namespace
}  // namespace torvane::imports
