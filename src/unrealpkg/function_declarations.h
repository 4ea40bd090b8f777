#pragma once

#include <string>

// UnrealScript text of functions and states: modifiers, parameters, return type, locals and the
// decompiled body; a state's declarations, ignored functions, functions and code.
namespace torvane::unrealpkg {

class DecompileContext;
class TUTObjectClassFunction;
class TUTObjectClassState;
class TUTObjectClassStruct;

// The whole function with its locals and body (structured or with labelled gotos), or the header
// followed by ";" when it has no body. Never throws: a member that cannot be read ends the
// parameters; bytecode that cannot be decompiled keeps the statements made before it and says
// why in a comment before the closing brace.
std::string FunctionDeclaration(TUTObjectClassFunction& function, bool structured,
                                DecompileContext* context = nullptr);

// "state Name", its declarations, "ignores ...;", its functions and its labelled code.
std::string StateDeclaration(TUTObjectClassState& state, bool structured, DecompileContext* context = nullptr);

// Cuts the last line of text (one ending in CR LF: the line before that line break's start).
std::string WithoutLastLine(const std::string& text);

}  // namespace torvane::unrealpkg
