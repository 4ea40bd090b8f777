#pragma once

#include <ostream>
#include <string>

// torvane-cli symbols, def and refs: the symbol index and name resolution without windows.
namespace torvane::intel {

struct IntelCommandOptions {
    std::string gameRoot;
    std::string cacheDirectory;  // where "Symbols.ucd" is read and written; empty: none
};

// Indexes the game; prints every symbol (or only those of one class) as
// "path(line): kind Class.member: declaration", then one line of counts.
int RunSymbols(const IntelCommandOptions& options, const std::string& className, std::ostream& out,
               std::ostream& err);

// Prints where the name at file, line, column (from 1; a tab is one column) is declared as
// "path(line): text"; 1 with a line on err when there is no name there or it is not resolved.
int RunDefinition(const IntelCommandOptions& options, const std::string& file, int line, int column,
                  std::ostream& out, std::ostream& err);

// Prints every reference of "Class.Member" (or of a class, "Class") as "path(line): text".
int RunReferences(const IntelCommandOptions& options, const std::string& name, std::ostream& out, std::ostream& err);

}  // namespace torvane::intel
