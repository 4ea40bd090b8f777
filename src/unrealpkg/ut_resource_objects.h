#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "unrealpkg/ut_object.h"

// Reader classes of resources: palettes, textures, sounds and text buffers, plus the kinds whose
// data the program does not read (music, fonts, meshes ...), which parse as plain objects.
namespace torvane::unrealpkg {

struct TUTColor {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

class TUTObjectClassPalette final : public TUTObject {
public:
    using TUTObject::TUTObject;
    const std::vector<TUTColor>& Colors() const { EnsureRead(); return colors_; }
    // 256 entries (red, green, blue, flags 0); entries beyond the colours are black.
    std::array<TUTColor, 256> MakePalette() const;

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::vector<TUTColor> colors_;
};

// One mip level: its size and its raw pixel bytes (decoded by the texture exporter).
struct TUTMip {
    std::uint32_t USize = 0;
    std::uint32_t VSize = 0;
    std::vector<std::uint8_t> data;
};

struct MipBitmap;

class TUTObjectClassTexture : public TUTObject {
public:
    using TUTObject::TUTObject;
    const std::vector<TUTMip>& Mips() const { EnsureRead(); return mips_; }
    const std::vector<TUTMip>& CompMips() const { EnsureRead(); return compMips_; }
    // The "Format" and "CompFormat" properties (0 when absent).
    int Format();
    int CompFormat();

    // Mip index decoded into a bitmap (8-bit ones with the texture's palette); throws
    // std::out_of_range for an index beyond the list.
    MipBitmap MipImage(int index);
    MipBitmap CompMipImage(int index);
    // Mip index as a BMP file; throws std::out_of_range or platform::FileError.
    virtual void SaveMip(int index, const std::string& fileName);
    virtual void SaveCompMip(int index, const std::string& fileName);

protected:
    void InitData() override;
    void ParseData() override;

private:
    void ReadMips(std::vector<TUTMip>& mips);
    MipBitmap Decode(const std::vector<TUTMip>& mips, int index, int format);
    // The 256 colours of the "palette" property's Palette export; nothing for an import or none.
    bool ApplyPalette(MipBitmap& bitmap);

    std::vector<TUTMip> mips_;
    std::vector<TUTMip> compMips_;
};

struct TUTSpark {
    std::uint8_t Type = 0, Heat = 0, X = 0, Y = 0;
    std::array<std::uint8_t, 4> rest{};
};

class TUTObjectClassFireTexture final : public TUTObjectClassTexture {
public:
    using TUTObjectClassTexture::TUTObjectClassTexture;
    const std::vector<TUTSpark>& Sparks() const { EnsureRead(); return sparks_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::vector<TUTSpark> sparks_;
};

class TUTObjectClassSound final : public TUTObject {
public:
    using TUTObject::TUTObject;
    const std::string& Format() const { EnsureRead(); return format_; }
    const std::vector<std::uint8_t>& SoundData() const { EnsureRead(); return data_; }
    // The sound data unchanged (a whole ".wav" file); throws platform::FileError.
    void SaveSound(const std::string& fileName) const;

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::string format_;
    std::vector<std::uint8_t> data_;
};

class TUTObjectClassTextBuffer final : public TUTObject {
public:
    using TUTObject::TUTObject;
    std::uint32_t Pos() const { EnsureRead(); return pos_; }
    std::uint32_t Top() const { EnsureRead(); return top_; }
    const std::string& Text() const { EnsureRead(); return text_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::uint32_t pos_ = 0;
    std::uint32_t top_ = 0;
    std::string text_;
};

// Kinds created for their exports but not read beyond the plain object data.
#define TORVANE_PLAIN_READER(Name, Base)        \
    class Name : public Base {                  \
    public:                                     \
        using Base::Base;                       \
    };
TORVANE_PLAIN_READER(TUTObjectClassMusic, TUTObject)
TORVANE_PLAIN_READER(TUTObjectClassFont, TUTObject)
TORVANE_PLAIN_READER(TUTObjectClassPolys, TUTObject)
TORVANE_PLAIN_READER(TUTObjectClassPrimitive, TUTObject)
TORVANE_PLAIN_READER(TUTObjectClassAnimation, TUTObject)
TORVANE_PLAIN_READER(TUTObjectClassMesh, TUTObjectClassPrimitive)
TORVANE_PLAIN_READER(TUTObjectClassLodMesh, TUTObjectClassMesh)
TORVANE_PLAIN_READER(TUTObjectClassSkeletalMesh, TUTObjectClassLodMesh)
#undef TORVANE_PLAIN_READER

}  // namespace torvane::unrealpkg
