#include "intel/symbol_place.h"

namespace torvane::intel {
namespace {

class UseAtListener final : public WalkListener {
public:
    explicit UseAtListener(std::uint32_t offset) : offset_(offset) {}
    void OnUse(const Use& use) override {
        if (use.offset > offset_ || offset_ > use.offset + use.length) return;
        // Inside a name beats touching its end.
        if (!found_ || offset_ < use.offset + use.length) found_ = use;
    }
    std::optional<Use> found_;

private:
    std::uint32_t offset_;
};

std::string ObjectPathOf(const IndexedClass& cls, const Symbol* member) {
    std::string path = cls.symbols().package + "." + cls.name();
    if (!member) return path;
    if (!member->scope.empty()) path += "." + member->scope;
    return path + "." + member->name;
}

}  // namespace

std::optional<Use> UseAt(const SymbolIndex& index, const IndexedClass& cls, std::string_view text, std::uint32_t offset) {
    UseAtListener listener(offset);
    WalkAt(index, cls, text, offset, listener);
    return listener.found_;
}

SymbolPlace PlaceOf(const Target& target) {
    SymbolPlace place;
    const Symbol* member = nullptr;
    switch (target.kind) {
        case Target::Kind::None: return place;
        case Target::Kind::Member:
            place.cls = target.member.owner;
            member = &target.member.symbol();
            place.line = member->line;
            place.column = member->column;
            break;
        case Target::Kind::Class:
            place.cls = target.cls;
            place.line = target.cls->symbols().line;
            place.column = target.cls->symbols().column;
            break;
        case Target::Kind::Local:
            place.cls = target.cls;
            place.line = target.line;
            place.column = target.column;
            break;
    }
    const ClassSymbols& symbols = place.cls->symbols();
    place.compiled = symbols.compiled;
    if (place.compiled) {
        place.packageFile = place.cls->unit().key;
    } else {
        place.file = symbols.file;
    }
    place.objectPath = ObjectPathOf(*place.cls, member);
    return place;
}

std::string PlaceText(const SymbolPlace& place) {
    const std::string where = place.compiled ? place.cls->symbols().package + "." + place.cls->name() : place.file;
    return where + "(" + std::to_string(place.line) + ")";
}

std::string TargetText(const Target& target) {
    switch (target.kind) {
        case Target::Kind::None: return "nothing";
        case Target::Kind::Member: {
            const Symbol& symbol = target.member.symbol();
            std::string owner = target.member.owner->name();
            if (!symbol.scope.empty()) owner += "." + symbol.scope;
            return std::string(KindText(symbol.kind)) + " " + owner + "." + symbol.name;
        }
        case Target::Kind::Class: return "class " + target.cls->name();
        case Target::Kind::Local: return (target.parameter ? "parameter " : "local ") + target.name;
    }
    return {};
}

}  // namespace torvane::intel
