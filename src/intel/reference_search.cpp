#include "intel/reference_search.h"

#include <algorithm>
#include <set>

#include "intel/script_lexer.h"
#include "platform/file_ops.h"

namespace torvane::intel {
namespace {

// The functions a call of function may run: itself and its overrides below its class.
std::set<std::pair<const IndexedClass*, std::uint32_t>> FunctionFamily(const SymbolIndex& index, MemberRef function) {
    std::set<std::pair<const IndexedClass*, std::uint32_t>> family{{function.owner, function.index}};
    const Symbol& original = function.symbol();
    const std::string name = FoldName(original.name);
    const std::string scope = FoldName(original.scope);
    for (const IndexedClass* cls : index.Classes()) {
        if (!SymbolIndex::IsA(cls, function.owner)) continue;
        const auto& members = cls->symbols().members;
        for (std::uint32_t i = 0; i < members.size(); ++i) {
            const Symbol& member = members[i];
            if (member.kind != SymbolKind::Function || FoldName(member.name) != name) continue;
            if (!scope.empty() && FoldName(member.scope) != scope) continue;
            family.insert({cls, i});
        }
    }
    return family;
}

bool ContainsWord(std::string_view text, std::string_view foldedName) {
    if (foldedName.empty()) return false;
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    const auto it = std::search(text.begin(), text.end(), foldedName.begin(), foldedName.end(),
                                [&](char a, char b) { return fold(a) == b; });
    return it != text.end();
}

class Collector final : public WalkListener {
public:
    Collector(const Target& target, const std::set<std::pair<const IndexedClass*, std::uint32_t>>& family)
        : target_(target), family_(family) {}
    void OnUse(const Use& use) override {
        if (!Matches(use.target)) return;
        uses.push_back(use);
    }
    std::vector<Use> uses;

private:
    bool Matches(const Target& found) const {
        if (!family_.empty()) {
            return found.kind == Target::Kind::Member && family_.count({found.member.owner, found.member.index});
        }
        return target_.SameAs(found);
    }
    const Target& target_;
    const std::set<std::pair<const IndexedClass*, std::uint32_t>>& family_;
};

}  // namespace

std::string ReadSourceText(const IndexedClass& cls) { return platform::ReadWholeFile(cls.symbols().file); }

std::vector<Reference> FindReferences(const SymbolIndex& index, const Target& target, const SourceTextOf& textOf,
                                      std::vector<std::string>* unreadable) {
    std::vector<Reference> references;
    if (!target) return references;
    std::set<std::pair<const IndexedClass*, std::uint32_t>> family;
    std::string name;
    switch (target.kind) {
        case Target::Kind::Member:
            name = target.member.symbol().name;
            if (target.member.symbol().kind == SymbolKind::Function) family = FunctionFamily(index, target.member);
            break;
        case Target::Kind::Class: name = target.cls->name(); break;
        case Target::Kind::Local: name = target.name; break;
        case Target::Kind::None: break;
    }
    const std::string folded = FoldName(name);
    for (const IndexedClass* cls : index.Classes()) {
        if (cls->symbols().compiled) continue;
        if (target.kind == Target::Kind::Local && cls != target.cls) continue;
        std::string text;
        try {
            text = textOf(*cls);
        } catch (const std::exception& e) {
            if (unreadable) unreadable->push_back(cls->symbols().file + ": " + e.what());
            continue;
        }
        if (!ContainsWord(text, folded)) continue;
        Collector collector(target, family);
        WalkClass(index, *cls, text, collector);
        std::sort(collector.uses.begin(), collector.uses.end(),
                  [](const Use& a, const Use& b) { return a.offset < b.offset; });
        for (const Use& use : collector.uses) {
            Reference reference;
            reference.cls = cls;
            reference.file = cls->symbols().file;
            reference.use = use;
            reference.lineText = std::string(LineText(text, use.line));
            references.push_back(std::move(reference));
        }
    }
    return references;
}

std::string ReferenceLine(const Reference& reference) {
    std::string_view text = reference.lineText;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return reference.file + "(" + std::to_string(reference.use.line) + "): " + std::string(text);
}

std::vector<std::string> ReferenceLines(const std::vector<Reference>& references) {
    std::vector<std::string> lines;
    const Reference* previous = nullptr;
    for (const Reference& reference : references) {
        if (previous && previous->cls == reference.cls && previous->use.line == reference.use.line) continue;
        lines.push_back(ReferenceLine(reference));
        previous = &reference;
    }
    return lines;
}

}  // namespace torvane::intel
