#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <vector>

// Runs one console program hidden, hands its standard output to the caller line by line while
// it runs, and returns its exit code. Standard input and standard error are not connected.
namespace torvane::build {

class ConsoleError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ExecutableKind { Win32, Win32Dll, Dos, Os2, Win16, OtherNe, Le };

struct ExecutableInfo {
    ExecutableKind kind = ExecutableKind::Dos;
    int subsystem = 0;  // Win32 only
};

// Classifies a Windows image from its headers; throws ConsoleError ("Dos signature not
// present", "File is not executable", or the platform's error text).
ExecutableInfo GetExecutableKind(const std::string& path);

using LineCallback = std::function<void(std::vector<std::string>& output)>;

struct RunOptions {
    std::string workingDirectory;  // empty: the caller's
    std::vector<std::pair<std::string, std::string>> environment;  // set for the child
    // Told the child's process id once it runs (to end it on Cancel).
    std::function<void(pid_t)> started;
};

// The command that runs a program file on this platform, by the extension and kind rules.
// Throws ConsoleError with the runner's messages.
std::vector<std::string> BuildCommand(const std::string& file, const std::string& parameters);

// Appends or replaces lines of output (see the line rules in console_app.cpp) and calls
// callback after each delivered line. Throws ConsoleError before anything runs.
std::uint32_t RunConsoleProgram(const std::string& file, const std::string& parameters,
                                std::vector<std::string>& output, const LineCallback& callback,
                                const RunOptions& options = {});

// The line assembly on its own, fed with the bytes a program writes.
class LineAssembler final {
public:
    LineAssembler(std::vector<std::string>& output, const LineCallback& callback)
        : output_(output), callback_(callback) {}
    void Feed(const char* bytes, std::size_t count);
    void Finish();  // the last delivery, always made

private:
    void Deliver();

    std::vector<std::string>& output_;
    const LineCallback& callback_;
    std::string buffer_;
    bool newLine_ = true;
    bool afterCarriageReturn_ = false;
};

}  // namespace torvane::build
