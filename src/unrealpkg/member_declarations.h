#pragma once

#include <cstdint>
#include <functional>
#include <string>

// UnrealScript text of the members of a class, state or struct: enums, constants, variables with
// their modifiers and types, and structs. Every writer needs its object read and parsed; objects
// it visits on the way (members, inner types) are read and released again.
namespace torvane::unrealpkg {

class TUTObject;
class TUTObjectClassConst;
class TUTObjectClassEnum;
class TUTObjectClassProperty;
class TUTObjectClassStruct;
class TUTPackage;

// The own name of a referenced object (the last part of its path).
std::string OwnName(const TUTPackage& package, std::int32_t reference);

// Calls visit with each object of the chain that starts at first and follows each field's Next,
// read and parsed for the call. The walk ends at a reference that is not an export of this package,
// at an object that is not a field, when visit returns false, and at an object seen before
// (a damaged chain that loops).
void WalkFieldChain(TUTPackage& package, std::int32_t first, const std::function<bool(TUTObject&)>& visit);

// The type as written in a declaration ("int", "array<Actor>", "class<Weapon>", ...).
std::string TypeText(TUTObjectClassProperty& property);
// "(Category) ", the flag words each followed by a blank, "private " for a non-public one.
std::string PropertyModifiers(TUTObjectClassProperty& property, const std::string& ownerName);
// prefix, modifiers, type and name, then "[n]" for a static array: "var() int Count".
std::string PropertyDeclaration(TUTObjectClassProperty& property, const std::string& prefix,
                                const std::string& ownerName);
// "enum Name {", one value per line, "}" (no line break after the brace).
std::string EnumDeclaration(TUTObjectClassEnum& object);
// "const Name=value".
std::string ConstDeclaration(TUTObjectClassConst& object);
// "struct Name [expands Super]", the member variables and enums, "}".
std::string StructDeclaration(TUTObjectClassStruct& object);

}  // namespace torvane::unrealpkg
