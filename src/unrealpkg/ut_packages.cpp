#include "unrealpkg/ut_packages.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/format.h"
#include "core/text.h"
#include "core/cp1252.h"
#include "unrealpkg/ut_class_registry.h"
#include "unrealpkg/ut_compact_index.h"
#include "unrealpkg/ut_object.h"

namespace torvane::unrealpkg {
namespace {

// Smallest encodings of table entries, used to reject counts the file cannot hold.
constexpr std::int64_t kMinNameBytes = 5;
constexpr std::int64_t kMinExportBytes = 12;
constexpr std::int64_t kMinImportBytes = 7;

void CheckCount(std::uint32_t count, std::int64_t entryBytes, const TUTStream& stream,
                const char* what) {
    if (static_cast<std::int64_t>(count) * entryBytes > stream.Remaining()) {
        throw PackageError(std::string("The ") + what + " table is larger than the file");
    }
}

}  // namespace

// --- export and import entries ---------------------------------------------------------------

TUTExportTableObjectData::TUTExportTableObjectData(TUTPackage& owner, int index)
    : package(owner), exportIndex(index) {}

TUTExportTableObjectData::~TUTExportTableObjectData() = default;

std::string TUTExportTableObjectData::GetObjectName() const { return package.GetName(ObjectName); }

std::string TUTExportTableObjectData::GetClassName() const {
    return package.GetObjectPath(1, ClassIndex);
}

std::string TUTExportTableObjectData::GetPackagePath() const {
    return package.GetObjectPath(-1, PackageIndex);
}

TUTObject& TUTExportTableObjectData::GetObject() {
    if (!object_) object_ = CreateReaderObject(GetClassName(), package, exportIndex);
    return *object_;
}

std::string TUTImportTableObjectData::GetObjectName() const { return package->GetName(ObjectName); }
std::string TUTImportTableObjectData::GetClassName() const { return package->GetName(ClassName); }
std::string TUTImportTableObjectData::GetPackagePath() const {
    return package->GetObjectPath(-1, PackageIndex);
}

// --- package -------------------------------------------------------------------------------

TUTPackage::TUTPackage(std::string fileName) {
    if (!fileName.empty()) {
        FileName = std::move(fileName);
        Load();
    }
}

TUTPackage::~TUTPackage() {
    Exports.clear();  // reader objects first: they refer to the package
    Imports.clear();
}

void TUTPackage::Clear() {
    Names.clear();
    Exports.clear();
    Imports.clear();
    Guids.clear();
    Generations.clear();
    exportsByName_.clear();
    exportsByNameBuilt_ = false;
    nameSearches_ = 0;
}

void TUTPackage::Open(std::string fileName) {
    ReleaseObjects();
    if (openCount_ > 0) ReleaseStream();
    Clear();
    FileName = std::move(fileName);
    Load();
}

void TUTPackage::AcquireStream() {
    if (!fileBytes_.data) fileBytes_ = ReadPackageFile(FileName);
    if (openCount_ == 0) file_.emplace(fileBytes_);
    ++openCount_;
}

void TUTPackage::ReleaseStream() {
    if (openCount_ <= 0) return;
    if (--openCount_ == 0) file_.reset();
}

TUTMemoryStream TUTPackage::FileBytes(std::int64_t offset, std::int64_t size) const {
    return TUTMemoryStream(fileBytes_, offset, size);
}

TUTStream& TUTPackage::StreamOrFile(TUTStream* stream) {
    if (stream) return *stream;
    if (!file_) throw StreamError("The package file is not open");
    return *file_;
}

void TUTPackage::ReadBuffer(void* buffer, std::size_t count, TUTStream* stream) {
    if (count == 0) return;
    TUTStream& s = StreamOrFile(stream);
    if (static_cast<std::uint64_t>(s.Remaining()) < count) {
        std::memset(buffer, 0, count);
        throw StreamError("Stream read error");
    }
    s.Read(buffer, count);
}

std::uint8_t TUTPackage::ReadByte(TUTStream* stream) { return StreamOrFile(stream).ReadByte(); }

std::uint16_t TUTPackage::ReadWord(TUTStream* stream) {
    std::uint8_t b[2];
    ReadBuffer(b, 2, stream);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t TUTPackage::ReadDWord(TUTStream* stream) {
    std::uint8_t b[4];
    ReadBuffer(b, 4, stream);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

float TUTPackage::ReadFloat(TUTStream* stream) {
    const std::uint32_t bits = ReadDWord(stream);
    float value = 0;
    std::memcpy(&value, &bits, 4);
    return value;
}

std::uint64_t TUTPackage::ReadQWord(TUTStream* stream) {
    const std::uint64_t low = ReadDWord(stream);
    const std::uint64_t high = ReadDWord(stream);
    return low | (high << 32);
}

Guid TUTPackage::ReadGuid(TUTStream* stream) {
    Guid guid{};
    ReadBuffer(guid.data(), guid.size(), stream);
    return guid;
}

std::int32_t TUTPackage::ReadCompactIndex(TUTStream* stream) {
    return DecodeCompactIndexFrom([&] { return ReadByte(stream); });
}

std::string TUTPackage::ReadName(TUTStream* stream) {
    if (Version < 64) return ReadZeroString(stream);
    const std::int32_t length = ReadCompactIndex(stream);
    TUTStream& s = StreamOrFile(stream);
    if (length <= 0) return {};
    if (length > s.Remaining()) throw StreamError("Stream read error");
    std::string text(static_cast<std::size_t>(length), '\0');
    s.Read(text.data(), text.size());
    text.pop_back();
    return text;
}

std::string TUTPackage::ReadSizedString(TUTStream* stream) {
    const std::int32_t length = ReadCompactIndex(stream);
    TUTStream& s = StreamOrFile(stream);
    if (length <= 0) return {};
    if (length > s.Remaining()) throw StreamError("Stream read error");
    std::string text(static_cast<std::size_t>(length), '\0');
    s.Read(text.data(), text.size());
    return text;
}

std::string TUTPackage::ReadZeroString(TUTStream* stream) {
    std::string text;
    for (;;) {
        const std::uint8_t c = ReadByte(stream);
        if (c == 0) return text;
        text += static_cast<char>(c);
    }
}

void TUTPackage::Seek(std::int64_t offset) { StreamOrFile(nullptr).Seek(offset); }

std::int64_t TUTPackage::Position() const { return file_ ? file_->Position() : 0; }

std::int64_t TUTPackage::FileSize() const { return file_ ? file_->Size() : 0; }

void TUTPackage::Load() {
    try {
        fileBytes_ = ReadPackageFile(FileName);
        AcquireStream();
        file_.emplace(fileBytes_);  // also when someone still holds the stream of an older read
    } catch (const std::exception& e) {
        throw PackageError(
            core::Format("Exception processing package %0:s\r\n%1:s", {FileName, e.what()}));
    }
    try {
        LoadTables();
    } catch (const std::exception& e) {
        ReleaseStream();
        throw PackageError(
            core::Format("Exception processing package %0:s\r\n%1:s", {FileName, e.what()}));
    }
    ReleaseStream();
}

void TUTPackage::LoadTables() {
    TUTStream& s = *file_;
    exportsByName_.clear();
    exportsByNameBuilt_ = false;
    nameSearches_ = 0;
    if (ReadDWord() != kPackageSignature) throw PackageError("ERROR! This isn't an Unreal package");
    Version = ReadWord();
    Licensee = static_cast<std::int16_t>(ReadWord());
    PackageFlags = ReadDWord();
    const std::uint32_t nameCount = ReadDWord();
    const std::uint32_t nameOffset = ReadDWord();
    const std::uint32_t exportCount = ReadDWord();
    const std::uint32_t exportOffset = ReadDWord();
    const std::uint32_t importCount = ReadDWord();
    const std::uint32_t importOffset = ReadDWord();
    Guids.clear();

    std::uint32_t heritageCount = 0;
    std::int64_t heritagePosition = 0;
    if (Version >= 68) {
        heritageCount = 1;
        heritagePosition = Position();
        ReadGuid();
        const std::uint32_t generationCount = ReadDWord();
        CheckCount(generationCount, 8, s, "generation");
        Generations.clear();
        for (std::uint32_t i = 0; i < generationCount; ++i) {
            TUTGeneration generation;
            generation.exportCount = ReadDWord();
            generation.nameCount = ReadDWord();
            Generations.push_back(generation);
        }
    } else {
        heritageCount = ReadDWord();
        heritagePosition = ReadDWord();
    }

    Seek(nameOffset);
    CheckCount(nameCount, kMinNameBytes, s, "name");
    Names.clear();
    Names.reserve(nameCount);
    for (std::uint32_t i = 0; i < nameCount; ++i) {
        TUTNameEntry entry;
        entry.text = ReadName();
        entry.flags = ReadDWord();
        Names.push_back(std::move(entry));
    }

    Seek(exportOffset);
    CheckCount(exportCount, kMinExportBytes, s, "export");
    Exports.clear();
    Exports.reserve(exportCount);
    for (std::uint32_t i = 0; i < exportCount; ++i) {
        auto entry = std::make_unique<TUTExportTableObjectData>(*this, static_cast<int>(i));
        entry->ClassIndex = ReadCompactIndex();
        entry->SuperIndex = ReadCompactIndex();
        entry->PackageIndex = static_cast<std::int32_t>(ReadDWord());
        entry->ObjectName = ReadCompactIndex();
        entry->ObjectFlags = ReadDWord();
        entry->SerialSize = ReadCompactIndex();
        entry->SerialOffset = entry->SerialSize > 0 ? ReadCompactIndex() : 0;
        Exports.push_back(std::move(entry));
    }

    Seek(importOffset);
    CheckCount(importCount, kMinImportBytes, s, "import");
    Imports.clear();
    Imports.reserve(importCount);
    for (std::uint32_t i = 0; i < importCount; ++i) {
        auto entry = std::make_unique<TUTImportTableObjectData>();
        entry->package = this;
        entry->ClassPackage = ReadCompactIndex();
        entry->ClassName = ReadCompactIndex();
        entry->PackageIndex = static_cast<std::int32_t>(ReadDWord());
        entry->ObjectName = ReadCompactIndex();
        Imports.push_back(std::move(entry));
    }

    Seek(heritagePosition);
    CheckCount(heritageCount, 16, s, "GUID");
    Guids.resize(heritageCount);
    for (auto& guid : Guids) guid = ReadGuid();
}

std::string TUTPackage::GetName(std::int32_t index) const { return NameText(index); }

const std::string& TUTPackage::NameText(std::int32_t index) const {
    static const std::string kNone;
    if (index < 0 || index >= static_cast<std::int32_t>(Names.size())) return kNone;
    return Names[static_cast<std::size_t>(index)].text;
}

bool TUTPackage::NameAndOuter(std::int32_t reference, std::int32_t& name,
                              std::int32_t& outer) const {
    if (reference < 0) {
        const auto* entry = GetImport(~reference);
        if (!entry) return false;
        name = entry->ObjectName;
        outer = entry->PackageIndex;
    } else {
        const auto* entry = GetExport(reference - 1);
        if (!entry) return false;
        name = entry->ObjectName;
        outer = entry->PackageIndex;
    }
    return true;
}

TUTExportTableObjectData* TUTPackage::GetExport(std::int32_t index) const {
    if (index < 0 || index >= static_cast<std::int32_t>(Exports.size())) return nullptr;
    return Exports[static_cast<std::size_t>(index)].get();
}

TUTImportTableObjectData* TUTPackage::GetImport(std::int32_t index) const {
    if (index < 0 || index >= static_cast<std::int32_t>(Imports.size())) return nullptr;
    return Imports[static_cast<std::size_t>(index)].get();
}

std::string TUTPackage::GetObjectPath(int depth, std::int32_t reference) const {
    const int limit = depth < 0 || depth > kMaxObjectPathDepth ? kMaxObjectPathDepth : depth;
    std::array<const std::string*, kMaxObjectPathDepth> pieces{};  // innermost first
    int count = 0;
    std::size_t length = 0;
    while (count < limit && reference != 0) {
        std::int32_t name = 0;
        if (!NameAndOuter(reference, name, reference)) return {};
        pieces[static_cast<std::size_t>(count)] = &NameText(name);
        length += pieces[static_cast<std::size_t>(count)]->size() + 1;
        ++count;
    }
    std::string result;
    result.reserve(length);
    for (int i = count - 1; i >= 0; --i) {
        result += *pieces[static_cast<std::size_t>(i)];
        if (i > 0) result += '.';
    }
    return result;
}

bool TUTPackage::MatchesClassAndPath(const TUTExportTableObjectData& entry, int match,
                                     std::string_view packagePath,
                                     std::string_view className) const {
    if (match & kMatchClassName) {
        // The class object's own name, as GetClassName gives it, without building a string.
        std::int32_t name = -1;
        std::int32_t outer = 0;
        if (entry.ClassIndex != 0) NameAndOuter(entry.ClassIndex, name, outer);
        if (!core::EqualsIgnoringCase(NameText(name), className)) return false;
    }
    return !(match & kMatchPackagePath) ||
           core::EqualsIgnoringCase(entry.GetPackagePath(), packagePath);
}

const std::vector<int>& TUTPackage::ExportsNamed(std::string_view objectName) const {
    if (!exportsByNameBuilt_) {
        for (const auto& entry : Exports) {
            exportsByName_[core::UpperCase(NameText(entry->ObjectName))].push_back(entry->exportIndex);
        }
        exportsByNameBuilt_ = true;
    }
    static const std::vector<int> kNone;
    const auto found = exportsByName_.find(core::UpperCase(objectName));
    return found == exportsByName_.end() ? kNone : found->second;
}

int TUTPackage::FindObject(int match, std::string_view packagePath, std::string_view objectName,
                           std::string_view className, int start) const {
    start = std::max(start, 0);
    // A few searches scan the table; a package searched more often is worth indexing by name.
    if ((match & kMatchObjectName) && (exportsByNameBuilt_ || ++nameSearches_ > 16)) {
        const std::vector<int>& named = ExportsNamed(objectName);
        for (auto i = std::lower_bound(named.begin(), named.end(), start); i != named.end(); ++i) {
            if (MatchesClassAndPath(*Exports[static_cast<std::size_t>(*i)], match, packagePath,
                                    className)) {
                return *i;
            }
        }
        return -1;
    }
    for (int i = start; i < ExportCount(); ++i) {
        const auto& entry = *Exports[static_cast<std::size_t>(i)];
        if ((match & kMatchObjectName) &&
            !core::EqualsIgnoringCase(NameText(entry.ObjectName), objectName)) {
            continue;
        }
        if (MatchesClassAndPath(entry, match, packagePath, className)) return i;
    }
    return -1;
}

void TUTPackage::ReleaseObjects() {
    for (auto& entry : Exports) {
        // An object not created yet has no data to release.
        if (!entry->HasObject()) continue;
        TUTObject& object = entry->GetObject();
        if (object.DataLoaded()) object.Release();
    }
}

std::string TUTPackage::QuoteString(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string TUTPackage::QuoteWideString(std::u16string_view text) {
    std::string narrow;
    for (char16_t c : text) {
        const int byte = core::CodePointToCp1252(c);
        narrow += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return QuoteString(narrow);
}

std::pair<std::int32_t, int> DecodeCompactIndex(const std::uint8_t* bytes, std::size_t size) {
    TUTMemoryStream stream(std::vector<std::uint8_t>(bytes, bytes + size));
    TUTPackage package;
    const std::int32_t value = package.ReadCompactIndex(&stream);
    return {value, static_cast<int>(stream.Position())};
}

std::vector<std::uint8_t> EncodeCompactIndex(std::int32_t value) {
    std::vector<std::uint8_t> out;
    const bool negative = value < 0;
    std::uint32_t v = negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    std::uint8_t b0 = static_cast<std::uint8_t>((negative ? 0x80 : 0) | (v & 0x3F));
    v >>= 6;
    if (v) b0 |= 0x40;
    out.push_back(b0);
    for (int i = 0; i < 3 && v; ++i) {
        std::uint8_t b = static_cast<std::uint8_t>(v & 0x7F);
        v >>= 7;
        if (v) b |= 0x80;
        out.push_back(b);
    }
    if (v) out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

}  // namespace torvane::unrealpkg
