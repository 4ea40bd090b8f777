#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "intel/class_symbols.h"

// The symbol index: the declarations of every class of the game's packages, read from the
// sources or, for packages without sources, from the compiled packages. It is kept in units (one
// source file, or one compiled package) so that one file can be read again alone, and answers the
// lookups name resolution needs: a class by name, a member through the parent chain, a state's
// functions through its parent states, struct members, enum values, the operators.
namespace torvane::intel {

// When a file was read: its size and modification time (seconds); size -1 for text that came
// from an editor rather than the file.
struct FileStamp {
    std::int64_t size = -1;
    std::int64_t modified = 0;
    bool operator==(const FileStamp&) const = default;
};

struct IndexUnit {
    std::string key;  // the source file's path, or the compiled package's file
    std::string package;
    FileStamp stamp;
    bool compiled = false;
    std::vector<ClassSymbols> classes;
};

class IndexedClass;

// A member of an indexed class.
struct MemberRef {
    const IndexedClass* owner = nullptr;
    std::uint32_t index = 0;
    explicit operator bool() const { return owner != nullptr; }
    const Symbol& symbol() const;
    bool operator==(const MemberRef&) const = default;
};

// The name compared without regard to case (ASCII upper case; identifiers are ASCII).
std::string FoldName(std::string_view name);

class IndexedClass final {
public:
    IndexedClass(const ClassSymbols& symbols, const IndexUnit& unit);

    const ClassSymbols& symbols() const { return *symbols_; }
    const std::string& name() const { return symbols_->name; }
    const IndexUnit& unit() const { return *unit_; }
    const IndexedClass* parent() const { return parent_; }

    // Members of the class itself (not of a struct, state or enum) by name, in declaration order.
    const std::vector<std::uint32_t>* ClassMembers(std::string_view foldedName) const;
    // Members of a struct, state or enum of this class by its name.
    const std::vector<std::uint32_t>* ScopedMembers(std::string_view foldedScope, std::string_view foldedName) const;
    // Every member of a struct, state or enum, in declaration order.
    std::vector<std::uint32_t> MembersOfScope(std::string_view scope) const;

private:
    friend class SymbolIndex;

    const ClassSymbols* symbols_;
    const IndexUnit* unit_;
    const IndexedClass* parent_ = nullptr;
    std::unordered_map<std::string, std::vector<std::uint32_t>> classMembers_;
    std::unordered_map<std::string, std::vector<std::uint32_t>> scopedMembers_;  // SCOPE + '.' + NAME
};

// Which members a lookup takes.
enum MemberKinds : unsigned {
    kVariables = 1u << static_cast<unsigned>(SymbolKind::Variable),
    kConstants = 1u << static_cast<unsigned>(SymbolKind::Constant),
    kEnums = 1u << static_cast<unsigned>(SymbolKind::Enum),
    kEnumValues = 1u << static_cast<unsigned>(SymbolKind::EnumValue),
    kStructs = 1u << static_cast<unsigned>(SymbolKind::Struct),
    kFunctions = 1u << static_cast<unsigned>(SymbolKind::Function),
    kStates = 1u << static_cast<unsigned>(SymbolKind::State),
    kLabels = 1u << static_cast<unsigned>(SymbolKind::Label),
    kAnyKind = ~0u,
};

class SymbolIndex final {
public:
    SymbolIndex();
    ~SymbolIndex();
    SymbolIndex(SymbolIndex&&) noexcept;
    SymbolIndex& operator=(SymbolIndex&&) noexcept;

    // The order of the packages: classes of earlier packages win over same-named later ones.
    void SetPackageOrder(std::vector<std::string> packages);
    const std::vector<std::string>& packageOrder() const { return packageOrder_; }

    // Adds a unit, or replaces the one with the same key. Link() must follow before lookups.
    void SetUnit(IndexUnit unit);
    bool RemoveUnit(std::string_view key);
    const IndexUnit* FindUnit(std::string_view key) const;
    // Connects classes to their parents and rebuilds the lookups by name. Done by the builder and
    // by the one-file updates; needed after SetUnit / RemoveUnit.
    void Link();

    // Every class in order (packages in order, then files by name).
    const std::vector<const IndexedClass*>& Classes() const { return classes_; }
    std::size_t SymbolCount() const;
    // Every unit in order.
    std::vector<const IndexUnit*> Units() const;

    // The first class of that name in order, or nullptr.
    const IndexedClass* FindClass(std::string_view name) const;
    // The class a source file declares, or nullptr.
    const IndexedClass* ClassOfFile(std::string_view path) const;
    // Whether cls is base or derives from it.
    static bool IsA(const IndexedClass* cls, const IndexedClass* base);

    // A member of the class itself, found through the parent chain (the nearest wins).
    MemberRef FindMember(const IndexedClass* cls, std::string_view name, unsigned kinds = kAnyKind) const;
    // A function as called from code of a state: the state's own, its parent states' (the one it
    // extends, else the state of that name in the parent classes), then the class chain's.
    MemberRef FindFunctionInState(const IndexedClass* cls, std::string_view state, std::string_view name) const;
    // The state of that name through the parent chain.
    MemberRef FindState(const IndexedClass* cls, std::string_view name) const;
    // The state a state extends: the one it names, else the same-named state of the parent classes.
    MemberRef ParentState(MemberRef state) const;
    // A struct or enum type by name: through the class chain first, then any class.
    MemberRef FindType(const IndexedClass* context, std::string_view name) const;
    // A member of a struct, through the structs it extends.
    MemberRef FindStructMember(MemberRef structType, std::string_view name) const;
    // An enum value of any enum (the chain's enums first).
    MemberRef FindEnumValue(const IndexedClass* context, std::string_view name) const;
    // A constant of any class (the chain's first).
    MemberRef FindConstant(const IndexedClass* context, std::string_view name) const;
    // The operators declared with that name ("+", "Dot"), in order.
    const std::vector<MemberRef>* Operators(std::string_view name) const;

private:
    struct Entry;
    int PackageRank(std::string_view package) const;

    std::vector<std::string> packageOrder_;
    std::vector<std::unique_ptr<Entry>> entries_;  // in order after Link
    std::unordered_map<std::string, Entry*> entryByKey_;
    std::vector<const IndexedClass*> classes_;
    std::unordered_map<std::string, const IndexedClass*> classByName_;
    std::unordered_map<std::string, const IndexedClass*> classByFile_;
    std::unordered_map<std::string, MemberRef> typeByName_;
    std::unordered_map<std::string, std::vector<MemberRef>> enumValuesByName_;
    std::unordered_map<std::string, std::vector<MemberRef>> constantsByName_;
    std::unordered_map<std::string, std::vector<MemberRef>> operators_;
};

}  // namespace torvane::intel
