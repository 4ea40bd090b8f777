#pragma once

#include <string>

// UnrealScript text of a whole class: rebuilt from its compiled form (header, modifiers,
// variables, constants, enums, structs, replication block, functions, states, default
// properties), or its embedded source text followed by the generated default properties.
namespace torvane::unrealpkg {

class ClassLookup;
class DecompileContext;
class TUTObject;
class TUTObjectClassClass;

// "defaultproperties", one "    Name(index)=value" line per default property, "}".
std::string DefaultPropertiesBlock(TUTObject& object);

// The rebuilt class; the default properties block only when the class has any. The modifiers a
// class inherits are left out when its parent is found (in its package or through lookup).
std::string ClassDeclaration(TUTObjectClassClass& object, bool structured, ClassLookup* lookup = nullptr,
                             DecompileContext* context = nullptr);

// The embedded source text plus the default properties block, or, for a class without source
// text, the rebuilt class.
std::string ClassSource(TUTObjectClassClass& object, bool structured, ClassLookup* lookup = nullptr,
                        DecompileContext* context = nullptr);

// ClassSource (structured) written to fileName when it is not empty; throws platform::FileError.
void SaveClassSource(TUTObjectClassClass& object, const std::string& fileName);

}  // namespace torvane::unrealpkg
