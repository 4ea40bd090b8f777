#include "unrealpkg/member_declarations.h"

#include <unordered_set>

#include "core/text.h"
#include "unrealpkg/ut_decompiler.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

// Array and fixed-array types name their inner property; a damaged file may name itself.
constexpr int kMaxTypeNesting = 16;

std::string TypeTextAt(TUTObjectClassProperty& property, int depth);

// The class export that holds reference (following outer objects), or 0.
std::int32_t OwningClass(const TUTPackage& package, std::int32_t reference) {
    for (int steps = 0; reference > 0 && steps < 64; ++steps) {
        const TUTExportTableObjectData* entry = package.GetExport(reference - 1);
        if (!entry) return 0;
        if (entry->ClassIndex == 0) return reference;
        reference = entry->PackageIndex;
    }
    return 0;
}

// Whether ancestor is cls or one of its parents within the package.
bool IsClassOrParent(TUTPackage& package, std::int32_t cls, std::int32_t ancestor) {
    for (int steps = 0; cls > 0 && steps < 256; ++steps) {
        if (cls == ancestor) return true;
        const TUTExportTableObjectData* entry = package.GetExport(cls - 1);
        if (!entry) return false;
        cls = entry->SuperIndex;
    }
    return false;
}

// The name of an enum or struct type; one declared in a class of this package that is neither
// the property's class nor a parent of it is qualified with its class ("Class.Type").
std::string TypeName(TUTObjectClassProperty& property, std::int32_t type) {
    TUTPackage& p = property.package();
    const std::string name = OwnName(p, type);
    const std::int32_t typeClass = OwningClass(p, type);
    const std::int32_t ownerClass = OwningClass(p, property.exportIndex() + 1);
    if (typeClass == 0 || ownerClass == 0 || IsClassOrParent(p, ownerClass, typeClass)) return name;
    return OwnName(p, typeClass) + "." + name;
}

// The type text of the inner property of an array, read for the purpose.
std::string InnerTypeText(TUTPackage& package, std::int32_t inner, int depth) {
    if (depth >= kMaxTypeNesting || inner <= 0) return OwnName(package, inner);
    TUTExportTableObjectData* entry = package.GetExport(inner - 1);
    if (!entry) return {};
    auto* property = dynamic_cast<TUTObjectClassProperty*>(&entry->GetObject());
    if (!property) return OwnName(package, inner);
    ObjectReadScope scope(*property, true);
    return TypeTextAt(*property, depth + 1);
}

std::string TypeTextAt(TUTObjectClassProperty& property, int depth) {
    TUTPackage& p = property.package();
    if (auto* byte = dynamic_cast<TUTObjectClassByteProperty*>(&property)) {
        return byte->Enum() != 0 ? TypeName(property, byte->Enum()) : "byte";
    }
    if (dynamic_cast<TUTObjectClassIntProperty*>(&property)) return "int";
    if (dynamic_cast<TUTObjectClassBoolProperty*>(&property)) return "bool";
    if (dynamic_cast<TUTObjectClassFloatProperty*>(&property)) return "float";
    if (dynamic_cast<TUTObjectClassNameProperty*>(&property)) return "name";
    if (dynamic_cast<TUTObjectClassStrProperty*>(&property) ||
        dynamic_cast<TUTObjectClassStringProperty*>(&property)) {
        return "string";
    }
    if (auto* cls = dynamic_cast<TUTObjectClassClassProperty*>(&property)) {
        std::string text = OwnName(p, cls->PropertyClass());
        const std::string meta = OwnName(p, cls->MetaClass());
        if (!core::EqualsIgnoringCase(meta, "object")) text += "<" + meta + ">";
        return text;
    }
    if (auto* object = dynamic_cast<TUTObjectClassObjectProperty*>(&property)) {
        return OwnName(p, object->PropertyClass());
    }
    if (auto* fixed = dynamic_cast<TUTObjectClassFixedArrayProperty*>(&property)) {
        return OwnName(p, fixed->Inner()) + "[" + std::to_string(fixed->Count()) + "]";
    }
    if (auto* array = dynamic_cast<TUTObjectClassArrayProperty*>(&property)) {
        return "array<" + InnerTypeText(p, array->Inner(), depth) + ">";
    }
    if (dynamic_cast<TUTObjectClassMapProperty*>(&property)) return "map";
    if (dynamic_cast<TUTObjectClassPointerProperty*>(&property)) return "pointer";
    if (auto* structure = dynamic_cast<TUTObjectClassStructProperty*>(&property)) {
        return TypeName(property, structure->Struct());
    }
    return "property";
}

struct FlagWord {
    std::uint32_t bit;
    const char* word;
    std::uint32_t unlessBit;  // the word is left out when this bit is set too
};

constexpr FlagWord kPropertyFlagWords[] = {
    {0x2, "const", 0},           {0x4, "input", 0},         {0x8, "export", 0},
    {0x10, "optional", 0},       {0x40, "constref", 0},     {0x100, "out", 0x400},
    {0x200, "skip", 0},          {0x800, "coerce", 0},      {0x1000, "native", 0},
    {0x2000, "transient", 0},    {0x4000, "config", 0x40000}, {0x8000, "localized", 0},
    {0x10000, "travel", 0},      {0x20000, "editconst", 0}, {0x40000, "globalconfig", 0},
    {0x100000, "ondemand", 0},   {0x200000, "new", 0},
};

constexpr std::uint32_t kPropertyEditable = 0x1;
constexpr std::uint32_t kObjectPublic = 0x4;

}  // namespace

std::string OwnName(const TUTPackage& package, std::int32_t reference) {
    return package.GetObjectPath(1, reference);
}

void WalkFieldChain(TUTPackage& package, std::int32_t first,
                    const std::function<bool(TUTObject&)>& visit) {
    std::unordered_set<std::int32_t> seen;
    for (std::int32_t reference = first; reference > 0 && seen.insert(reference).second;) {
        TUTExportTableObjectData* entry = package.GetExport(reference - 1);
        if (!entry) return;
        auto* field = dynamic_cast<TUTObjectClassField*>(&entry->GetObject());
        if (!field) return;
        ObjectReadScope scope(*field, true);
        if (!visit(*field)) return;
        reference = field->Next();
    }
}

std::string TypeText(TUTObjectClassProperty& property) { return TypeTextAt(property, 0); }

std::string PropertyModifiers(TUTObjectClassProperty& property, const std::string& ownerName) {
    const std::uint32_t flags = property.PropertyFlags();
    std::string text;
    if (flags & kPropertyEditable) {
        text = "(" + (property.Category() != ownerName ? property.Category() : std::string()) + ") ";
    }
    for (const FlagWord& word : kPropertyFlagWords) {
        if ((flags & word.bit) && !(flags & word.unlessBit)) text += std::string(word.word) + " ";
    }
    if (!(property.GetObjectFlags() & kObjectPublic)) text += "private ";
    return text;
}

std::string PropertyDeclaration(TUTObjectClassProperty& property, const std::string& prefix,
                                const std::string& ownerName) {
    const std::string modifiers = PropertyModifiers(property, ownerName);
    std::string text = prefix;
    if (!text.empty() && modifiers.rfind('(', 0) != 0) text += ' ';
    text += modifiers + TypeText(property) + " " + property.GetObjectName();
    if (property.ArrayDim() > 1) text += "[" + std::to_string(property.ArrayDim()) + "]";
    return text;
}

std::string EnumDeclaration(TUTObjectClassEnum& object) {
    const std::vector<std::string>& values = object.Values();
    std::string list;
    for (std::size_t i = 0; i < values.size(); ++i) {
        list += values[i] + (i + 1 < values.size() ? ",\r\n" : "\r\n");
    }
    return "enum " + object.GetObjectName() + " {\r\n" + IndentText("\t", list) + "}";
}

std::string ConstDeclaration(TUTObjectClassConst& object) {
    return "const " + object.GetObjectName() + "=" + std::string(core::TrimLeft(object.Value()));
}

std::string StructDeclaration(TUTObjectClassStruct& object) {
    const std::string name = object.GetObjectName();
    std::string members;
    WalkFieldChain(object.package(), object.Children(), [&](TUTObject& member) {
        if (auto* property = dynamic_cast<TUTObjectClassProperty*>(&member)) {
            members += PropertyDeclaration(*property, "var", name) + ";\r\n";
        } else if (auto* enumeration = dynamic_cast<TUTObjectClassEnum*>(&member)) {
            members += EnumDeclaration(*enumeration) + ";\r\n";
        }
        return true;
    });
    std::string text = "struct " + name;
    if (object.SuperField() != 0) text += " expands " + OwnName(object.package(), object.SuperField());
    return text + "\r\n{\r\n" + IndentText("\t", members) + "}";
}

}  // namespace torvane::unrealpkg
