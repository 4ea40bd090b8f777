#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "intel/symbol_index.h"

namespace torvane::platform {
class GameInstall;
}

// Fills the symbol index from the game: the sources of every package, and for a package without
// sources the classes of its compiled file.
namespace torvane::intel {

// The packages in the order the class trees scan them: Core, then every EditPackages entry (each
// name once, without regard to case).
std::vector<std::string> ScanOrder(const std::vector<std::string>& editPackages);

// The unit of one source file read from its text.
IndexUnit SourceUnit(std::string path, std::string package, std::string_view text, FileStamp stamp);

// The class the index holds for a source file, the path spelt as the index spells it or not
// (another case, "." or ".." parts); nullptr when it holds none.
const IndexedClass* ClassOfSourceFile(const SymbolIndex& index, const std::string& path);

// An editor's text in place of what the index read for its file: parsed, put in the file's unit
// (keeping its package; packageHint for a file the index does not hold yet), and linked. The
// unit carries no file stamp, so it is never cached and the next refresh reads the file again.
// Returns the class the text declares.
const IndexedClass* IndexSourceText(SymbolIndex& index, const std::string& path, std::string_view text,
                                    const std::string& packageHint);

struct IndexRefresh {
    int filesRead = 0;        // sources read (new or changed)
    int packagesRead = 0;     // compiled packages read (new or changed)
    int unitsKept = 0;        // unchanged since the index had them
    int unitsRemoved = 0;     // sources or packages that are gone
    std::vector<std::string> errors;  // files that could not be read, with the reason
};

// Brings the index up to date with the game: a source whose size or time changed is read again,
// a new one is added, a vanished one dropped; the classes of a package's compiled file that have
// no source (all of them for a package without a "Classes" folder) are read from that file. A file that cannot be read is named in errors and left out. Links the index.
IndexRefresh RefreshFromGame(SymbolIndex& index, const platform::GameInstall& install,
                             const std::vector<std::string>& editPackages);

}  // namespace torvane::intel
