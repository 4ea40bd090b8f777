#pragma once

#include <ostream>
#include <string>

// torvane-cli compile: the compile pipeline without windows.
namespace torvane::build {

// Exit status: 0 without compile errors (also when there is nothing to compile), 1 with
// compile errors, 2 when the pipeline could not run. Questions are answered Yes only with yes.
int RunCompileCommand(const std::string& gameRoot, const std::string& projectFile, bool yes,
                      std::ostream& out, std::ostream& err);

}  // namespace torvane::build
