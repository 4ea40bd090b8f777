#pragma once

#include <functional>
#include <string>

// Where the program's own files live. The program directory is the executable's; when it cannot
// be written (an installed copy under /usr), the files go to $XDG_DATA_HOME/Torvane (default
// ~/.local/share/Torvane), created on first use.
namespace torvane::shell {

struct ProgramPaths {
    std::string programDirectory;  // the executable's directory (%TORVANEPATH%)
    std::string dataDirectory;     // where Torvane.ini, Torvane.log, EdData.dat ... are kept

    std::string File(const std::string& name) const { return dataDirectory + "/" + name; }
};

ProgramPaths ResolveProgramPaths(const std::string& executablePath);
// The same with the writability test given (tests).
ProgramPaths ResolveProgramPaths(const std::string& executablePath,
                                 const std::function<bool(const std::string&)>& writable);

}  // namespace torvane::shell
