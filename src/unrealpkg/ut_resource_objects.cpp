#include "unrealpkg/ut_resource_objects.h"

#include <stdexcept>

#include "platform/file_ops.h"
#include "unrealpkg/bmp_writer.h"
#include "unrealpkg/mip_bitmap.h"
#include "unrealpkg/ut_packages.h"

namespace torvane::unrealpkg {
namespace {

void CheckBytes(std::int64_t bytes, const TUTStream& stream) {
    if (bytes < 0 || bytes > stream.Remaining()) throw StreamError("Stream read error");
}

std::vector<std::uint8_t> ReadBytes(TUTPackage& package, TUTStream& stream, std::int64_t count) {
    CheckBytes(count, stream);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    package.ReadBuffer(bytes.data(), bytes.size(), &stream);
    return bytes;
}

}  // namespace

void TUTObjectClassPalette::InitData() {
    TUTObject::InitData();
    colors_.clear();
}

void TUTObjectClassPalette::ParseData() {
    TUTObject::ParseData();
    TUTMemoryStream& s = Data();
    const std::int32_t count = package().ReadCompactIndex(&s);
    CheckBytes(static_cast<std::int64_t>(count) * 4, s);
    colors_.resize(static_cast<std::size_t>(count));
    for (TUTColor& color : colors_) {
        color.r = package().ReadByte(&s);
        color.g = package().ReadByte(&s);
        color.b = package().ReadByte(&s);
        color.a = package().ReadByte(&s);
    }
}

std::array<TUTColor, 256> TUTObjectClassPalette::MakePalette() const {
    std::array<TUTColor, 256> palette{};
    const auto& colors = Colors();
    for (std::size_t i = 0; i < palette.size() && i < colors.size(); ++i) {
        palette[i] = {colors[i].r, colors[i].g, colors[i].b, 0};
    }
    return palette;
}

void TUTObjectClassTexture::InitData() {
    TUTObject::InitData();
    mips_.clear();
    compMips_.clear();
}

void TUTObjectClassTexture::ReadMips(std::vector<TUTMip>& mips) {
    TUTPackage& p = package();
    TUTMemoryStream& s = Data();
    const std::uint8_t count = p.ReadByte(&s);
    for (int i = 0; i < count; ++i) {
        TUTMip mip;
        std::int64_t sizeFieldAt = 0;
        if (p.Version >= 63) {
            const std::uint32_t dataEnd = p.ReadDWord(&s);
            const std::int32_t dataSize = p.ReadCompactIndex(&s);
            sizeFieldAt = static_cast<std::int64_t>(dataEnd) - serialOffset();
            mip.data = ReadBytes(p, s, dataSize);
        } else {
            const std::int32_t dataSize = p.ReadCompactIndex(&s);
            mip.data = ReadBytes(p, s, dataSize);
            sizeFieldAt = s.Position();
        }
        s.Seek(sizeFieldAt);
        mip.USize = p.ReadDWord(&s);
        mip.VSize = p.ReadDWord(&s);
        p.ReadByte(&s);  // UBits
        p.ReadByte(&s);  // VBits
        mips.push_back(std::move(mip));
    }
}

void TUTObjectClassTexture::ParseData() {
    TUTObject::ParseData();
    ReadMips(mips_);
    const TUTValue hasComp = Properties().GetValue("bHasComp");
    const auto* flag = std::get_if<std::int64_t>(&hasComp);
    const auto* text = std::get_if<std::string>(&hasComp);
    if ((flag && *flag != 0) || (text && *text == "True")) ReadMips(compMips_);
}

namespace {

// A byte or an object reference kept as the raw bytes of a tagged property; fallback when absent.
std::int32_t RawPropertyValue(const TUTPropertyList& properties, std::string_view name,
                              std::int32_t type, std::int32_t fallback) {
    const TUTProperty* property = properties.FindByName(name);
    if (!property || property->Type != type) return fallback;
    std::int32_t value = 0;
    for (std::size_t i = 0; i < property->Data.size() && i < 4; ++i) {
        value |= static_cast<std::int32_t>(property->Data[i]) << (8 * i);
    }
    return value;
}

// The default palette of an 8-bit image without a palette of its own: a grey ramp.
void GreyPalette(MipBitmap& bitmap) {
    for (std::size_t i = 0; i < bitmap.palette.size(); ++i) {
        const auto level = static_cast<std::uint8_t>(i);
        bitmap.palette[i] = {level, level, level, 0};
    }
}

}  // namespace

int TUTObjectClassTexture::Format() {
    return RawPropertyValue(Properties(), "Format", kPropByte, 0);
}

int TUTObjectClassTexture::CompFormat() {
    return RawPropertyValue(Properties(), "CompFormat", kPropByte, 0);
}

bool TUTObjectClassTexture::ApplyPalette(MipBitmap& bitmap) {
    const std::int32_t reference = RawPropertyValue(Properties(), "palette", kPropObject, 0);
    if (reference <= 0) return false;
    TUTExportTableObjectData* entry = package().GetExport(reference - 1);
    if (!entry) return false;
    auto* palette = dynamic_cast<TUTObjectClassPalette*>(&entry->GetObject());
    if (!palette) return false;
    ObjectReadScope scope(*palette, true);
    bitmap.palette = palette->MakePalette();
    return true;
}

MipBitmap TUTObjectClassTexture::Decode(const std::vector<TUTMip>& mips, int index, int format) {
    if (index < 0 || static_cast<std::size_t>(index) >= mips.size()) {
        throw std::out_of_range(GetObjectName() + ": there is no mip " + std::to_string(index));
    }
    MipBitmap bitmap = DecodeMip(mips[static_cast<std::size_t>(index)], format);
    if (bitmap.bitsPerPixel == 8 && !ApplyPalette(bitmap)) GreyPalette(bitmap);
    return bitmap;
}

MipBitmap TUTObjectClassTexture::MipImage(int index) { return Decode(Mips(), index, Format()); }

MipBitmap TUTObjectClassTexture::CompMipImage(int index) {
    return Decode(CompMips(), index, CompFormat());
}

void TUTObjectClassTexture::SaveMip(int index, const std::string& fileName) {
    SaveBmpFile(MipImage(index), fileName);
}

void TUTObjectClassTexture::SaveCompMip(int index, const std::string& fileName) {
    SaveBmpFile(CompMipImage(index), fileName);
}

void TUTObjectClassFireTexture::InitData() {
    TUTObjectClassTexture::InitData();
    sparks_.clear();
}

void TUTObjectClassFireTexture::ParseData() {
    TUTObjectClassTexture::ParseData();
    TUTMemoryStream& s = Data();
    const std::int32_t count = package().ReadCompactIndex(&s);
    CheckBytes(static_cast<std::int64_t>(count) * 8, s);
    sparks_.resize(static_cast<std::size_t>(count));
    for (TUTSpark& spark : sparks_) {
        spark.Type = package().ReadByte(&s);
        spark.Heat = package().ReadByte(&s);
        spark.X = package().ReadByte(&s);
        spark.Y = package().ReadByte(&s);
        package().ReadBuffer(spark.rest.data(), spark.rest.size(), &s);
    }
}

void TUTObjectClassSound::InitData() {
    TUTObject::InitData();
    format_.clear();
    data_.clear();
}

void TUTObjectClassSound::ParseData() {
    TUTObject::ParseData();
    TUTPackage& p = package();
    TUTMemoryStream& s = Data();
    format_ = p.GetName(p.ReadCompactIndex(&s));
    if (p.Version > 62) p.ReadDWord(&s);
    const std::int32_t length = p.ReadCompactIndex(&s);
    data_ = ReadBytes(p, s, length);
}

void TUTObjectClassSound::SaveSound(const std::string& fileName) const {
    const std::vector<std::uint8_t>& data = SoundData();
    platform::WriteFileAtomic(
        fileName, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

void TUTObjectClassTextBuffer::InitData() {
    TUTObject::InitData();
    pos_ = 0;
    top_ = 0;
    text_.clear();
}

void TUTObjectClassTextBuffer::ParseData() {
    TUTObject::ParseData();
    TUTPackage& p = package();
    TUTMemoryStream& s = Data();
    pos_ = p.ReadDWord(&s);
    top_ = p.ReadDWord(&s);
    const std::int32_t length = p.ReadCompactIndex(&s);
    if (length > 0) {
        std::vector<std::uint8_t> bytes = ReadBytes(p, s, length);
        text_.assign(bytes.begin(), bytes.end() - 1);
    }
}

}  // namespace torvane::unrealpkg
