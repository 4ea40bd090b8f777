#include "intel/completion.h"

#include <algorithm>
#include <unordered_set>

#include "intel/code_walker.h"

namespace torvane::intel {
namespace {

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) > 127;
}

bool StartsWithFolded(std::string_view name, std::string_view foldedPrefix) {
    if (name.size() < foldedPrefix.size()) return false;
    return FoldName(name.substr(0, foldedPrefix.size())) == foldedPrefix;
}

class CompletionListener final : public WalkListener {
public:
    explicit CompletionListener(std::uint32_t dot) : dot_(dot) {}
    void OnMemberAccess(std::uint32_t dotOffset, const Reach& reach) override {
        if (dotOffset == dot_) {
            reach_ = reach;
            found = true;
        }
    }
    void OnLocal(const Target& local) override { locals.push_back(local); }
    Reach reach_;
    bool found = false;
    std::vector<Target> locals;

private:
    std::uint32_t dot_;
};

std::string Detail(const Symbol& symbol) {
    return symbol.kind == SymbolKind::Function ? FunctionSignature(symbol) : DeclarationText(symbol);
}

class Builder final {
public:
    Builder(const SymbolIndex& index, std::string_view prefix) : index_(index), prefix_(FoldName(prefix)) {}

    void Add(CompletionItem::Group group, std::string name, std::string detail, std::string owner) {
        if (!StartsWithFolded(name, prefix_) || !seen_.insert(FoldName(name)).second) return;
        items_.push_back({group, std::move(name), std::move(detail), std::move(owner)});
    }
    void AddMember(const IndexedClass& owner, const Symbol& symbol) {
        Add(CompletionItem::Group::Member, symbol.name, Detail(symbol), owner.name());
    }
    // The class-scope members of the chain (nearest first), of the kinds wanted.
    void AddChain(const IndexedClass* cls, unsigned kinds, bool staticOnly = false) {
        int steps = 0;
        for (const IndexedClass* c = cls; c && steps < 256; c = c->parent(), ++steps) {
            for (const Symbol& member : c->symbols().members) {
                if (!member.scope.empty() || !(kinds & (1u << static_cast<unsigned>(member.kind)))) continue;
                if (staticOnly && !HasModifier(member.modifiers, "static")) continue;
                if (HasModifier(member.modifiers, "operator") || HasModifier(member.modifiers, "preoperator") ||
                    HasModifier(member.modifiers, "postoperator")) {
                    continue;
                }
                AddMember(*c, member);
            }
        }
    }
    // A state's functions and its parent states'.
    void AddStateFunctions(const IndexedClass& cls, std::string_view stateName) {
        int steps = 0;
        for (MemberRef state = index_.FindState(&cls, stateName); state && steps < 64;
             state = index_.ParentState(state), ++steps) {
            for (std::uint32_t i : state.owner->MembersOfScope(state.symbol().name)) {
                const Symbol& member = state.owner->symbols().members[i];
                if (member.kind == SymbolKind::Function) AddMember(*state.owner, member);
            }
        }
    }
    void AddStruct(MemberRef structType) {
        int steps = 0;
        for (MemberRef s = structType; s && steps < 64; ++steps) {
            for (std::uint32_t i : s.owner->MembersOfScope(s.symbol().name)) AddMember(*s.owner, s.owner->symbols().members[i]);
            s = s.symbol().type.empty() ? MemberRef{} : index_.FindType(s.owner, s.symbol().type);
        }
    }

    std::vector<CompletionItem> Take() {
        std::stable_sort(items_.begin(), items_.end(), [](const CompletionItem& a, const CompletionItem& b) {
            if (a.group != b.group) return a.group < b.group;
            return FoldName(a.name) < FoldName(b.name);
        });
        return std::move(items_);
    }

private:
    const SymbolIndex& index_;
    std::string prefix_;
    std::unordered_set<std::string> seen_;
    std::vector<CompletionItem> items_;
};

}  // namespace

std::string CompletionRow(const CompletionItem& item, std::size_t nameWidth) {
    std::string row = item.name;
    if (item.detail.empty() && item.owner.empty()) return row;
    row.append(std::max(nameWidth, item.name.size()) + 2 - item.name.size(), ' ');
    row += item.detail;
    if (!item.owner.empty()) row += "  (" + item.owner + ")";
    return row;
}

std::string_view NameOfCompletionRow(std::string_view row) { return row.substr(0, row.find(' ')); }

const std::vector<std::string_view>& ScriptKeywords() {
    // Statements, literals, declarations, modifiers and the built-in types, in alphabetical order.
    static const std::vector<std::string_view> keywords = {
        "abstract", "array",     "assert",      "auto",     "bool",       "break",        "byte",
        "case",     "class",     "coerce",      "config",   "const",      "continue",     "default",
        "defaultproperties",     "do",          "editconst", "else",      "enum",         "event",
        "exec",     "expands",   "export",      "extends",  "false",      "final",        "float",
        "for",      "foreach",   "function",    "global",   "globalconfig", "goto",       "if",
        "ignores",  "input",     "int",         "iterator", "latent",     "local",        "localized",
        "name",     "native",    "nativereplication",       "new",        "none",         "noexport",
        "operator", "optional",  "out",         "perobjectconfig",        "postoperator", "preoperator",
        "private",  "protected", "reliable",    "replication", "return",  "rotator",      "self",
        "simulated", "singular", "skip",        "state",    "static",     "stop",         "string",
        "struct",   "super",     "switch",      "transient", "travel",    "true",         "unreliable",
        "until",    "var",       "vector",      "while",    "within"};
    return keywords;
}

CompletionList CompletionsAt(const SymbolIndex& index, const IndexedClass& cls, std::string_view text,
                             std::uint32_t offset) {
    CompletionList list;
    offset = std::min<std::uint32_t>(offset, static_cast<std::uint32_t>(text.size()));
    std::uint32_t begin = offset;
    while (begin > 0 && IsNameChar(text[begin - 1])) --begin;
    list.prefixBegin = begin;
    Builder builder(index, text.substr(begin, offset - begin));

    std::uint32_t before = begin;
    while (before > 0 && (text[before - 1] == ' ' || text[before - 1] == '\t')) --before;
    list.afterDot = before > 0 && text[before - 1] == '.';
    CompletionListener listener(list.afterDot ? before - 1 : UINT32_MAX);
    WalkAt(index, cls, text, offset, listener);

    if (list.afterDot) {
        if (!listener.found) return list;
        const Reach& reach = listener.reach_;
        switch (reach.scope) {
            case Reach::Scope::Default: builder.AddChain(reach.cls, kVariables); break;
            case Reach::Scope::Static: builder.AddChain(reach.cls, kFunctions, true); break;
            case Reach::Scope::Global:
            case Reach::Scope::Super: builder.AddChain(reach.cls, kFunctions); break;
            case Reach::Scope::Value: {
                const ScriptType& type = reach.type;
                if (type.kind == ScriptType::Kind::Object && type.cls) {
                    builder.AddChain(type.cls, kVariables | kFunctions | kConstants);
                } else if (type.kind == ScriptType::Kind::Class) {
                    builder.Add(CompletionItem::Group::Keyword, "default", "the class's default values", {});
                    builder.Add(CompletionItem::Group::Keyword, "static", "the class's static functions", {});
                    builder.AddChain(index.FindClass("Object"), kVariables | kFunctions);
                } else if (type.kind == ScriptType::Kind::Struct || (type.kind == ScriptType::Kind::Enum && type.typeName)) {
                    builder.AddStruct(type.declaration);  // a struct's members, an enum's values
                }
                break;
            }
        }
        list.items = builder.Take();
        return list;
    }

    for (const Target& local : listener.locals) {
        builder.Add(CompletionItem::Group::Local, local.name, local.type + " " + local.name, {});
    }
    if (const MemberRef body = BodyAt(cls, offset); body) {
        const Symbol& symbol = body.symbol();
        const std::string& state = symbol.kind == SymbolKind::State ? symbol.name : symbol.scope;
        if (!state.empty()) builder.AddStateFunctions(cls, state);
    }
    builder.AddChain(&cls, kVariables | kFunctions | kConstants | kEnums | kStructs | kStates);
    if (begin < offset) {
        for (const IndexedClass* c : index.Classes()) {
            builder.Add(CompletionItem::Group::Class, c->name(),
                        "class " + c->name() + (c->symbols().parent.empty() ? "" : " extends " + c->symbols().parent),
                        c->symbols().package);
        }
    }
    for (std::string_view keyword : ScriptKeywords()) builder.Add(CompletionItem::Group::Keyword, std::string(keyword), {}, {});
    list.items = builder.Take();
    return list;
}

}  // namespace torvane::intel
