#include "build/console_app.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/format.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/process.h"
#include "platform/tool_command.h"

namespace torvane::build {
namespace {

constexpr std::size_t kReadSize = 257;
constexpr std::size_t kLineLimit = 256;
constexpr std::uint32_t kStillActive = 259;

std::string Extension(const std::string& file) {
    const std::string name = platform::FileNamePart(file);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : core::UpperCase(name.substr(dot));
}

// The program lookup: a path is checked as it stands; a bare name is looked for in the current
// directory first (any letter case), then along PATH; a name without extension is tried with
// ".exe" appended as well. The full path found, or "" when there is none.
std::string SearchProgram(const std::string& file) {
    auto exists = [](const std::string& candidate) -> std::string {
        const std::string resolved = platform::ResolvePath(candidate);
        if (platform::FileExists(resolved)) return platform::AbsolutePath(resolved);
        const bool bare = candidate.find('/') == std::string::npos && candidate.find('\\') == std::string::npos;
        return bare ? platform::FindInPath(candidate) : std::string();
    };
    std::string found = exists(file);
    if (found.empty() && Extension(file).empty()) found = exists(file + ".exe");
    return found;
}

[[noreturn]] void Unsupported() { throw ConsoleError("Executable image is not a supported type"); }

std::vector<std::string> WithParameters(std::vector<std::string> command, const std::string& parameters) {
    for (auto& word : platform::SplitCommandLine(parameters)) command.push_back(std::move(word));
    return command;
}

}  // namespace

ExecutableInfo GetExecutableKind(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw ConsoleError(platform::ErrorText(errno));
    auto readAt = [&](off_t offset, void* buffer, std::size_t count) {
        const ssize_t n = ::pread(fd, buffer, count, offset);
        if (n != static_cast<ssize_t>(count)) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            throw ConsoleError(platform::ErrorText(error));
        }
    };
    unsigned char header[64];
    readAt(0, header, sizeof header);
    if (header[0] != 'M' || header[1] != 'Z') {
        ::close(fd);
        throw ConsoleError("Dos signature not present");
    }
    const std::uint32_t offset = header[60] | (header[61] << 8) | (header[62] << 16) |
                                 (static_cast<std::uint32_t>(header[63]) << 24);
    unsigned char signature[4];
    readAt(offset, signature, sizeof signature);
    const int sig = signature[0] | (signature[1] << 8);
    ExecutableInfo info;
    if (sig == 0x454C) {
        info.kind = ExecutableKind::Le;
    } else if (sig == 0x454E) {
        unsigned char target = 0;
        readAt(static_cast<off_t>(offset) + 54, &target, 1);
        info.kind = target == 1 ? ExecutableKind::Os2 : target == 2 ? ExecutableKind::Win16 : ExecutableKind::OtherNe;
    } else if (sig == 0x4550) {
        unsigned char fileHeader[20];
        readAt(static_cast<off_t>(offset) + 4, fileHeader, sizeof fileHeader);
        const int characteristics = fileHeader[18] | (fileHeader[19] << 8);
        if ((characteristics & 0x0002) == 0) {
            ::close(fd);
            throw ConsoleError("File is not executable");
        }
        if (characteristics & 0x2000) {
            info.kind = ExecutableKind::Win32Dll;
        } else {
            unsigned char optional[224];
            readAt(static_cast<off_t>(offset) + 24, optional, sizeof optional);
            info.kind = ExecutableKind::Win32;
            info.subsystem = optional[68] | (optional[69] << 8);
        }
    } else {
        info.kind = ExecutableKind::Dos;
    }
    ::close(fd);
    return info;
}

std::vector<std::string> BuildCommand(const std::string& file, const std::string& parameters) {
    const std::string extension = Extension(file);
    if (extension == ".BAT" || extension == ".CMD") {
        // Batch files: a shell script runs as it is; a Windows batch file through wine's cmd.
        // Not searched for: the name as given, from the current directory when it has no path.
        const std::string path = platform::AbsolutePath(platform::ResolvePath(file));
        if (platform::SniffProgramFile(path) == platform::ProgramFileKind::Script) {
            return WithParameters({path}, parameters);
        }
        const std::string wine = platform::FindInPath("wine");
        if (wine.empty()) Unsupported();
        return WithParameters({wine, "cmd", "/c", path}, parameters);
    }
    if (!extension.empty() && extension != ".EXE" && extension != ".COM" && extension != ".SH") {
        throw ConsoleError(core::Format("%s has invalid file extension", {file}));
    }
    const std::string found = SearchProgram(file);
    if (found.empty()) throw ConsoleError(core::Format("Could not find file %s", {file}));
    switch (platform::SniffProgramFile(found)) {
        case platform::ProgramFileKind::Native:
        case platform::ProgramFileKind::Script: return WithParameters({found}, parameters);
        case platform::ProgramFileKind::Unknown: Unsupported();
        case platform::ProgramFileKind::WindowsImage: break;
    }
    if (extension == ".COM") Unsupported();
    const ExecutableInfo info = GetExecutableKind(found);
    if (info.kind != ExecutableKind::Win32 || info.subsystem != 3) Unsupported();
    const std::string wine = platform::FindInPath("wine");
    if (wine.empty()) Unsupported();
    return WithParameters({wine, found}, parameters);
}

// Line rules: a carriage return delivers the buffered text (a line of its own when the new-line
// flag is set, else replacing the last one); a line feed after a carriage return sets the flag;
// a line feed on its own (as Linux tools end lines) delivers the text and sets the flag, as a
// carriage return and line feed would. 256 characters without a line end are delivered as a
// line; the rest of such a line replaces that entry when the line ends.
void LineAssembler::Feed(const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const char c = bytes[i];
        if (c == '\n') {
            if (!afterCarriageReturn_) Deliver();
            newLine_ = true;
            afterCarriageReturn_ = false;
            continue;
        }
        afterCarriageReturn_ = c == '\r';
        if (c == '\r') {
            Deliver();
            continue;
        }
        buffer_ += c;
        if (buffer_.size() >= kLineLimit) {
            newLine_ = true;
            Deliver();
        }
    }
}

void LineAssembler::Finish() { Deliver(); }

void LineAssembler::Deliver() {
    if (newLine_ || output_.empty()) {
        output_.push_back(buffer_);
    } else {
        output_.back() = buffer_;
    }
    newLine_ = false;
    buffer_.clear();
    if (callback_) callback_(output_);
}

std::uint32_t RunConsoleProgram(const std::string& file, const std::string& parameters,
                                std::vector<std::string>& output, const LineCallback& callback,
                                const RunOptions& options) {
    const std::vector<std::string> command = BuildCommand(file, parameters);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw ConsoleError(platform::ErrorText(errno));
    platform::ProcessSpec spec;
    spec.argv = command;
    spec.workingDirectory = options.workingDirectory;
    spec.stdoutFd = pipeFds[1];
    spec.nullStdin = true;
    spec.nullStderr = true;
    spec.environment = options.environment;
    std::string error;
    const pid_t pid = platform::StartProcess(spec, &error);
    ::close(pipeFds[1]);
    if (pid < 0) {
        ::close(pipeFds[0]);
        throw ConsoleError(error);
    }
    if (options.started) options.started(pid);
    LineAssembler lines(output, callback);
    char buffer[kReadSize];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        lines.Feed(buffer, static_cast<std::size_t>(n));
    }
    const int code = platform::WaitForProcess(pid, 5000);
    lines.Finish();
    ::close(pipeFds[0]);
    return code < 0 ? kStillActive : static_cast<std::uint32_t>(code);
}

}  // namespace torvane::build
