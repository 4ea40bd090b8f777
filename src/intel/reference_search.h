#pragma once

#include <functional>
#include <string>
#include <vector>

#include "intel/code_walker.h"

// Find references: every place in the sources that names what a target stands for.
namespace torvane::intel {

struct Reference {
    const IndexedClass* cls = nullptr;
    std::string file;
    Use use;
    std::string lineText;  // the line's text without its line end
};

// The text of a class's source (an editor's text when it is open); throws platform::FileError.
using SourceTextOf = std::function<std::string(const IndexedClass&)>;
// Reads the file.
std::string ReadSourceText(const IndexedClass& cls);

// Every use of target in the sources of the index, in index order and then text order. A
// function's references take in the functions that override it (the same name in a sub-class,
// or in a state of one), since a call of one may run another; their declarations are listed as
// well. A class's source that cannot be read is passed over and named in unreadable.
std::vector<Reference> FindReferences(const SymbolIndex& index, const Target& target, const SourceTextOf& textOf,
                                      std::vector<std::string>* unreadable = nullptr);

// "path(line): text", the form find in files prints.
std::string ReferenceLine(const Reference& reference);
// The lines of references, a line that holds several of them once.
std::vector<std::string> ReferenceLines(const std::vector<Reference>& references);

}  // namespace torvane::intel
