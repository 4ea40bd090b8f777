#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/file_ops.h"

namespace torvane::platform {
namespace {

int ExitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

[[noreturn]] void ChildFail(int reportFd) {
    const int e = errno;
    ssize_t ignored = ::write(reportFd, &e, sizeof e);
    (void)ignored;
    ::_exit(127);
}

}  // namespace

pid_t StartProcess(const ProcessSpec& spec, std::string* error) {
    if (spec.argv.empty()) {
        if (error) *error = ErrorText(ENOENT);
        return -1;
    }
    std::vector<char*> argv;
    for (const auto& arg : spec.argv) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    // The child's environment is built before forking: the child only calls exec.
    std::vector<std::string> environment;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool overridden = false;
        for (const auto& [key, value] : spec.environment) overridden = overridden || key == name;
        if (!overridden) environment.push_back(entry);
    }
    for (const auto& [key, value] : spec.environment) environment.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (auto& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        if (error) *error = ErrorText(errno);
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        if (error) *error = ErrorText(errno);
        ::close(report[0]);
        ::close(report[1]);
        return -1;
    }
    if (pid == 0) {
        ::setpgid(0, 0);
        ::signal(SIGPIPE, SIG_DFL);
        if (spec.nullStdin || spec.nullStderr) {
            const int null = ::open("/dev/null", O_RDWR);
            if (null >= 0) {
                if (spec.nullStdin) ::dup2(null, STDIN_FILENO);
                if (spec.nullStderr) ::dup2(null, STDERR_FILENO);
                if (null > STDERR_FILENO) ::close(null);
            }
        }
        if (spec.stdoutFd >= 0 && ::dup2(spec.stdoutFd, STDOUT_FILENO) < 0) ChildFail(report[1]);
        if (!spec.workingDirectory.empty() && ::chdir(spec.workingDirectory.c_str()) != 0) {
            ChildFail(report[1]);
        }
        ::execvpe(argv[0], argv.data(), envp.data());
        ChildFail(report[1]);
    }
    ::setpgid(pid, pid);  // also from the parent, so the group exists before we return
    ::close(report[1]);
    int childErrno = 0;
    ssize_t n = 0;
    do {
        n = ::read(report[0], &childErrno, sizeof childErrno);
    } while (n < 0 && errno == EINTR);
    ::close(report[0]);
    if (n == static_cast<ssize_t>(sizeof childErrno)) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (error) *error = ErrorText(childErrno);
        return -1;
    }
    return pid;
}

bool ProcessRunning(pid_t pid) {
    if (pid <= 0) return false;
    int status = 0;
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    return r == 0;
}

int WaitForProcess(pid_t pid, int timeoutMs) {
    int status = 0;
    if (timeoutMs < 0) {
        while (::waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) return -1;
        }
        return ExitCodeOf(status);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) return ExitCodeOf(status);
        if (r < 0 && errno != EINTR) return -1;
        if (std::chrono::steady_clock::now() >= deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void TerminateProcessGroup(pid_t pid, int graceMs) { TerminateProcessGroups({pid}, graceMs); }

void TerminateProcessGroups(const std::vector<pid_t>& pids, int graceMs) {
    std::vector<pid_t> running;
    for (const pid_t pid : pids) {
        if (pid <= 0) continue;
        if (::kill(-pid, SIGTERM) != 0) ::kill(pid, SIGTERM);
        running.push_back(pid);
    }
    // One grace period for all of them together.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, graceMs));
    std::vector<pid_t> ended;
    while (!running.empty()) {
        std::erase_if(running, [&](pid_t pid) {
            int status = 0;
            const pid_t r = ::waitpid(pid, &status, WNOHANG);
            if (r == 0 || (r < 0 && errno == EINTR)) return false;
            ended.push_back(pid);  // reaped (or not a child of ours any more)
            return true;
        });
        if (running.empty() || std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (const pid_t pid : ended) ::kill(-pid, SIGKILL);  // what they started may still run
    for (const pid_t pid : running) {
        ::kill(-pid, SIGKILL);
        ::kill(pid, SIGKILL);
        WaitForProcess(pid, -1);
    }
}

std::vector<std::string> SplitCommandLine(std::string_view parameters) {
    std::vector<std::string> words;
    std::string current;
    bool inQuotes = false;
    bool haveWord = false;
    for (char c : parameters) {
        if (c == '"') {
            inQuotes = !inQuotes;
            haveWord = true;
        } else if (!inQuotes && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (haveWord) words.push_back(std::move(current));
            current.clear();
            haveWord = false;
        } else {
            current += c;
            haveWord = true;
        }
    }
    if (haveWord) words.push_back(std::move(current));
    return words;
}

std::string FindInPath(std::string_view program) {
    if (program.find('/') != std::string_view::npos) {
        return ::access(std::string(program).c_str(), X_OK) == 0 ? std::string(program) : "";
    }
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string_view rest(path);
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        std::string dir(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (dir.empty()) dir = ".";
        const std::string candidate = dir + "/" + std::string(program);
        if (FileExists(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

}  // namespace torvane::platform
