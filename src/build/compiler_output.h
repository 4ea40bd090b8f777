#pragma once

#include <string>
#include <vector>

namespace torvane::core {
class OutputLog;
}

// What the game's tool prints during "make": package headers, error and warning lines, and
// status lines; and where an error line points.
namespace torvane::build {

enum class CompilerLineKind { Empty, PackageHeader, Error, Warning, Status };

CompilerLineKind ClassifyCompilerLine(const std::string& line);

class CompilerOutput final {
public:
    void Reset(int packageCount);
    // Takes the last entry of the runner's output: an empty one is deleted; any other is logged
    // and classified.
    CompilerLineKind HandleLine(std::vector<std::string>& outputLines, core::OutputLog& log);
    // After the tool ended: the status is emptied and the gauge full.
    void Finish();
    // A failure the IDE found rather than the tool: logged and counted as an error line.
    void AddFailure(const std::string& line, core::OutputLog& log);

    const std::string& packageName() const { return packageName_; }
    const std::string& status() const { return status_; }
    int gauge() const { return gauge_; }
    int gaugeMaximum() const { return gaugeMaximum_; }
    const std::vector<std::string>& errorLines() const { return errorLines_; }
    const std::vector<std::string>& warningLines() const { return warningLines_; }
    // The text after the first error line's ": Error," ("" without errors; the whole line of a
    // failure added by the IDE).
    std::string FirstErrorMessage() const;
    // The configuration file the tool says it reads ("WARNING: Using system ini file: <path>"
    // before the first package header, as the current patch's Linux tool prints); empty when it
    // does not say.
    const std::string& configNamedByTool() const { return configNamedByTool_; }

private:
    std::string packageName_;
    std::string status_;
    int gauge_ = 0;
    int gaugeMaximum_ = 0;
    std::vector<std::string> errorLines_;
    std::vector<std::string> warningLines_;
    std::string configNamedByTool_;
};

// The one line that reports a compile whose tool read another configuration file than the one
// the IDE prepared.
std::string ConfigMismatchLine(const std::string& readByTool, const std::string& prepared);

struct ErrorLocation {
    bool valid = false;  // both "(" and ")" were found
    std::string file;    // as printed: relative, with backslashes
    std::string lineText;
    std::string message;
    std::string className;
};

// file "(" line ")" message; the class is the file's name part without its last 3 characters.
ErrorLocation ParseErrorLine(const std::string& line);

}  // namespace torvane::build
