#include "intel/symbol_index.h"

#include <algorithm>

#include "intel/script_lexer.h"

namespace torvane::intel {
namespace {

constexpr int kMaxChain = 256;  // a parent chain longer than this is damaged (a loop)

bool IsOperator(const Symbol& symbol) {
    return symbol.kind == SymbolKind::Function &&
           (HasModifier(symbol.modifiers, "operator") || HasModifier(symbol.modifiers, "preoperator") ||
            HasModifier(symbol.modifiers, "postoperator"));
}

bool InChain(const IndexedClass* cls, const IndexedClass* wanted) {
    int steps = 0;
    for (const IndexedClass* c = cls; c && steps < kMaxChain; c = c->parent(), ++steps) {
        if (c == wanted) return true;
    }
    return false;
}

// The first of refs whose owner lies in context's chain (the nearest), else the first.
MemberRef NearestOrFirst(const std::vector<MemberRef>& refs, const IndexedClass* context) {
    int steps = 0;
    for (const IndexedClass* c = context; c && steps < kMaxChain; c = c->parent(), ++steps) {
        for (const MemberRef& ref : refs) {
            if (ref.owner == c) return ref;
        }
    }
    return refs.empty() ? MemberRef{} : refs.front();
}

}  // namespace

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
}

const Symbol& MemberRef::symbol() const { return owner->symbols().members[index]; }

IndexedClass::IndexedClass(const ClassSymbols& symbols, const IndexUnit& unit) : symbols_(&symbols), unit_(&unit) {
    for (std::uint32_t i = 0; i < symbols.members.size(); ++i) {
        const Symbol& member = symbols.members[i];
        if (member.scope.empty()) {
            classMembers_[FoldName(member.name)].push_back(i);
        } else {
            scopedMembers_[FoldName(member.scope) + "." + FoldName(member.name)].push_back(i);
        }
    }
}

const std::vector<std::uint32_t>* IndexedClass::ClassMembers(std::string_view foldedName) const {
    const auto it = classMembers_.find(std::string(foldedName));
    return it == classMembers_.end() ? nullptr : &it->second;
}

const std::vector<std::uint32_t>* IndexedClass::ScopedMembers(std::string_view foldedScope,
                                                              std::string_view foldedName) const {
    std::string key;
    key.reserve(foldedScope.size() + 1 + foldedName.size());
    key += foldedScope;
    key += '.';
    key += foldedName;
    const auto it = scopedMembers_.find(key);
    return it == scopedMembers_.end() ? nullptr : &it->second;
}

std::vector<std::uint32_t> IndexedClass::MembersOfScope(std::string_view scope) const {
    std::vector<std::uint32_t> members;
    const std::string folded = FoldName(scope);
    for (std::uint32_t i = 0; i < symbols_->members.size(); ++i) {
        const std::string& memberScope = symbols_->members[i].scope;
        if (memberScope.size() == folded.size() && FoldName(memberScope) == folded) members.push_back(i);
    }
    return members;
}

struct SymbolIndex::Entry {
    int rank = 0;  // of the unit's package in the package order
    std::unique_ptr<IndexUnit> unit;
    std::vector<std::unique_ptr<IndexedClass>> classes;
};

SymbolIndex::SymbolIndex() = default;
SymbolIndex::~SymbolIndex() = default;
SymbolIndex::SymbolIndex(SymbolIndex&&) noexcept = default;
SymbolIndex& SymbolIndex::operator=(SymbolIndex&&) noexcept = default;

void SymbolIndex::SetPackageOrder(std::vector<std::string> packages) { packageOrder_ = std::move(packages); }

int SymbolIndex::PackageRank(std::string_view package) const {
    const std::string folded = FoldName(package);
    for (std::size_t i = 0; i < packageOrder_.size(); ++i) {
        if (FoldName(packageOrder_[i]) == folded) return static_cast<int>(i);
    }
    return static_cast<int>(packageOrder_.size());
}

void SymbolIndex::SetUnit(IndexUnit unit) {
    auto entry = std::make_unique<Entry>();
    entry->unit = std::make_unique<IndexUnit>(std::move(unit));
    for (const ClassSymbols& cls : entry->unit->classes) {
        entry->classes.push_back(std::make_unique<IndexedClass>(cls, *entry->unit));
    }
    const auto existing = entryByKey_.find(entry->unit->key);
    if (existing != entryByKey_.end()) {
        for (auto& slot : entries_) {
            if (slot.get() == existing->second) {
                existing->second = entry.get();
                slot = std::move(entry);
                return;
            }
        }
    }
    entryByKey_[entry->unit->key] = entry.get();
    entries_.push_back(std::move(entry));
}

bool SymbolIndex::RemoveUnit(std::string_view key) {
    const auto existing = entryByKey_.find(std::string(key));
    if (existing == entryByKey_.end()) return false;
    const Entry* doomed = existing->second;
    entryByKey_.erase(existing);
    std::erase_if(entries_, [&](const std::unique_ptr<Entry>& entry) { return entry.get() == doomed; });
    return true;
}

const IndexUnit* SymbolIndex::FindUnit(std::string_view key) const {
    const auto it = entryByKey_.find(std::string(key));
    return it == entryByKey_.end() ? nullptr : it->second->unit.get();
}

std::vector<const IndexUnit*> SymbolIndex::Units() const {
    std::vector<const IndexUnit*> units;
    units.reserve(entries_.size());
    for (const auto& entry : entries_) units.push_back(entry->unit.get());
    return units;
}

void SymbolIndex::Link() {
    std::unordered_map<std::string, int> ranks;
    for (auto& entry : entries_) {
        const auto [it, added] = ranks.emplace(entry->unit->package, 0);
        if (added) it->second = PackageRank(entry->unit->package);
        entry->rank = it->second;
    }
    std::stable_sort(entries_.begin(), entries_.end(), [](const auto& a, const auto& b) {
        if (a->rank != b->rank) return a->rank < b->rank;
        return a->unit->key < b->unit->key;
    });

    classes_.clear();
    classByName_.clear();
    classByFile_.clear();
    typeByName_.clear();
    enumValuesByName_.clear();
    constantsByName_.clear();
    operators_.clear();
    for (const auto& entry : entries_) {
        for (const auto& cls : entry->classes) {
            classes_.push_back(cls.get());
            if (!cls->name().empty()) classByName_.emplace(FoldName(cls->name()), cls.get());
            if (!entry->unit->compiled) classByFile_.emplace(entry->unit->key, cls.get());
        }
    }
    for (const auto& entry : entries_) {
        for (const auto& cls : entry->classes) {
            cls->parent_ = nullptr;
            if (cls->symbols().parent.empty()) continue;
            const IndexedClass* parent = FindClass(cls->symbols().parent);
            if (parent != cls.get()) cls->parent_ = parent;
        }
    }
    // A loop of parents (damaged sources) is cut where it closes.
    for (const IndexedClass* cls : classes_) {
        int steps = 0;
        for (const IndexedClass* c = cls->parent_; c && steps < kMaxChain; c = c->parent_, ++steps) {
            if (c == cls) {
                const_cast<IndexedClass*>(cls)->parent_ = nullptr;
                break;
            }
        }
    }
    for (const IndexedClass* cls : classes_) {
        const auto& members = cls->symbols().members;
        for (std::uint32_t i = 0; i < members.size(); ++i) {
            const Symbol& member = members[i];
            const MemberRef ref{cls, i};
            switch (member.kind) {
                case SymbolKind::Struct:
                case SymbolKind::Enum:
                    if (member.scope.empty()) typeByName_.emplace(FoldName(member.name), ref);
                    break;
                case SymbolKind::EnumValue: enumValuesByName_[FoldName(member.name)].push_back(ref); break;
                case SymbolKind::Constant:
                    if (member.scope.empty()) constantsByName_[FoldName(member.name)].push_back(ref);
                    break;
                case SymbolKind::Function:
                    if (IsOperator(member)) operators_[FoldName(member.name)].push_back(ref);
                    break;
                default: break;
            }
        }
    }
}

std::size_t SymbolIndex::SymbolCount() const {
    std::size_t count = 0;
    for (const IndexedClass* cls : classes_) count += 1 + cls->symbols().members.size();
    return count;
}

const IndexedClass* SymbolIndex::FindClass(std::string_view name) const {
    const auto it = classByName_.find(FoldName(name));
    return it == classByName_.end() ? nullptr : it->second;
}

const IndexedClass* SymbolIndex::ClassOfFile(std::string_view path) const {
    const auto it = classByFile_.find(std::string(path));
    return it == classByFile_.end() ? nullptr : it->second;
}

bool SymbolIndex::IsA(const IndexedClass* cls, const IndexedClass* base) { return base && InChain(cls, base); }

MemberRef SymbolIndex::FindMember(const IndexedClass* cls, std::string_view name, unsigned kinds) const {
    const std::string folded = FoldName(name);
    int steps = 0;
    for (const IndexedClass* c = cls; c && steps < kMaxChain; c = c->parent_, ++steps) {
        if (const auto* list = c->ClassMembers(folded)) {
            for (std::uint32_t index : *list) {
                const auto kind = static_cast<unsigned>(c->symbols().members[index].kind);
                if (kinds & (1u << kind)) return {c, index};
            }
        }
    }
    return {};
}

MemberRef SymbolIndex::FindState(const IndexedClass* cls, std::string_view name) const {
    return FindMember(cls, name, kStates);
}

MemberRef SymbolIndex::ParentState(MemberRef state) const {
    if (!state) return {};
    const Symbol& symbol = state.symbol();
    if (!symbol.type.empty() && FoldName(symbol.type) != FoldName(symbol.name)) {
        return FindState(state.owner, symbol.type);
    }
    return FindState(state.owner->parent(), symbol.name);
}

MemberRef SymbolIndex::FindFunctionInState(const IndexedClass* cls, std::string_view state,
                                           std::string_view name) const {
    const std::string folded = FoldName(name);
    int steps = 0;
    for (MemberRef s = FindState(cls, state); s && steps < kMaxChain; s = ParentState(s), ++steps) {
        if (const auto* list = s.owner->ScopedMembers(FoldName(s.symbol().name), folded)) {
            for (std::uint32_t index : *list) {
                if (s.owner->symbols().members[index].kind == SymbolKind::Function) return {s.owner, index};
            }
        }
    }
    return FindMember(cls, name, kFunctions);
}

MemberRef SymbolIndex::FindType(const IndexedClass* context, std::string_view name) const {
    const std::size_t dot = name.find('.');
    if (dot != std::string_view::npos) {
        return FindMember(FindClass(name.substr(0, dot)), name.substr(dot + 1), kStructs | kEnums);
    }
    if (const MemberRef nearest = FindMember(context, name, kStructs | kEnums)) return nearest;
    const auto it = typeByName_.find(FoldName(name));
    return it == typeByName_.end() ? MemberRef{} : it->second;
}

MemberRef SymbolIndex::FindStructMember(MemberRef structType, std::string_view name) const {
    const std::string folded = FoldName(name);
    int steps = 0;
    for (MemberRef s = structType; s && s.symbol().kind == SymbolKind::Struct && steps < kMaxChain; ++steps) {
        if (const auto* list = s.owner->ScopedMembers(FoldName(s.symbol().name), folded)) {
            for (std::uint32_t index : *list) {
                if (s.owner->symbols().members[index].kind == SymbolKind::Variable) return {s.owner, index};
            }
        }
        if (s.symbol().type.empty()) break;
        s = FindType(s.owner, s.symbol().type);
    }
    return {};
}

MemberRef SymbolIndex::FindEnumValue(const IndexedClass* context, std::string_view name) const {
    const auto it = enumValuesByName_.find(FoldName(name));
    return it == enumValuesByName_.end() ? MemberRef{} : NearestOrFirst(it->second, context);
}

MemberRef SymbolIndex::FindConstant(const IndexedClass* context, std::string_view name) const {
    const auto it = constantsByName_.find(FoldName(name));
    return it == constantsByName_.end() ? MemberRef{} : NearestOrFirst(it->second, context);
}

const std::vector<MemberRef>* SymbolIndex::Operators(std::string_view name) const {
    const auto it = operators_.find(FoldName(name));
    return it == operators_.end() ? nullptr : &it->second;
}

}  // namespace torvane::intel
