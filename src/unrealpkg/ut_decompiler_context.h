#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "unrealpkg/ut_native_functions.h"

// What the decompiler knows beyond the bytecode: the types of variables and functions (so that
// enum values print as names and conversions print where they matter), the functions a class
// and its parents declare, and the natives. Object references are followed into the packages at
// hand, that is the package files beside the decompiled one (its imports, Core among them).
namespace torvane::unrealpkg {

class TUTPackage;
struct SharedPackage;

enum class ScriptType : std::uint8_t {
    kUnknown, kByte, kInt, kBool, kFloat, kString, kName, kObject, kStruct, kVector, kRotator,
};

struct TypeInfo {
    ScriptType type = ScriptType::kUnknown;
    const std::vector<std::string>* enumValues = nullptr;  // a byte of an enum type
    std::int32_t classRef = 0;        // object types: the class, in classPackage
    TUTPackage* classPackage = nullptr;
};

// An export of a package at hand.
struct ObjectId {
    TUTPackage* package = nullptr;
    int exportIndex = -1;
    bool Valid() const { return package && exportIndex >= 0; }
    bool operator<(const ObjectId& other) const {
        return package != other.package ? package < other.package : exportIndex < other.exportIndex;
    }
    bool operator==(const ObjectId& other) const {
        return package == other.package && exportIndex == other.exportIndex;
    }
};

struct FunctionInfo {
    ObjectId id;
    std::string name;
    std::uint32_t flags = 0;
    std::vector<TypeInfo> parameters;
    std::vector<bool> coerce;  // per parameter: the value converts to its type by itself
    TypeInfo returns;
    ObjectId owner;  // the class or state that declares it
};

class DecompileContext final {
public:
    // Only the package itself: references into other packages stay unresolved, natives come
    // from the fixed table.
    explicit DecompileContext(TUTPackage& package);
    ~DecompileContext();
    DecompileContext(const DecompileContext&) = delete;
    DecompileContext& operator=(const DecompileContext&) = delete;

    // Also opens the packages beside the package's file when a reference leads into them, and
    // takes the natives from Core's (and the imported packages') own declarations. Packages at
    // hand are opened once per program run (again when their file changes) and shared by every
    // context, so that a package export reads Core once.
    static std::unique_ptr<DecompileContext> WithPackagesAtHand(TUTPackage& package);

    TUTPackage& package() const { return package_; }
    const TNativeTable& Natives() const { return natives_ ? *natives_ : TNativeTable::Fixed(); }

    // The export a reference of package names, following an import into a package at hand.
    ObjectId Resolve(TUTPackage& package, std::int32_t reference);

    // Type of a variable (a property object); unknown when it cannot be read.
    const TypeInfo& VariableType(const ObjectId& property);
    // Element type of an array variable (the inner property of a dynamic array).
    TypeInfo ElementType(const ObjectId& property);
    const FunctionInfo* Function(const ObjectId& function);
    // The function of that name that scope (a class or state) or its parents declare. complete,
    // when given, tells whether every parent could be read (a parent in a package not at hand
    // cannot).
    const FunctionInfo* FindFunction(const ObjectId& scope, const std::string& name,
                                     bool* complete = nullptr);
    // SuperField of a struct, resolved.
    ObjectId SuperOf(const ObjectId& structure);
    // The class that holds an object (its outer chain), the object itself for a class.
    ObjectId ClassOf(const ObjectId& object);

    // A package at hand by name (the package itself too), nullptr when there is none.
    TUTPackage* PackageNamed(const std::string& name);

private:
    SharedPackage* SharedAtHand(const std::string& name);
    bool HasSuperField(const ObjectId& structure);
    const std::map<std::string, ObjectId>& Members(const ObjectId& scope);
    TypeInfo TypeOfProperty(const ObjectId& property);

    TUTPackage& package_;
    bool packagesAtHand_ = false;
    std::unique_ptr<TNativeTable> natives_;
    std::map<std::string, std::shared_ptr<TUTPackage>> opened_;  // lower-case name; null: absent
    std::map<std::string, std::string> sharedFiles_;             // lower-case name -> file
    std::map<ObjectId, TypeInfo> variables_;
    std::map<ObjectId, std::unique_ptr<FunctionInfo>> functions_;
    std::map<ObjectId, std::map<std::string, ObjectId>> members_;
    std::map<ObjectId, std::vector<std::string>> enums_;
};

}  // namespace torvane::unrealpkg
