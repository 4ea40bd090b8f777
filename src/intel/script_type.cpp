#include "intel/script_type.h"

#include "intel/script_lexer.h"

namespace torvane::intel {
namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// "X" out of "prefix<X>", or empty.
std::string_view AngleArgument(std::string_view text, std::size_t prefixLength) {
    if (text.size() <= prefixLength + 1 || text[prefixLength] != '<' || text.back() != '>') return {};
    return Trimmed(text.substr(prefixLength + 1, text.size() - prefixLength - 2));
}

}  // namespace

ScriptType ScriptType::ObjectOf(const IndexedClass* cls, std::string name) {
    ScriptType type;
    type.kind = Kind::Object;
    type.cls = cls;
    type.name = cls ? cls->name() : std::move(name);
    return type;
}

ScriptType ScriptType::ClassOf(const IndexedClass* cls, std::string name) {
    ScriptType type;
    type.kind = Kind::Class;
    type.cls = cls;
    type.name = cls ? cls->name() : std::move(name);
    return type;
}

ScriptType TypeOfText(const SymbolIndex& index, const IndexedClass* context, std::string_view text) {
    text = Trimmed(text);
    using Kind = ScriptType::Kind;
    if (text.empty()) return {};
    if (text.size() > 6 && IsWord(text.substr(0, 5), "array") && text[5] == '<') {
        ScriptType element = TypeOfText(index, context, AngleArgument(text, 5));
        element.array = true;
        element.dynamicArray = true;
        return element;
    }
    if (text.size() >= 5 && IsWord(text.substr(0, 5), "class")) {
        if (text.size() == 5) return ScriptType::ClassOf(index.FindClass("Object"), "Object");
        const std::string_view meta = AngleArgument(text, 5);
        if (!meta.empty()) return ScriptType::ClassOf(index.FindClass(meta), std::string(meta));
    }
    if (text.size() >= 6 && IsWord(text.substr(0, 6), "string")) {
        if (text.size() == 6 || text[6] == '[') return ScriptType::Of(Kind::String);
    }
    struct Builtin {
        std::string_view word;
        Kind kind;
    };
    static constexpr Builtin kBuiltins[] = {
        {"byte", Kind::Byte},   {"int", Kind::Int},   {"bool", Kind::Bool},       {"float", Kind::Float},
        {"name", Kind::Name},   {"pointer", Kind::Pointer}, {"button", Kind::String},
    };
    for (const Builtin& builtin : kBuiltins) {
        if (IsWord(text, builtin.word)) return ScriptType::Of(builtin.kind);
    }
    if (const MemberRef declared = index.FindType(context, text)) {
        ScriptType type;
        type.kind = declared.symbol().kind == SymbolKind::Struct ? Kind::Struct : Kind::Enum;
        type.declaration = declared;
        type.name = declared.symbol().name;
        return type;
    }
    if (const IndexedClass* cls = index.FindClass(text)) return ScriptType::ObjectOf(cls);
    ScriptType unknown;
    unknown.name = std::string(text);
    return unknown;
}

std::string TypeText(const ScriptType& type) {
    using Kind = ScriptType::Kind;
    std::string text;
    switch (type.kind) {
        case Kind::Unknown: text = type.name.empty() ? "?" : type.name; break;
        case Kind::None: text = "none"; break;
        case Kind::Byte: text = "byte"; break;
        case Kind::Int: text = "int"; break;
        case Kind::Bool: text = "bool"; break;
        case Kind::Float: text = "float"; break;
        case Kind::String: text = "string"; break;
        case Kind::Name: text = "name"; break;
        case Kind::Pointer: text = "pointer"; break;
        case Kind::Object: text = type.name; break;
        case Kind::Class: text = "class<" + type.name + ">"; break;
        case Kind::Struct:
        case Kind::Enum: text = type.name; break;
    }
    if (type.dynamicArray) return "array<" + text + ">";
    return text;
}

}  // namespace torvane::intel
