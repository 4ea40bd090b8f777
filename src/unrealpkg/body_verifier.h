#pragma once

#include <ostream>
#include <string>
#include <vector>

// Checks the decompiler against the source text that packages embed: every function and state
// body whose class carries its source is decompiled (structured, loops rebuilt) and compared with
// that source after both are brought to canonical lines (body_source_normaliser.h). Bodies are
// compared without their local declarations.
namespace torvane::unrealpkg {

struct BodyVerifyOptions {
    int differencesShown = 10;  // per package, the first differing bodies with their first line
};

// Prints per package "FILE: compared N, equal E, different D, failed F (P% equal)" followed by
// the first differences, then a total line. Returns 0 when every body decompiled (differences
// do not fail the command), 1 when a package could not be read or a body failed to decompile.
int VerifyPackages(const std::vector<std::string>& files, const BodyVerifyOptions& options,
                   std::ostream& out, std::ostream& err);

}  // namespace torvane::unrealpkg
