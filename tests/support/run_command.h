#pragma once

#include <string>

// Runs a shell command line for a test and returns its exit status and standard output.
namespace torvane::testing {

struct CommandResult {
    int exitCode = -1;
    std::string output;
};

CommandResult RunCommand(const std::string& commandLine);

// Single-quotes a word for the shell.
std::string ShellQuote(const std::string& word);

}  // namespace torvane::testing
