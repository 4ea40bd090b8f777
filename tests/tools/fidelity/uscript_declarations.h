#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

// The declarations of one UnrealScript class, read from its source text and normalised so that
// two texts meaning the same declarations compare equal:
// - comments, "#exec" lines, blank lines and all spacing are ignored, and so are function and
//   state bodies (only signatures are compared);
// - letter case is ignored everywhere except inside string literals (the language ignores it);
// - "expands" reads as "extends", "intrinsic" as "native", "event" as "function" (an override
//   inherits the event flag of the function it overrides, so the compiled form cannot tell);
// - modifier words are compared as sets, in any order; "config(System)" reads as "config";
// - a comma after an enum's last value is ignored;
// - "var()" and "var(<the class's own name>)" are the same (the compiler stores the class name);
// - a static array's size written as a constant of the class, or as ArrayCount of an array
//   declared before, reads as its value;
// - a function declared without a body inside a state reads as ignored there;
// - "var enum E {...} X;" and "var struct S {...} X;" declare the type and the variable apart;
// - replication conditions are compared by their operations: parentheses that the operators'
//   precedence makes redundant do not count; for variables the reliability word is dropped (a
//   compiled package does not record it);
// - default values: numbers compare by value (to six significant digits), object references by
//   class and object name without the package, struct values member by member; a name may be
//   quoted or not; a default equal to the type's empty value (0, "", False, None, an enum's first
//   value, a struct of those) is left out, as the compiler stores none for it.
namespace torvane::fidelity {

// One category of declarations: the key (usually the name) and the normalised declaration.
using Declarations = std::map<std::string, std::string>;

struct ClassDeclarations {
    std::string header;  // "class <name> extends <super> within <x>"
    std::set<std::string> modifiers;  // "abstract", "config(user)", "guid(...)" ...
    Declarations variables;
    Declarations constants;
    Declarations enums;
    Declarations structs;
    Declarations functions;  // key: name and parameter types (operators overload)
    Declarations states;     // header, ignored functions and function signatures
    Declarations replication;
    Declarations defaults;
    bool hasDefaults = false;  // the text has a defaultproperties block
};

// firstEnumValues: the first value names of every enum known (lower case), the empty value of a
// variable of that enum.
ClassDeclarations ReadClassDeclarations(std::string_view source, const std::set<std::string>& firstEnumValues = {});

// Leaves out the modifiers that say nothing new: the inheritable ones (transient, safereplace,
// perobjectconfig, config with the same file) that the parent class has, and "config" of a class
// with configurable variables (the compiler adds it then).
void DropImpliedModifiers(ClassDeclarations& declarations, std::uint32_t parentFlags,
                          const std::string& parentConfigName);

}  // namespace torvane::fidelity
