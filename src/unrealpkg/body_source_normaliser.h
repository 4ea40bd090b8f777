#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Turns the text of a function or state body (as written by hand or as printed by the decompiler)
// into canonical lines, so that two texts meaning the same program compare equal line by line.
//
// What the canonical form forgets:
// - whitespace, comments, letter case outside string literals;
// - parentheses that do not change the expression tree; braces around single statements
//   (`else if` is an `else` block holding an `if`); empty statements;
// - `local` declarations, and function declarations inside state code;
// - a for loop against the while loop it compiles to (the initialisation before it, the step
//   at the end of its body);
// - the spelling of a number (1, 1.0, 1.00 and 0x1 read the same; floats compare as 32-bit
//   values), '' against 'None', trailing skipped arguments, the object path in front of an
//   object literal's own name;
// - what the compiler folds into numbers: names of constants (also through an object) and
//   EnumName.Value are replaced by their values when the caller knows them; `ArrayCount(...)`
//   becomes kArrayCountMarker, which matches any integer (see CanonicalLinesMatch).
namespace torvane::unrealpkg {

inline constexpr std::string_view kArrayCountMarker = "#arraycount#";

struct BodyNormaliseOptions {
    // Lower-case constant name -> its value as written in its declaration.
    std::map<std::string, std::string> constants;
    // Lower-case enum name -> its lower-case value names and their numbers, for the qualified
    // form EnumName.Value (also through an object: P.EInputKey.IK_Tab).
    std::map<std::string, std::map<std::string, int>> enums;
};

class BodySyntaxError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Canonical lines of a body. Throws BodySyntaxError on text it cannot read.
std::vector<std::string> NormaliseBody(std::string_view text, const BodyNormaliseOptions& options = {});

// The text of a body in a class's source: from position (just after the declarations) up to the
// brace that closes the enclosing block, skipping strings and comments.
std::string BodySourceAt(std::string_view classSource, std::size_t position);

// Whether a canonical source line matches a canonical decompiled line (kArrayCountMarker in the
// source line matches any integer).
bool CanonicalLinesMatch(std::string_view sourceLine, std::string_view decompiledLine);

}  // namespace torvane::unrealpkg
