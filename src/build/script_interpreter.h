#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace torvane::core {
class EventPump;
class OutputLog;
class Prompter;
}

// The batch script language of the pre- and post-compile scripts and the macro tools: labels and
// jumps, IF, file commands, messages, ASK, nine variables, macros, user tokens, UDP, DEFPROP and
// program runs.
namespace torvane::build {

// Ends a run (shown by the caller in the standard error box).
class ScriptError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The workspace values the macros read.
struct ScriptValues {
    std::string gameRoot;
    std::string project;
    std::string programDirectory;
    std::string instanceKey;
    std::function<int()> errorCount = [] { return 0; };
    std::function<int()> runFlag = [] { return 0; };
    std::function<std::string()> compileMode = [] { return std::string(); };
    std::function<std::time_t()> clock = [] { return std::time(nullptr); };
};

struct ScriptHost {
    core::OutputLog* log = nullptr;
    core::Prompter* prompter = nullptr;  // MESSAGE
    core::EventPump* pump = nullptr;
    // The Ask dialog: shows the question, returns the answer field's text.
    std::function<std::string(const std::string& question)> ask;
    // Opens a program or document through the desktop and waits for it; false when it could not.
    std::function<bool(const std::string& program, const std::string& parameters)> shellOpen;
};

// Eight random numbers from 10 to 31 in two-digit upper-case hexadecimal.
std::string MakeInstanceKey(unsigned seed);

// SplitWord: the first word (quotes switch quoting and are dropped, %" is a literal quote); line
// becomes the rest, trimmed, at most 255 characters.
std::string SplitWord(std::string& line);

class ScriptInterpreter final {
public:
    ScriptInterpreter(ScriptValues values, ScriptHost host);

    // Runs the lines with the token lines ("NAME=value"); returns STOP's number or 0.
    // Throws ScriptError (or shell::ConversionError) when an error ends the run; the current
    // directory is put back in every case.
    int RunScript(const std::vector<std::string>& lines, const std::vector<std::string>& tokens);

    // Exposed for tests.
    std::string ExpandTokens(const std::string& line, const std::vector<std::string>& tokens);
    std::string ExpandMacros(const std::string& line);

private:
    struct Run;
    void Write(const std::string& text);
    void StatementError(Run& run, const std::string& text, bool lowerNo = false);
    bool Jump(Run& run, const std::string& label);
    void Execute(Run& run, const std::string& word, std::string args);
    void If(Run& run, std::string args);
    void Ask(Run& run, std::string args);
    void Del(Run& run, std::string args);
    void CopyOrMove(Run& run, std::string args, bool move);
    void Ren(Run& run, std::string args);
    void ChangeExt(Run& run, std::string args);
    void DefProp(Run& run, std::string args);
    void Program(Run& run);

    ScriptValues values_;
    ScriptHost host_;
};

}  // namespace torvane::build
