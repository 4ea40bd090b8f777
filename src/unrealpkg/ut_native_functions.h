#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>

// The native functions and operators that compiled code calls by number.
namespace torvane::unrealpkg {

enum TNativeKind : std::uint8_t { kFunction = 0, kPreOperator = 1, kPostOperator = 2, kBinaryOperator = 3 };

class TUTPackage;
class TUTExportTableObjectData;

struct TNativeFunction {
    std::int32_t index;
    std::uint8_t kind;
    std::uint8_t precedence;
    const char* name;
    TUTPackage* package = nullptr;  // where it is declared, when it comes from a declaration
    int exportIndex = -1;
};

// The first record with the native index, or nullptr.
const TNativeFunction* FindNativeFunction(std::int32_t index);
// All records in table order.
const TNativeFunction* NativeFunctions(std::size_t* count);

// The natives a package's code may call: the fixed table above, replaced and extended by the
// native function declarations of packages at hand (Core and the other packages a package
// imports), which know the natives of the game release that built them.
class TNativeTable final {
public:
    // withFixedRecords false: an empty table, for the declarations of one package.
    explicit TNativeTable(bool withFixedRecords = true);
    // Every native function of the package with a native index; index, name (the declared
    // name, so "$=" for an operator), kind and precedence come from the declaration. A function
    // that cannot be read is left out.
    void AddDeclarations(TUTPackage& package);
    const TNativeFunction* Find(std::int32_t index) const;
    // The records of other replace those of the same index.
    void Merge(const TNativeTable& other);

    // The table of the fixed records only.
    static const TNativeTable& Fixed();

private:
    void AddDeclaration(TUTPackage& package, TUTExportTableObjectData& entry);

    std::unordered_map<std::int32_t, TNativeFunction> byIndex_;
    std::deque<std::string> names_;  // names of declared natives, kept stable
};

}  // namespace torvane::unrealpkg
