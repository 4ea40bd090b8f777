#include "unrealpkg/ut_properties.h"

#include <cstring>
#include <unordered_map>

#include "core/format.h"
#include "core/text.h"
#include "unrealpkg/ut_compact_index.h"
#include "unrealpkg/ut_known_enums.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

constexpr const char* kArrayNames[] = {
    "paths",      "visnoreachpaths", "upstreampaths", "prunedpaths", "aiprofile",
    "multiskins", "lensaflare",      "lensflareoffset", "lensflarescale", "delay",
    "gain",       "outevents",       "outdelays",     "objshots",    "objdesc",
    "damageevent", "damageeventthreshold", "tags",    "events",      "opentimes",
    "closetimes", "splats",          "internaltime",
};

// Nested struct definitions are followed this deep at most.
constexpr int kMaxStructDepth = 16;

class PropertyReadError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void PutInt32(std::vector<std::uint8_t>& data, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> ReadRaw(TUTPackage& p, TUTStream& s, std::int64_t count) {
    if (count < 0 || count > s.Remaining()) throw StreamError("Stream read error");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    p.ReadBuffer(bytes.data(), bytes.size(), &s);
    return bytes;
}

// Reads the raw value bytes in order; past the end it yields zeros.
class ByteCursor {
public:
    explicit ByteCursor(const std::vector<std::uint8_t>& data) : data_(data) {}
    std::uint8_t Byte() { return pos_ < data_.size() ? data_[pos_++] : (pos_++, 0); }
    std::uint16_t Word() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }
    std::int32_t Int() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return static_cast<std::int32_t>(v);
    }
    double Float() {
        const auto bits = static_cast<std::uint32_t>(Int());
        float f = 0;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    std::int32_t Compact() {
        return DecodeCompactIndexFrom([this] { return Byte(); });
    }
    std::string Bytes(std::size_t count) {
        std::string text;
        const std::size_t available = pos_ < data_.size() ? data_.size() - pos_ : 0;
        const std::size_t take = std::min(count, available);
        text.assign(reinterpret_cast<const char*>(data_.data()) + pos_, take);
        pos_ += count;
        return text;
    }
    std::string Rest() { return Bytes(pos_ < data_.size() ? data_.size() - pos_ : 0); }
    // Reads went past the value's bytes (and read zeros there).
    bool Overrun() const { return pos_ > data_.size(); }

private:
    const std::vector<std::uint8_t>& data_;
    std::size_t pos_ = 0;
};

std::string StripTrailingZeros(std::string text) {
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

std::string FormatFloat(double value) { return core::Format("%f", {value}); }

// "Class'Path'" for an object reference, or "None".
std::string ObjectText(const TUTPackage& package, std::int32_t reference) {
    if (reference == 0) return "None";
    std::string className;
    if (reference > 0) {
        const auto* entry = package.GetExport(reference - 1);
        className = entry ? entry->GetClassName() : std::string();
    } else {
        const auto* entry = package.GetImport(~reference);
        className = entry ? entry->GetClassName() : std::string();
    }
    if (className.empty()) className = "Class";
    return className + "'" + package.GetObjectPath(-1, reference) + "'";
}

// The ByteProperty declaration of a property: the first one inside the owner, else inside the
// nearest class up the owner's chain. The declarations of that name are listed once and the chain
// is followed once, so a damaged package with hundreds of same-named exports and a chain through
// all of them costs their number, not its square.
int FindByteDeclaration(const TUTProperty& property) {
    TUTPackage& p = *property.package;
    const TUTObject& owner = *property.owner;
    constexpr int kMatch = kMatchObjectName | kMatchClassName;
    std::unordered_map<std::int32_t, int> declarationInside;  // outer reference -> first declaration
    for (int i = p.FindObject(kMatch, "", property.Name, "ByteProperty"); i >= 0;
         i = p.FindObject(kMatch, "", property.Name, "ByteProperty", i + 1)) {
        declarationInside.emplace(p.GetExport(i)->PackageIndex, i);
    }
    if (declarationInside.empty()) return -1;
    const auto inside = [&](std::int32_t reference) {
        const auto found = declarationInside.find(reference);
        return found == declarationInside.end() ? -1 : found->second;
    };
    if (const int found = inside(owner.exportIndex() + 1); found >= 0) return found;
    const std::string ownerClass = owner.GetClassName();
    const bool isClassOrState = ownerClass.empty() || core::EqualsIgnoringCase(ownerClass, "Class") ||
                                core::EqualsIgnoringCase(ownerClass, "State");
    std::int32_t reference = isClassOrState ? owner.GetSuper() : owner.GetClassRef();
    for (int steps = 0; reference > 0 && steps <= p.ExportCount(); ++steps) {
        if (const int found = inside(reference); found >= 0) return found;
        const auto* entry = p.GetExport(reference - 1);
        if (!entry) break;
        reference = entry->SuperIndex;
    }
    return -1;
}

std::string EnumValueOf(TUTPackage& p, int enumExport, int index) {
    TUTExportTableObjectData* entry = p.GetExport(enumExport);
    if (!entry) return {};
    TUTObject& object = entry->GetObject();
    ObjectReadScope scope(object, true);
    const auto* enumObject = dynamic_cast<TUTObjectClassEnum*>(&object);
    if (!enumObject || !object.Parsed()) return {};
    const auto& values = enumObject->Values();
    return index >= 0 && index < static_cast<int>(values.size())
               ? values[static_cast<std::size_t>(index)]
               : std::string();
}

// The enum value name of a byte property, or "".
std::string ResolveEnum(const TUTProperty& property, int value) {
    if (!property.package || !property.owner) return {};
    TUTPackage& p = *property.package;
    try {
        const int declaration = FindByteDeclaration(property);
        if (declaration >= 0) {
            TUTObject& object = p.GetExport(declaration)->GetObject();
            ObjectReadScope scope(object, true);
            const auto* byteProperty = dynamic_cast<TUTObjectClassByteProperty*>(&object);
            if (!byteProperty || !object.Parsed()) return {};
            const std::int32_t enumRef = byteProperty->Enum();
            if (enumRef <= 0) return {};
            return EnumValueOf(p, enumRef - 1, value);
        }
        const int fallback = p.FindObject(kMatchObjectName | kMatchClassName, "",
                                          "E" + property.Name, "Enum");
        return fallback >= 0 ? EnumValueOf(p, fallback, value) : std::string();
    } catch (const std::exception&) {
        return {};  // an unresolvable enum shows the number
    }
}

TUTFormattedValue Member(std::string name, std::int32_t type, std::string display,
                         TUTValue value, std::string aux = {}) {
    TUTFormattedValue member;
    member.memberName = std::move(name);
    member.type = type;
    member.display = std::move(display);
    member.value = std::move(value);
    member.auxiliary = std::move(aux);
    return member;
}

TUTFormattedValue ByteMember(std::string name, std::uint8_t value, const std::string& enumName) {
    const std::string text = KnownEnumValue(enumName, value);
    return Member(std::move(name), kPropByte, text, std::int64_t{value}, text);
}

std::int32_t MemberType(const std::string& declarationClass) {
    static const std::pair<const char*, std::int32_t> kTypes[] = {
        {"ByteProperty", kPropByte},       {"IntProperty", kPropInt},
        {"BoolProperty", kPropBool},       {"FloatProperty", kPropFloat},
        {"ObjectProperty", kPropObject},   {"ClassProperty", kPropClass},
        {"NameProperty", kPropName},       {"StrProperty", kPropString},
        {"StructProperty", kPropStruct},   {"StringProperty", kPropFixedString},
        {"MapProperty", kPropMap},         {"ArrayProperty", kPropArray},
        {"FixedArrayProperty", kPropFixedArray},
    };
    for (const auto& [name, type] : kTypes) {
        if (core::EqualsIgnoringCase(declarationClass, name)) return type;
    }
    return kPropUnknown;
}

std::vector<TUTFormattedValue> StructMembers(TUTPackage* package, const std::string& structName,
                                             ByteCursor& cursor, int depth);

std::string WholeStructText(const std::string& structName,
                            const std::vector<TUTFormattedValue>& members);

std::string JoinMembers(const std::vector<TUTFormattedValue>& members) {
    std::string text = "(";
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (i > 0) text += ", ";
        text += members[i].memberName + "=" + members[i].display;
    }
    return text + ")";
}

// Members of a struct found by its definition, in the binary layout of a struct value: bytes,
// four-byte ints and floats, one-byte bools, compact object and name references, strings with
// a compact length, nested structs, each repeated for a static array member.
std::vector<TUTFormattedValue> DefinedStructMembers(TUTPackage& p, const std::string& structName,
                                                    ByteCursor& cursor, int depth) {
    std::vector<TUTFormattedValue> members;
    const int definition = p.FindObject(kMatchObjectName | kMatchClassName, "", structName, "Struct");
    if (definition < 0 || depth > kMaxStructDepth) {
        members.push_back(Member("unknown", kPropUnknown, "0", std::int64_t{0}));
        return members;
    }
    TUTObject& object = p.GetExport(definition)->GetObject();
    ObjectReadScope scope(object, true);
    const auto* structObject = dynamic_cast<TUTObjectClassStruct*>(&object);
    if (!structObject || !object.Parsed()) {
        members.push_back(Member("unknown", kPropUnknown, "0", std::int64_t{0}));
        return members;
    }
    std::int32_t child = structObject->Children();
    for (int steps = 0; child > 0 && steps <= p.ExportCount(); ++steps) {
        TUTExportTableObjectData* entry = p.GetExport(child - 1);
        if (!entry) break;
        TUTObject& memberObject = entry->GetObject();
        ObjectReadScope memberScope(memberObject, true);
        const auto* declaration = dynamic_cast<TUTObjectClassProperty*>(&memberObject);
        const std::int32_t type = MemberType(entry->GetClassName());
        const int count = declaration && memberObject.Parsed()
                              ? std::max<int>(1, declaration->ArrayDim())
                              : 1;
        for (int element = 0; element < count; ++element) {
            // A damaged declaration (an array of millions, a chain through every export) ends
            // with the value's bytes: what would follow is not in the value.
            if (cursor.Overrun()) return members;
            std::string name = entry->GetObjectName();
            if (count > 1) name += "[" + std::to_string(element) + "]";
            switch (type) {
                case kPropByte: {
                    const std::uint8_t b = cursor.Byte();
                    members.push_back(Member(name, type, std::to_string(b), std::int64_t{b}));
                    break;
                }
                case kPropInt: {
                    const std::int32_t v = cursor.Int();
                    members.push_back(Member(name, type, std::to_string(v), std::int64_t{v}));
                    break;
                }
                case kPropBool: {
                    const bool v = cursor.Byte() != 0;
                    members.push_back(Member(name, type, v ? "True" : "False", std::int64_t{v}));
                    break;
                }
                case kPropFloat: {
                    const double v = cursor.Float();
                    members.push_back(Member(name, type, FormatFloat(v), v));
                    break;
                }
                case kPropObject:
                case kPropClass: {
                    const std::string text = ObjectText(p, cursor.Compact());
                    members.push_back(Member(name, type, text, text, text));
                    break;
                }
                case kPropName: {
                    const std::string text = p.GetName(cursor.Compact());
                    members.push_back(Member(name, type, text, text, text));
                    break;
                }
                case kPropString: {
                    const std::int32_t length = cursor.Compact();
                    const std::string text =
                        StripTrailingZeros(cursor.Bytes(static_cast<std::size_t>(std::max(0, length))));
                    members.push_back(Member(name, type, TUTPackage::QuoteString(text), text));
                    break;
                }
                case kPropFixedString: {
                    const std::size_t size = declaration ? declaration->ElementSize() : 0;
                    const std::string text = StripTrailingZeros(cursor.Bytes(size));
                    members.push_back(Member(name, type, TUTPackage::QuoteString(text), text));
                    break;
                }
                case kPropStruct: {
                    const auto* structProperty =
                        dynamic_cast<const TUTObjectClassStructProperty*>(declaration);
                    const std::string nested =
                        structProperty ? p.GetObjectPath(1, structProperty->Struct()) : "";
                    const std::string text =
                        WholeStructText(nested, StructMembers(&p, nested, cursor, depth + 1));
                    members.push_back(Member(name, type, text, text));
                    break;
                }
                default:
                    members.push_back(Member(name, type, "", std::vector<std::uint8_t>{}));
                    break;
            }
        }
        child = declaration && memberObject.Parsed() ? declaration->Next() : 0;
    }
    return members;
}

// Members of a struct value: the engine's known structs by their fixed layouts, others through
// their definition in the package.
std::vector<TUTFormattedValue> StructMembers(TUTPackage* package, const std::string& structName,
                                             ByteCursor& cursor, int depth) {
    const std::string name = core::LowerCase(structName);
    std::vector<TUTFormattedValue> m;
    auto floats = [&](std::initializer_list<const char*> names) {
        for (const char* n : names) {
            const double v = cursor.Float();
            m.push_back(Member(n, kPropFloat, FormatFloat(v), v));
        }
    };
    auto ints = [&](std::initializer_list<const char*> names) {
        for (const char* n : names) {
            const std::int32_t v = cursor.Int();
            m.push_back(Member(n, kPropInt, std::to_string(v), std::int64_t{v}));
        }
    };
    if (name == "color") {
        for (const char* n : {"R", "G", "B", "A"}) {
            const std::uint8_t b = cursor.Byte();
            m.push_back(Member(n, kPropByte, std::to_string(b), std::int64_t{b}));
        }
    } else if (name == "vector") {
        floats({"X", "Y", "Z"});
    } else if (name == "rotator") {
        ints({"Pitch", "Yaw", "Roll"});
    } else if (name == "pointregion") {
        const std::int32_t zone = cursor.Int();
        const std::string zoneText = package ? ObjectText(*package, zone) : "None";
        m.push_back(Member("Zone", kPropObject, zoneText, zoneText, zoneText));
        ints({"iLeaf", "ZoneNumber"});
    } else if (name == "scale") {
        floats({"X", "Y", "Z", "SheerRate"});
        m.push_back(ByteMember("SheerAxis", cursor.Byte(), "ESheerAxis"));
    } else if (name == "plane" || name == "sphere") {
        floats({"X", "Y", "Z", "W"});
    } else if (name == "adrop" || name == "aspark") {
        m.push_back(ByteMember("Type", cursor.Byte(), name == "adrop" ? "EDropType" : "ESparkType"));
        for (const char* n : {"Heat", "X", "Y", "XSpeed", "YSpeed", "Age", "ExpTime"}) {
            const std::uint8_t b = cursor.Byte();
            m.push_back(Member(n, kPropByte, std::to_string(b), std::int64_t{b}));
        }
    } else if (package) {
        return DefinedStructMembers(*package, structName, cursor, depth);
    } else {
        m.push_back(Member("unknown", kPropUnknown, "0", std::int64_t{0}));
    }
    return m;
}

std::string WholeStructText(const std::string& structName,
                            const std::vector<TUTFormattedValue>& m) {
    const std::string name = core::LowerCase(structName);
    auto d = [&](std::size_t i) -> std::string { return i < m.size() ? m[i].display : ""; };
    if (name == "color") {
        return "(R=" + d(0) + ",G=" + d(1) + ",B=" + d(2) + ",A=" + d(3) + ")";
    }
    if (name == "vector") return "(X=" + d(0) + ",Y=" + d(1) + ",Z=" + d(2) + ")";
    if (name == "rotator") return "(Pitch=" + d(0) + ",Yaw=" + d(1) + ",Roll=" + d(2) + ")";
    if (name == "pointregion") {
        return "(Zone=" + d(0) + ", iLeaf=" + d(1) + ", ZoneNumber=" + d(2) + ")";
    }
    if (name == "scale") {
        return "(X=" + d(0) + ", Y=" + d(1) + ", Z=" + d(2) + ", SheerRate=" + d(3) +
               ", SheerAxis=" + d(4) + ")";
    }
    if (name == "plane" || name == "sphere") {
        return "(X=" + d(0) + ", Y=" + d(1) + ", Z=" + d(2) + ", W=" + d(3) + ")";
    }
    if (name == "adrop" || name == "aspark") {
        return "(Type=" + d(0) + ", Heat=" + d(1) + ", X=" + d(2) + ", Y=" + d(3) +
               ", XSpeed=" + d(4) + ", YSpeed=" + d(5) + ", Age=" + d(6) + ", ExpTime=" + d(7) +
               ")";
    }
    if (m.size() == 1 && m[0].memberName == "unknown" && m[0].type == kPropUnknown) return "0";
    return JoinMembers(m);
}

}  // namespace

std::string ValueText(const TUTValue& value) {
    if (const auto* i = std::get_if<std::int64_t>(&value)) return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&value)) return FormatFloat(*d);
    if (const auto* s = std::get_if<std::string>(&value)) return *s;
    return {};
}

bool IsArrayName(std::string_view name) {
    for (const char* arrayName : kArrayNames) {
        if (core::EqualsIgnoringCase(arrayName, name)) return true;
    }
    return false;
}

// --- property list ---------------------------------------------------------------------------

TUTProperty* TUTPropertyList::Get(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<std::size_t>(index)].get();
}

TUTProperty& TUTPropertyList::Add() {
    items_.push_back(std::make_unique<TUTProperty>());
    return *items_.back();
}

TUTProperty* TUTPropertyList::FindByName(std::string_view name) const {
    for (const auto& item : items_) {
        if (core::EqualsIgnoringCase(item->Name, name)) return item.get();
    }
    return nullptr;
}

void TUTPropertyList::FixArrayIndices() {
    // How often each name occurs without regard to case, the "None" terminator left out: one pass,
    // so that an object of many properties costs no more than their number.
    std::unordered_map<std::string, int> occurrences;
    for (const auto& item : items_) {
        if (item->Type != kPropNone) ++occurrences[core::UpperCase(item->Name)];
    }
    for (const auto& item : items_) {
        if (item->ArrayIndex != -1 || item->Type == kPropNone) continue;
        if (IsArrayName(item->Name) || occurrences[core::UpperCase(item->Name)] > 1) {
            item->ArrayIndex = 0;
        }
    }
}

TUTValue TUTPropertyList::GetValue(std::string_view name) const {
    return GetValue(name, std::int64_t{0});
}

TUTValue TUTPropertyList::GetValue(std::string_view name, const TUTValue& fallback) const {
    const TUTProperty* property = FindByName(name);
    return property ? FormatValue(*property).value : fallback;
}

// --- tags ------------------------------------------------------------------------------------

bool ReadPropertyTag(TUTPackage& p, TUTProperty& property, TUTStream& s) {
    std::int32_t nameIndex = 0;
    bool nameKnown = false;
    try {
        nameIndex = p.ReadCompactIndex(&s);
        nameKnown = nameIndex >= 0 && nameIndex < static_cast<std::int32_t>(p.Names.size());
        property.Name = p.GetName(nameIndex);
        if (core::LowerCase(property.Name) == "none") {
            property.Type = kPropNone;
            property.ArrayIndex = -1;
            property.Valid = true;
            return false;
        }
        const std::uint8_t info = p.ReadByte(&s);
        const std::int32_t type = info & 0x0F;
        const int sizeCode = (info >> 4) & 0x07;
        const bool arrayBit = (info & 0x80) != 0;
        if (type == kPropStruct) property.StructName = p.GetName(p.ReadCompactIndex(&s));
        std::int64_t size = 0;
        switch (sizeCode) {
            case 0: size = 1; break;
            case 1: size = 2; break;
            case 2: size = 4; break;
            case 3: size = 12; break;
            case 4: size = 16; break;
            case 5: size = p.ReadByte(&s); break;
            case 6: size = p.ReadWord(&s); break;
            default: size = p.ReadDWord(&s); break;
        }
        property.ArrayIndex = -1;
        if (arrayBit && type != kPropBool) {
            const std::uint8_t b = p.ReadByte(&s);
            if (b < 0x80) {
                property.ArrayIndex = b;
            } else if (b < 0xC0) {
                property.ArrayIndex = ((b & 0x3F) << 8) | p.ReadByte(&s);
            } else {
                std::int32_t index = (b & 0x3F) << 24;
                index |= p.ReadByte(&s) << 16;
                index |= p.ReadByte(&s) << 8;
                index |= p.ReadByte(&s);
                property.ArrayIndex = index;
            }
        }
        property.Type = type;
        property.Data.clear();
        switch (type) {
            case kPropByte: property.Data = ReadRaw(p, s, 1); break;
            case kPropInt:
            case kPropFloat: property.Data = ReadRaw(p, s, 4); break;
            case kPropBool: PutInt32(property.Data, arrayBit ? 1 : 0); break;
            case kPropObject:
            case kPropName: PutInt32(property.Data, p.ReadCompactIndex(&s)); break;
            case kPropFixedString: property.Data = ReadRaw(p, s, size); break;
            case kPropString: property.Data = ReadRaw(p, s, p.ReadCompactIndex(&s)); break;
            case kPropStruct:
                if (core::LowerCase(property.StructName) == "pointregion") {
                    PutInt32(property.Data, p.ReadCompactIndex(&s));
                    PutInt32(property.Data, static_cast<std::int32_t>(p.ReadDWord(&s)));
                    PutInt32(property.Data, p.ReadCompactIndex(&s));
                } else {
                    property.Data = ReadRaw(p, s, size);
                }
                break;
            default:
                ReadRaw(p, s, std::min<std::int64_t>(size, 4));
                property.Type = kPropUnknown;
                property.StructName = core::Format("Unknown type 0x%-2.2x, scan stopped", {type});
                property.Valid = true;
                return false;
        }
        property.Valid = true;
        return true;
    } catch (const std::exception&) {
        throw PropertyReadError("Exception reading property " +
                                (nameKnown ? property.Name : std::to_string(nameIndex)));
    }
}

// --- formatting ------------------------------------------------------------------------------

TUTFormattedValue FormatValue(const TUTProperty& property, int subIndex) {
    TUTFormattedValue result;
    if (!property.Valid) {
        result.display = "0";
        result.value = std::string("0");
        return result;
    }
    result.memberName = property.Name;
    result.type = property.Type;
    ByteCursor cursor(property.Data);
    switch (property.Type) {
        case kPropNone: break;
        case kPropByte: {
            const std::uint8_t b = cursor.Byte();
            result.value = std::int64_t{b};
            result.auxiliary = ResolveEnum(property, b);
            result.display = result.auxiliary.empty() ? std::to_string(b) : result.auxiliary;
            break;
        }
        case kPropInt: {
            const std::int32_t v = cursor.Int();
            result.value = std::int64_t{v};
            result.display = std::to_string(v);
            break;
        }
        case kPropBool: {
            const bool v = cursor.Byte() != 0;
            result.value = std::int64_t{v};
            result.display = v ? "True" : "False";
            break;
        }
        case kPropFloat: {
            const double v = cursor.Float();
            result.value = v;
            result.display = FormatFloat(v);
            break;
        }
        case kPropObject: {
            const std::int32_t reference = cursor.Int();
            result.display = property.package ? ObjectText(*property.package, reference) : "None";
            if (reference != 0) result.auxiliary = result.display;
            result.value = result.display;
            break;
        }
        case kPropName: {
            const std::int32_t index = cursor.Int();
            result.display = property.package ? property.package->GetName(index) : "";
            result.auxiliary = result.display;
            result.value = result.display;
            break;
        }
        case kPropFixedString:
        case kPropString: {
            const std::string text = StripTrailingZeros(cursor.Rest());
            result.value = text;
            result.display = TUTPackage::QuoteString(text);
            break;
        }
        case kPropWord: {
            const std::uint16_t v = cursor.Word();
            result.value = std::int64_t{v};
            result.display = std::to_string(v);
            break;
        }
        case kPropStruct: {
            const auto members = StructMembers(property.package, property.StructName, cursor, 0);
            if (subIndex >= 0) {
                if (subIndex < static_cast<int>(members.size())) {
                    return members[static_cast<std::size_t>(subIndex)];
                }
                result = Member("unknown", kPropUnknown, "0", std::int64_t{0});
                return result;
            }
            result.display = WholeStructText(property.StructName, members);
            result.value = result.display;
            break;
        }
        default:
            result.value = property.Data;
            break;
    }
    return result;
}

}  // namespace torvane::unrealpkg
