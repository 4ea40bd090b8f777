#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Tagged property values of objects and class defaults, and their display text.
namespace torvane::unrealpkg {

class TUTObject;
class TUTPackage;
class TUTStream;

// Type codes of property tags and values.
enum TUTPropertyType : std::int32_t {
    kPropNone = 0,
    kPropByte = 1,
    kPropInt = 2,
    kPropBool = 3,
    kPropFloat = 4,
    kPropObject = 5,
    kPropName = 6,
    kPropFixedString = 7,
    kPropClass = 8,
    kPropArray = 9,
    kPropStruct = 10,
    kPropString = 13,
    kPropMap = 14,
    kPropFixedArray = 15,
    kPropUnknown = 256,
    kPropWord = 257,
};

using TUTValue = std::variant<std::int64_t, double, std::string, std::vector<std::uint8_t>>;

// The value as text ("" for byte arrays).
std::string ValueText(const TUTValue& value);

struct TUTProperty {
    bool Valid = false;
    TUTPackage* package = nullptr;
    TUTObject* owner = nullptr;
    std::string Name;
    std::int32_t ArrayIndex = -1;
    std::int32_t Type = kPropNone;
    std::vector<std::uint8_t> Data;
    std::string StructName;  // struct name, or the stop message of type 256
};

class TUTPropertyList final {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TUTProperty* Get(int index) const;  // nullptr when out of range
    TUTProperty& Add();
    void Clear() { items_.clear(); }
    TUTProperty* FindByName(std::string_view name) const;
    // Unindexed properties named in the array-name list, or occurring more than once, get 0.
    void FixArrayIndices();
    // The formatted value's variant; integer 0 (or fallback) when the name is absent.
    TUTValue GetValue(std::string_view name) const;
    TUTValue GetValue(std::string_view name, const TUTValue& fallback) const;

private:
    std::vector<std::unique_ptr<TUTProperty>> items_;
};

struct TUTFormattedValue {
    std::string memberName;
    std::int32_t type = kPropNone;
    std::string display;
    std::string auxiliary;
    TUTValue value = std::int64_t{0};
};

// subIndex -1 formats the whole value; 0, 1, 2 ... one member of a struct value.
TUTFormattedValue FormatValue(const TUTProperty& property, int subIndex = -1);

// Reads one tag into property from stream; false when the list ends ("None" or an unknown type).
// Errors come out as "Exception reading property <name>".
bool ReadPropertyTag(TUTPackage& package, TUTProperty& property, TUTStream& stream);

// Names always treated as array elements (lower case).
bool IsArrayName(std::string_view name);

}  // namespace torvane::unrealpkg
