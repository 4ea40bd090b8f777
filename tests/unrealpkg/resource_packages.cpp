#include "resource_packages.h"

#include "platform/file_ops.h"
#include "support/package_builder.h"
#include "unrealpkg/ut_packages.h"

namespace torvane::unrealpkg::testdata {
namespace {

using torvane::testing::Bytes;

enum Name {
    kNone, kCore, kEngine, kPackage, kClass, kTexture, kPalette, kSound, kFormat, kPaletteProperty,
    kHasComp, kCompFormat, kWav, kTextBuffer
};

// Imports: 0 Engine (package), 1 Texture, 2 Palette, 3 Sound (classes of Engine).
constexpr std::int32_t kTextureClass = -2;
constexpr std::int32_t kPaletteClass = -3;
constexpr std::int32_t kSoundClass = -4;
constexpr std::int32_t kTextBufferClass = -6;  // import 5, in Core (import 4)

Bytes Mips(const std::vector<MipSpec>& mips, int version, std::int64_t serialOffset, std::size_t before) {
    Bytes out;
    out.Byte(static_cast<int>(mips.size()));
    for (const MipSpec& mip : mips) {
        Bytes record;
        const auto dataSize = static_cast<std::int32_t>(mip.pixels.size());
        if (version >= 63) {
            // DataEnd: the file offset after the pixels.
            const std::size_t at = before + out.size();
            const std::size_t afterField = at + 4 + Bytes().Compact(dataSize).size() + mip.pixels.size();
            record.DWord(serialOffset + static_cast<std::int64_t>(afterField));
        }
        record.Compact(dataSize).Raw(mip.pixels).DWord(mip.width).DWord(mip.height).Byte(0).Byte(0);
        out.Append(record);
    }
    return out;
}

std::string TextureSerial(const TextureSpec& t, int version, std::int64_t serialOffset, std::int32_t palette) {
    Bytes out;
    if (t.format >= 0) out.Compact(kFormat).Byte(0x01).Byte(t.format);
    if (t.withPalette) out.Compact(kPaletteProperty).Byte(0x05).Compact(palette);
    if (!t.compMips.empty()) {
        out.Compact(kHasComp).Byte(0x80 | 3);
        if (t.compFormat >= 0) out.Compact(kCompFormat).Byte(0x01).Byte(t.compFormat);
    }
    out.Compact(kNone);
    out.Append(Mips(t.mips, version, serialOffset, out.size()));
    if (!t.compMips.empty()) out.Append(Mips(t.compMips, version, serialOffset, out.size()));
    return out.str();
}

torvane::testing::PackageSpec Spec(const ResourcePackageSpec& r, const std::vector<std::int64_t>& offsets) {
    torvane::testing::PackageSpec spec;
    spec.version = r.version;
    spec.names = {"None", "Core", "Engine", "Package", "Class", "Texture", "Palette", "Sound",
                  "Format", "palette", "bHasComp", "CompFormat", "WAV", "TextBuffer"};
    spec.imports = {{kCore, kPackage, 0, kEngine},
                    {kCore, kClass, -1, kTexture},
                    {kCore, kClass, -1, kPalette},
                    {kCore, kClass, -1, kSound},
                    {kCore, kPackage, 0, kCore},
                    {kCore, kClass, -5, kTextBuffer}};
    std::size_t index = 0;
    auto name = [&](const std::string& text) {
        spec.names.push_back(text);
        return static_cast<std::int32_t>(spec.names.size() - 1);
    };
    for (const PaletteSpec& p : r.palettes) {
        Bytes serial;
        serial.Compact(kNone).Compact(static_cast<std::int32_t>(p.colours.size()));
        for (std::uint32_t c : p.colours) serial.Byte(static_cast<int>(c >> 16)).Byte(static_cast<int>(c >> 8)).Byte(static_cast<int>(c)).Byte(0);
        spec.exports.push_back({kPaletteClass, 0, 0, name(p.name), 0x00070004, serial.str()});
        ++index;
    }
    for (const TextureSpec& t : r.textures) {
        const std::int64_t offset = index < offsets.size() ? offsets[index] : 0;
        spec.exports.push_back({kTextureClass, 0, 0, name(t.name), 0x00070004, TextureSerial(t, r.version, offset, 1)});
        ++index;
    }
    for (const SoundSpec& s : r.sounds) {
        Bytes serial;
        serial.Compact(kNone).Compact(kWav);
        if (r.version > 62) serial.DWord(0);
        serial.Compact(static_cast<std::int32_t>(s.data.size())).Raw(s.data);
        spec.exports.push_back({kSoundClass, 0, 0, name(s.name), 0x00070004, serial.str()});
        ++index;
    }
    for (std::size_t i = 0; i < r.texts.size(); ++i) {
        Bytes serial;
        serial.Compact(kNone).DWord(0).DWord(0);
        serial.Compact(static_cast<std::int32_t>(r.texts[i].size() + 1)).Raw(r.texts[i]).Byte(0);
        spec.exports.push_back({kTextBufferClass, 0, 0, name("Text" + std::to_string(i)), 0x00070004, serial.str()});
    }
    return spec;
}

}  // namespace

std::string WriteResourcePackage(const std::string& path, const ResourcePackageSpec& spec) {
    // The serial offsets are known once the package is laid out; the sizes do not depend on them.
    platform::WriteFileAtomic(path, torvane::testing::BuildPackage(Spec(spec, {})));
    std::vector<std::int64_t> offsets;
    {
        TUTPackage package(path);
        for (const auto& entry : package.Exports) offsets.push_back(entry->SerialOffset);
    }
    platform::WriteFileAtomic(path, torvane::testing::BuildPackage(Spec(spec, offsets)));
    return path;
}

}  // namespace torvane::unrealpkg::testdata
