#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

// torvane-cli script: runs a batch script without windows.
namespace torvane::build {

// tokens are "NAME=VALUE"; ASK reads a line from in; the log and MESSAGE go to out. Exit status
// 0, or 1 (with the message on err) when an error ended the run.
int RunScriptCommand(const std::string& gameRoot, const std::string& projectFile,
                     const std::vector<std::string>& tokens, const std::string& scriptFile,
                     std::istream& in, std::ostream& out, std::ostream& err);

// The same for script lines at hand (a macro tool's one line), without a project;
// programDirectory is %TORVANEPATH%.
int RunScriptLinesCommand(const std::string& gameRoot, const std::string& programDirectory,
                          const std::vector<std::string>& tokens, const std::vector<std::string>& lines,
                          std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace torvane::build
