#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// torvane-cli compile: the compile pipeline without windows.
namespace torvane::build {

// The same compile as the window's (the project's pre- and post-compile scripts included, with
// the tokens "NAME=value"; ASK reads a line of in). Exit status: 0 without compile errors (also
// when there is nothing to compile), 1 with compile errors, 2 when the pipeline could not run.
// Questions are answered Yes only with yes.
int RunCompileCommand(const std::string& gameRoot, const std::string& projectFile,
                      const std::vector<std::string>& tokens, bool yes, std::istream& in, std::ostream& out,
                      std::ostream& err);

}  // namespace torvane::build
