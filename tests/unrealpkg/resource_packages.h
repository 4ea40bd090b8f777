#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Small packages of textures, palettes and sounds, byte by byte, for the exporter tests.
namespace torvane::unrealpkg::testdata {

struct MipSpec {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::string pixels;
};

struct TextureSpec {
    std::string name = "Tex";
    int format = -1;                 // the "Format" property; -1: absent
    bool withPalette = false;        // a "palette" property naming the package's Palette export
    std::vector<MipSpec> mips;
    int compFormat = -1;             // with compMips: the "CompFormat" property; -1: absent
    std::vector<MipSpec> compMips;   // written after "bHasComp" True when not empty
};

struct PaletteSpec {
    std::string name = "Pal";
    std::vector<std::uint32_t> colours;  // 0xRRGGBB
};

struct SoundSpec {
    std::string name = "Snd";
    std::string data;
};

struct ResourcePackageSpec {
    int version = 69;
    std::vector<PaletteSpec> palettes;  // exported first
    std::vector<TextureSpec> textures;
    std::vector<SoundSpec> sounds;
    std::vector<std::string> texts;  // TextBuffer exports (stored with their terminating zero)
};

// Writes the package file and returns path. Mip records of version 63 and above carry the file
// offset of their data's end, as the game writes them.
std::string WriteResourcePackage(const std::string& path, const ResourcePackageSpec& spec);

}  // namespace torvane::unrealpkg::testdata
