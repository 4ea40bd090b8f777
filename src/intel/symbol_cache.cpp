#include "intel/symbol_cache.h"

#include <cstring>

#include "intel/symbol_index.h"
#include "platform/file_ops.h"

namespace torvane::intel {
namespace {

constexpr char kSignature[] = "TVSYMS";  // followed by the format's version
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kSignatureSize = sizeof kSignature - 1;

class Writer final {
public:
    explicit Writer(std::string& out) : out_(out) {}
    void Number(std::uint64_t value) {
        while (value >= 0x80) {
            out_ += static_cast<char>((value & 0x7F) | 0x80);
            value >>= 7;
        }
        out_ += static_cast<char>(value);
    }
    void Signed(std::int64_t value) { Number((static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63)); }
    void Text(std::string_view text) {
        Number(text.size());
        out_ += text;
    }

private:
    std::string& out_;
};

class Reader final {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Number() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (pos_ >= bytes_.size()) Fail();
            const auto byte = static_cast<unsigned char>(bytes_[pos_++]);
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80)) return value;
        }
        Fail();
    }
    std::int64_t Signed() {
        const std::uint64_t raw = Number();
        return static_cast<std::int64_t>(raw >> 1) ^ -static_cast<std::int64_t>(raw & 1);
    }
    std::uint32_t Offset() {
        const std::uint64_t value = Number();
        if (value > UINT32_MAX) Fail();
        return static_cast<std::uint32_t>(value);
    }
    int Int() {
        const std::int64_t value = Signed();
        if (value < INT32_MIN || value > INT32_MAX) Fail();
        return static_cast<int>(value);
    }
    // A count of things each at least `least` bytes long, checked against what remains.
    std::size_t Count(std::size_t least) {
        const std::uint64_t count = Number();
        if (count > (bytes_.size() - pos_) / least) Fail();
        return static_cast<std::size_t>(count);
    }
    std::string Text() {
        const std::size_t size = Count(1);
        std::string text(bytes_.substr(pos_, size));
        pos_ += size;
        return text;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    [[noreturn]] static void Fail() { throw SymbolCacheError("The symbol cache file is damaged"); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

void WriteSymbol(Writer& out, const Symbol& symbol) {
    out.Number(static_cast<std::uint8_t>(symbol.kind));
    out.Text(symbol.name);
    out.Text(symbol.scope);
    out.Text(symbol.type);
    out.Text(symbol.modifiers);
    out.Text(symbol.arraySize);
    out.Signed(symbol.line);
    out.Signed(symbol.column);
    out.Number(symbol.bodyBegin);
    out.Number(symbol.bodyEnd);
    out.Number(symbol.codeBegin);
    out.Number(symbol.declarationBegin);
    out.Number(symbol.parameters.size());
    for (const Parameter& parameter : symbol.parameters) {
        out.Text(parameter.name);
        out.Text(parameter.type);
        out.Text(parameter.modifiers);
        out.Text(parameter.arraySize);
        out.Signed(parameter.line);
        out.Signed(parameter.column);
    }
    out.Number(symbol.ignores.size());
    for (const std::string& ignored : symbol.ignores) out.Text(ignored);
}

Symbol ReadSymbol(Reader& in) {
    Symbol symbol;
    const std::uint64_t kind = in.Number();
    if (kind > static_cast<std::uint64_t>(SymbolKind::Label)) Reader::Fail();
    symbol.kind = static_cast<SymbolKind>(kind);
    symbol.name = in.Text();
    symbol.scope = in.Text();
    symbol.type = in.Text();
    symbol.modifiers = in.Text();
    symbol.arraySize = in.Text();
    symbol.line = in.Int();
    symbol.column = in.Int();
    symbol.bodyBegin = in.Offset();
    symbol.bodyEnd = in.Offset();
    symbol.codeBegin = in.Offset();
    symbol.declarationBegin = in.Offset();
    symbol.parameters.resize(in.Count(6));
    for (Parameter& parameter : symbol.parameters) {
        parameter.name = in.Text();
        parameter.type = in.Text();
        parameter.modifiers = in.Text();
        parameter.arraySize = in.Text();
        parameter.line = in.Int();
        parameter.column = in.Int();
    }
    symbol.ignores.resize(in.Count(1));
    for (std::string& ignored : symbol.ignores) ignored = in.Text();
    return symbol;
}

}  // namespace

std::string SymbolCacheBytes(const SymbolIndex& index) {
    std::string bytes(kSignature, kSignatureSize);
    Writer out(bytes);
    out.Number(kVersion);
    std::vector<const IndexUnit*> units;
    for (const IndexUnit* unit : index.Units()) {
        if (unit->stamp.size >= 0) units.push_back(unit);  // not an editor's unsaved text
    }
    out.Number(units.size());
    for (const IndexUnit* unit : units) {
        out.Text(unit->key);
        out.Text(unit->package);
        out.Signed(unit->stamp.size);
        out.Signed(unit->stamp.modified);
        out.Number(unit->compiled ? 1 : 0);
        out.Number(unit->classes.size());
        for (const ClassSymbols& cls : unit->classes) {
            out.Text(cls.name);
            out.Text(cls.parent);
            out.Text(cls.within);
            out.Text(cls.modifiers);
            out.Text(cls.package);
            out.Text(cls.file);
            out.Number(cls.compiled ? 1 : 0);
            out.Signed(cls.line);
            out.Signed(cls.column);
            out.Number(cls.replicationBegin);
            out.Number(cls.replicationEnd);
            out.Number(cls.defaultsBegin);
            out.Number(cls.defaultsEnd);
            out.Number(cls.members.size());
            for (const Symbol& member : cls.members) WriteSymbol(out, member);
        }
    }
    return bytes;
}

void ReadSymbolCacheBytes(std::string_view bytes, SymbolIndex& index) {
    if (bytes.size() < kSignatureSize || bytes.substr(0, kSignatureSize) != std::string_view(kSignature, kSignatureSize)) {
        Reader::Fail();
    }
    Reader in(bytes.substr(kSignatureSize));
    if (in.Number() != kVersion) Reader::Fail();
    const std::size_t unitCount = in.Count(6);
    for (std::size_t u = 0; u < unitCount; ++u) {
        IndexUnit unit;
        unit.key = in.Text();
        unit.package = in.Text();
        unit.stamp.size = in.Signed();
        unit.stamp.modified = in.Signed();
        unit.compiled = in.Number() != 0;
        unit.classes.resize(in.Count(13));
        for (ClassSymbols& cls : unit.classes) {
            cls.name = in.Text();
            cls.parent = in.Text();
            cls.within = in.Text();
            cls.modifiers = in.Text();
            cls.package = in.Text();
            cls.file = in.Text();
            cls.compiled = in.Number() != 0;
            cls.line = in.Int();
            cls.column = in.Int();
            cls.replicationBegin = in.Offset();
            cls.replicationEnd = in.Offset();
            cls.defaultsBegin = in.Offset();
            cls.defaultsEnd = in.Offset();
            cls.members.resize(in.Count(14));
            for (Symbol& member : cls.members) member = ReadSymbol(in);
        }
        index.SetUnit(std::move(unit));
    }
    if (!in.AtEnd()) Reader::Fail();
}

void SaveSymbolCache(const SymbolIndex& index, const std::string& path) {
    platform::WriteFileAtomic(path, SymbolCacheBytes(index), /*flushToDisk=*/false);
}

bool LoadSymbolCache(const std::string& path, SymbolIndex& index) {
    if (!platform::FileExists(path)) return false;
    try {
        ReadSymbolCacheBytes(platform::ReadWholeFile(path), index);
        return true;
    } catch (const std::exception&) {
        index = SymbolIndex();
        return false;
    }
}

}  // namespace torvane::intel
