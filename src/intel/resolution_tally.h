#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "intel/reference_search.h"

// How much of a package's code name resolution explains: every name of function bodies and
// state code counted as resolved or not, the unresolved ones grouped by cause.
namespace torvane::intel {

struct ResolutionTally {
    std::size_t calls = 0;             // names followed by '(' (calls and casts)
    std::size_t callsResolved = 0;
    std::size_t names = 0;             // other names in code (variables, constants, enum values, classes)
    std::size_t namesResolved = 0;
    struct Miss {
        std::string place;  // "path(line)"
        std::string name;
    };
    // By cause, with the class names in it kept (the listing shows what each one is).
    std::map<std::string, std::vector<Miss>> unresolved;

    void Add(const ResolutionTally& other);
};

// The tally of the sources of one class.
ResolutionTally TallyClass(const SymbolIndex& index, const IndexedClass& cls, const std::string& text);

// The cause with the names in it replaced by "*" ("no member of that name in *'s chain"), so that
// the causes group.
std::string CauseKind(const std::string& cause);

}  // namespace torvane::intel
