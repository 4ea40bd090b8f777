#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

// Child processes, each started in a process group of its own so that it can be ended with
// everything it started (the Linux stand-in for posting a quit message to the tool's window).
namespace torvane::platform {

struct ProcessSpec {
    std::vector<std::string> argv;  // argv[0] is the program (a path, or a name searched in PATH)
    std::string workingDirectory;   // empty: the caller's
    int stdoutFd = -1;              // -1: inherited
    bool nullStdin = true;          // standard input from /dev/null
    bool nullStderr = false;        // standard error to /dev/null
    std::vector<std::pair<std::string, std::string>> environment;  // variables set for the child
};

// Starts the process; returns its id, or -1 with the platform's error text (also when the
// program cannot be executed).
pid_t StartProcess(const ProcessSpec& spec, std::string* error = nullptr);

// True while the process runs; reaps it when it has ended.
bool ProcessRunning(pid_t pid);

// Waits up to timeoutMs (-1: forever) for the process to end; returns its exit code (128 + signal
// for a signal), or -1 when it still runs.
int WaitForProcess(pid_t pid, int timeoutMs);

// Ends the process group: SIGTERM, then SIGKILL after graceMs, and reaps the process.
void TerminateProcessGroup(pid_t pid, int graceMs = 2000);
// Ends several process groups at once: SIGTERM to all, one grace period for all together, then
// SIGKILL to what still runs; every process is reaped.
void TerminateProcessGroups(const std::vector<pid_t>& pids, int graceMs = 2000);

// Splits a Windows-style parameter string into words: blanks separate, double quotes group.
std::vector<std::string> SplitCommandLine(std::string_view parameters);

// The full path of a program found in PATH, or empty.
std::string FindInPath(std::string_view program);

}  // namespace torvane::platform
