#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "unrealpkg/ut_stream.h"

// Compiled Unreal packages (".u", ".utx", ".uax", ...): header, name, export and import tables,
// GUIDs and generations, object references resolved to dotted paths, and the raw serial bytes of
// every export. All numbers in the file are little-endian.
namespace torvane::unrealpkg {

class TUTObject;
class TUTPackage;

class PackageError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Guid = std::array<std::uint8_t, 16>;

inline constexpr std::uint32_t kPackageSignature = 0x9E2A83C1u;
inline constexpr std::uint32_t kStateFrameFlag = 0x02000000u;

// Pieces an object path holds at most. Real packages nest a few levels (package, group,
// sub-group, object); a longer chain of outers, or a cycle, is cut there, so that a damaged
// package cannot make every path as long as its tables.
inline constexpr int kMaxObjectPathDepth = 16;

// Package flag bits.
inline constexpr std::uint32_t kAllowDownload = 0x01;
inline constexpr std::uint32_t kClientOptional = 0x02;
inline constexpr std::uint32_t kServerSideOnly = 0x04;
inline constexpr std::uint32_t kBrokenLinks = 0x08;
inline constexpr std::uint32_t kUnsecure = 0x10;

struct TUTNameEntry {
    std::string text;
    std::uint32_t flags = 0;
};

struct TUTGeneration {
    std::uint32_t exportCount = 0;
    std::uint32_t nameCount = 0;
};

class TUTExportTableObjectData final {
public:
    TUTExportTableObjectData(TUTPackage& package, int exportIndex);
    ~TUTExportTableObjectData();

    std::string GetObjectName() const;
    std::string GetClassName() const;    // the class object's own name; empty for classes
    std::string GetPackagePath() const;  // dotted path of the outer object
    // The reader object, created on first call through the class registry.
    TUTObject& GetObject();
    bool HasObject() const { return object_ != nullptr; }

    TUTPackage& package;
    std::int32_t SerialOffset = 0;
    std::int32_t ClassIndex = 0;
    std::int32_t ObjectName = 0;
    std::int32_t SerialSize = 0;
    std::int32_t PackageIndex = 0;
    std::int32_t SuperIndex = 0;
    std::uint32_t ObjectFlags = 0;
    const int exportIndex;

private:
    std::unique_ptr<TUTObject> object_;
};

struct TUTImportTableObjectData {
    std::string GetObjectName() const;
    std::string GetClassName() const;
    std::string GetPackagePath() const;

    TUTPackage* package = nullptr;
    std::int32_t ObjectName = 0;
    std::int32_t ClassPackage = 0;
    std::int32_t ClassName = 0;
    std::int32_t PackageIndex = 0;
};

// FindObject match bits.
inline constexpr int kMatchObjectName = 1;
inline constexpr int kMatchPackagePath = 2;
inline constexpr int kMatchClassName = 4;

class TUTPackage final {
public:
    TUTPackage() = default;
    // Loads fileName when it is not empty; throws PackageError.
    explicit TUTPackage(std::string fileName);
    ~TUTPackage();
    TUTPackage(const TUTPackage&) = delete;
    TUTPackage& operator=(const TUTPackage&) = delete;

    // Drops everything loaded and loads another file; throws PackageError.
    void Open(std::string fileName);
    void Load();

    // Counted holding of the package's own stream over the file's bytes, which Load reads with
    // one read; the file itself is never kept open, so other programs may rewrite it meanwhile.
    void AcquireStream();
    void ReleaseStream();
    int StreamOpenCount() const { return openCount_; }

    // The bytes [offset, offset + size) of the file as read by Load, shared, not copied;
    // StreamError ("Stream read error") when they lie outside the file.
    TUTMemoryStream FileBytes(std::int64_t offset, std::int64_t size) const;

    // Readers; stream nullptr means the package's own file stream (which must be acquired).
    void ReadBuffer(void* buffer, std::size_t count, TUTStream* stream = nullptr);
    std::uint8_t ReadByte(TUTStream* stream = nullptr);
    std::uint16_t ReadWord(TUTStream* stream = nullptr);
    std::uint32_t ReadDWord(TUTStream* stream = nullptr);
    float ReadFloat(TUTStream* stream = nullptr);
    std::uint64_t ReadQWord(TUTStream* stream = nullptr);
    Guid ReadGuid(TUTStream* stream = nullptr);
    std::int32_t ReadCompactIndex(TUTStream* stream = nullptr);
    std::string ReadName(TUTStream* stream = nullptr);
    std::string ReadSizedString(TUTStream* stream = nullptr);
    std::string ReadZeroString(TUTStream* stream = nullptr);
    void Seek(std::int64_t offset);
    std::int64_t Position() const;
    std::int64_t FileSize() const;  // of the acquired file stream, 0 when not acquired

    std::string GetName(std::int32_t index) const;
    TUTExportTableObjectData* GetExport(std::int32_t index) const;
    TUTImportTableObjectData* GetImport(std::int32_t index) const;
    int ExportCount() const { return static_cast<int>(Exports.size()); }
    int ImportCount() const { return static_cast<int>(Imports.size()); }

    // Dotted path of an object reference, at most depth pieces (-1: all, up to
    // kMaxObjectPathDepth).
    std::string GetObjectPath(int depth, std::int32_t reference) const;
    // Index of the first export at or after start that matches, or -1. A package searched by
    // name more than a few times indexes its exports by name; the tables are not to be changed
    // after Load.
    int FindObject(int match, std::string_view packagePath, std::string_view objectName,
                   std::string_view className, int start = 0) const;
    // Releases the loaded data of every export's reader object.
    void ReleaseObjects();

    static std::string QuoteString(std::string_view text);
    static std::string QuoteWideString(std::u16string_view text);

    std::string FileName;
    std::uint16_t Version = 0;
    std::int16_t Licensee = 0;
    std::uint32_t PackageFlags = 0;
    std::vector<TUTNameEntry> Names;
    std::vector<std::unique_ptr<TUTImportTableObjectData>> Imports;
    std::vector<std::unique_ptr<TUTExportTableObjectData>> Exports;
    std::vector<Guid> Guids;
    std::vector<TUTGeneration> Generations;

private:
    void LoadTables();
    void Clear();
    TUTStream& StreamOrFile(TUTStream* stream);
    const std::string& NameText(std::int32_t index) const;
    // The name index and outer of an object reference; false when the entry does not exist.
    bool NameAndOuter(std::int32_t reference, std::int32_t& name, std::int32_t& outer) const;
    bool MatchesClassAndPath(const TUTExportTableObjectData& entry, int match,
                             std::string_view packagePath, std::string_view className) const;
    // Indices of the exports whose object name is objectName without regard to case, ascending.
    const std::vector<int>& ExportsNamed(std::string_view objectName) const;

    TUTBytes fileBytes_;             // the whole file, read once by Load
    std::optional<TUTStream> file_;  // the package's own stream, while acquired
    int openCount_ = 0;
    mutable std::unordered_map<std::string, std::vector<int>> exportsByName_;  // upper-cased
    mutable bool exportsByNameBuilt_ = false;
    mutable int nameSearches_ = 0;
};

// Decodes a compact index from bytes (for tests and tools); returns the value and the length.
std::pair<std::int32_t, int> DecodeCompactIndex(const std::uint8_t* bytes, std::size_t size);
// Encodes a value as a compact index.
std::vector<std::uint8_t> EncodeCompactIndex(std::int32_t value);

}  // namespace torvane::unrealpkg
