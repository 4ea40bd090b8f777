#include "support/package_builder.h"

#include <cstring>

#include "unrealpkg/ut_packages.h"

namespace torvane::testing {

Bytes& Bytes::Byte(int value) {
    data_ += static_cast<char>(value & 0xFF);
    return *this;
}

Bytes& Bytes::Word(int value) { return Byte(value).Byte(value >> 8); }

Bytes& Bytes::DWord(std::int64_t value) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<int>(value >> (8 * i)));
    return *this;
}

Bytes& Bytes::Float(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    return DWord(bits);
}

Bytes& Bytes::Compact(std::int32_t value) {
    for (std::uint8_t b : unrealpkg::EncodeCompactIndex(value)) Byte(b);
    return *this;
}

Bytes& Bytes::Raw(const std::string& bytes) {
    data_ += bytes;
    return *this;
}

Bytes& Bytes::Append(const Bytes& other) { return Raw(other.str()); }

Bytes& Bytes::Name(const std::string& text, int version) {
    if (version >= 64) Compact(static_cast<std::int32_t>(text.size() + 1));
    return Raw(text).Byte(0);
}

std::string BuildPackage(const PackageSpec& spec) {
    // Layout: header, names, imports, serial data, exports, heritage GUIDs.
    Bytes names;
    for (const auto& name : spec.names) names.Name(name, spec.version).DWord(0x04070010);
    Bytes imports;
    for (const auto& i : spec.imports) {
        imports.Compact(i.classPackage).Compact(i.className).DWord(i.packageIndex).Compact(i.objectName);
    }
    const std::size_t headerSize =
        36 + (spec.version >= 68 ? 16 + 4 + 8 * static_cast<std::size_t>(spec.generations) : 8);
    const std::size_t nameOffset = headerSize;
    const std::size_t importOffset = nameOffset + names.size();
    std::size_t serialOffset = importOffset + imports.size();
    Bytes serials;
    Bytes exports;
    for (const auto& e : spec.exports) {
        exports.Compact(e.classIndex).Compact(e.superIndex).DWord(e.packageIndex)
            .Compact(e.objectName).DWord(e.objectFlags)
            .Compact(static_cast<std::int32_t>(e.serial.size()));
        if (!e.serial.empty()) {
            exports.Compact(static_cast<std::int32_t>(serialOffset + serials.size()));
            serials.Raw(e.serial);
        }
    }
    const std::size_t exportOffset = serialOffset + serials.size();
    const std::size_t heritageOffset = exportOffset + exports.size();

    Bytes file;
    file.DWord(0x9E2A83C1).Word(spec.version).Word(0).DWord(spec.flags);
    file.DWord(static_cast<std::int64_t>(spec.names.size())).DWord(static_cast<std::int64_t>(nameOffset));
    file.DWord(static_cast<std::int64_t>(spec.exports.size())).DWord(static_cast<std::int64_t>(exportOffset));
    file.DWord(static_cast<std::int64_t>(spec.imports.size())).DWord(static_cast<std::int64_t>(importOffset));
    if (spec.version >= 68) {
        for (int i = 0; i < 16; ++i) file.Byte(0xA0 + i);
        file.DWord(spec.generations);
        for (int g = 0; g < spec.generations; ++g) file.DWord(g + 1).DWord(g + 2);
    } else {
        file.DWord(spec.heritageGuids).DWord(static_cast<std::int64_t>(heritageOffset));
    }
    file.Append(names).Append(imports).Append(serials).Append(exports);
    if (spec.version < 68) {
        for (int g = 0; g < spec.heritageGuids; ++g) {
            for (int i = 0; i < 16; ++i) file.Byte(g * 16 + i);
        }
    }
    return file.str();
}

}  // namespace torvane::testing
