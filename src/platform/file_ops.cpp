#include "platform/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <utility>

namespace torvane::platform {
namespace {

bool Fail(std::string* error, int errorNumber) {
    if (error) *error = ErrorText(errorNumber);
    return false;
}

std::string TempNameBeside(const std::string& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    const auto slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "%08llx",
                  static_cast<unsigned long long>(generator() & 0xFFFFFFFFu));
    return dir + "." + name + ".tmp" + suffix;
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file a path names in the end: a symbolic link is followed (a relative target from the
// link's own directory) until a path that is no link; ELOOP after 40 links.
int FinalTarget(const std::string& path, std::string& target) {
    target = path;
    for (int links = 0; links < 40; ++links) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0) return errno;
        link.resize(static_cast<std::size_t>(n));
        if (link.empty() || link[0] != '/') {
            const auto slash = target.find_last_of('/');
            link = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
        }
        target = link;
    }
    return ELOOP;
}

// Creates the temporary file beside the file path names in the end (target: a link's target, so
// that the link stays a link), with that file's permission bits when it exists; errno on failure.
// A file that is read-only (no write permission bit, or one this process may not write) is
// refused with EACCES, as writing into it would be: a rename over it would bypass its protection.
int CreateTempBeside(const std::string& path, std::string& target, std::string& temp, int& fd) {
    if (const int error = FinalTarget(path, target)) return error;
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISREG(st.st_mode) && ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
            return EACCES;
        }
        mode = st.st_mode & 07777;
    }
    temp = TempNameBeside(target);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    return fd < 0 ? errno : 0;
}

// Flushes (when asked) and closes the temporary file and renames it over path; on failure it is
// removed and errno returned.
int FinishTemp(int fd, const std::string& temp, const std::string& path, bool flushToDisk) {
    if (flushToDisk && ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return saved;
    }
    if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        return saved;
    }
    return 0;
}

// Writes to a temporary file beside the file path names and renames it over that file; errno on
// failure.
int ReplaceAtomically(const std::string& path, std::string_view bytes, bool flushToDisk = true) {
    std::string target, temp;
    int fd = -1;
    if (const int error = CreateTempBeside(path, target, temp, fd)) return error;
    if (!WriteAll(fd, bytes)) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return saved;
    }
    return FinishTemp(fd, temp, target, flushToDisk);
}

// Reads a whole file; errno on failure. A regular file is read into a string of its size (one
// allocation, no copies as it grows); the string grows only for a file that grew meanwhile or
// whose size the system does not know (such as those below /proc).
int ReadAll(const std::string& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    if (known && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return EISDIR;
    }
    out.clear();
    std::size_t done = 0;
    // One byte more than the size, so that the end shows without growing the string.
    if (known && S_ISREG(st.st_mode)) out.resize(static_cast<std::size_t>(st.st_size) + 1);
    for (;;) {
        if (done == out.size()) out.resize(out.size() + 65536);
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int saved = errno;
            ::close(fd);
            out.clear();
            return saved;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    ::close(fd);
    return 0;
}

}  // namespace

std::string ErrorText(int errorNumber) { return std::strerror(errorNumber); }

std::string CurrentDirectory() {
    std::error_code ec;
    const std::filesystem::path current = std::filesystem::current_path(ec);
    return ec ? std::string(".") : current.string();
}

std::string AbsolutePath(std::string_view path) {
    if (path.empty() || path[0] == '/') return std::string(path);
    std::string directory = CurrentDirectory();
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory + std::string(path.substr(path.rfind("./", 0) == 0 ? 2 : 0));
}

bool FileExists(std::string_view path) {
    struct stat st {};
    return ::stat(std::string(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameFile(std::string_view a, std::string_view b) {
    namespace fs = std::filesystem;
    const fs::path first{std::string(a)};
    const fs::path second{std::string(b)};
    std::error_code error;
    if (fs::exists(first, error) && fs::exists(second, error)) {
        const bool same = fs::equivalent(first, second, error);
        if (!error) return same;
    }
    const fs::path firstNormal = fs::weakly_canonical(first, error);
    if (error) return first.lexically_normal() == second.lexically_normal();
    const fs::path secondNormal = fs::weakly_canonical(second, error);
    return !error && firstNormal == secondNormal;
}

bool DirectoryExists(std::string_view path) {
    struct stat st {};
    return ::stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::int64_t> FileModifiedTime(std::string_view path) {
    struct stat st {};
    if (::stat(std::string(path).c_str(), &st) != 0) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtime);
}

bool SetFileModifiedTime(std::string_view path, std::int64_t secondsSinceEpoch) {
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(secondsSinceEpoch);
    times[0].tv_nsec = 0;
    times[1] = times[0];
    return ::utimensat(AT_FDCWD, std::string(path).c_str(), times, 0) == 0;
}

std::string ReadWholeFile(std::string_view path) {
    std::string bytes;
    if (const int error = ReadAll(std::string(path), bytes)) {
        throw FileError("Cannot open file \"" + std::string(path) + "\". " + ErrorText(error));
    }
    return bytes;
}

WholeFileReader::WholeFileReader() = default;
WholeFileReader::~WholeFileReader() = default;

std::string_view WholeFileReader::Read(std::string_view path) {
    const std::string name(path);
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    int error = fd < 0 ? errno : 0;
    if (!error && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) error = EISDIR;
    // Sized from the file's length (and one byte more): the read that brings that length ends
    // it, a file that grew meanwhile is read to its new end.
    std::size_t size = 0;
    if (!error) {
        const std::size_t length = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
        const std::size_t wanted = length + 1;
        if (capacity_ < wanted) {
            buffer_ = std::make_unique_for_overwrite<char[]>(wanted);
            capacity_ = wanted;
        }
        for (;;) {
            if (size == capacity_) {
                auto larger = std::make_unique_for_overwrite<char[]>(capacity_ * 2);
                std::memcpy(larger.get(), buffer_.get(), size);
                buffer_ = std::move(larger);
                capacity_ *= 2;
            }
            const ssize_t n = ::read(fd, buffer_.get() + size, capacity_ - size);
            if (n < 0) {
                if (errno == EINTR) continue;
                error = errno;
                break;
            }
            if (n == 0) break;
            size += static_cast<std::size_t>(n);
            if (size == length && length > 0) break;
        }
    }
    if (fd >= 0) ::close(fd);
    if (error) throw FileError("Cannot open file \"" + name + "\". " + ErrorText(error));
    return {buffer_.get(), size};
}

void WriteFileAtomic(std::string_view path, std::string_view bytes, bool flushToDisk) {
    if (const int error = ReplaceAtomically(std::string(path), bytes, flushToDisk)) {
        throw FileError("Cannot create file \"" + std::string(path) + "\". " + ErrorText(error));
    }
}

AtomicFileWriter::AtomicFileWriter(std::string path, bool flushToDisk)
    : path_(std::move(path)), flushToDisk_(flushToDisk) {
    if (const int error = CreateTempBeside(path_, target_, temp_, fd_)) Fail(error);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

void AtomicFileWriter::Write(std::string_view bytes) {
    if (fd_ < 0) throw std::logic_error("AtomicFileWriter used after Commit");
    if (!WriteAll(fd_, bytes)) Fail(errno);
}

void AtomicFileWriter::Commit() {
    if (fd_ < 0) throw std::logic_error("AtomicFileWriter used after Commit");
    const int fd = std::exchange(fd_, -1);
    if (const int error = FinishTemp(fd, temp_, target_, flushToDisk_)) Fail(error);
}

void AtomicFileWriter::Fail(int error) const {
    throw FileError("Cannot create file \"" + path_ + "\". " + ErrorText(error));
}

FilePieceReader::FilePieceReader(std::string path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw FileError("Cannot open file \"" + path_ + "\". " + ErrorText(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd_);
        fd_ = -1;
        throw FileError("Cannot open file \"" + path_ + "\". " + ErrorText(error));
    }
    size_ = static_cast<std::int64_t>(st.st_size);
}

FilePieceReader::~FilePieceReader() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t FilePieceReader::Read(char* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, buffer + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw FileError("Cannot read file \"" + path_ + "\". " + ErrorText(errno));
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool CopyFileOverwrite(std::string_view source, std::string_view destination,
                       std::string* error) {
    std::string bytes;
    if (const int e = ReadAll(std::string(source), bytes)) return Fail(error, e);
    if (const int e = ReplaceAtomically(std::string(destination), bytes)) return Fail(error, e);
    struct stat st {};
    if (::stat(std::string(source).c_str(), &st) == 0) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::utimensat(AT_FDCWD, std::string(destination).c_str(), times, 0);
    }
    return true;
}

bool CopyFileNoOverwrite(std::string_view source, std::string_view destination,
                         std::string* error) {
    std::string bytes;
    if (const int e = ReadAll(std::string(source), bytes)) return Fail(error, e);
    const std::string target(destination);
    if (::access(target.c_str(), F_OK) == 0) return Fail(error, EEXIST);
    // Written beside the target under a temporary name, then linked into place: link() refuses an
    // existing name, so a file that appeared meanwhile is not replaced either.
    const std::string temp = TempNameBeside(target);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(error, errno);
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0 || ::close(fd) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        return Fail(error, saved);
    }
    int linked = ::link(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
    if (linked == EPERM || linked == ENOTSUP || linked == EOPNOTSUPP || linked == EMLINK) {
        // A file system without hard links: renameat2 with RENAME_NOREPLACE does the same.
        linked = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0 ? 0 : errno;
    }
    ::unlink(temp.c_str());
    if (linked != 0) return Fail(error, linked);
    struct stat st {};
    if (::stat(std::string(source).c_str(), &st) == 0) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::utimensat(AT_FDCWD, target.c_str(), times, 0);
    }
    return true;
}

bool DeleteFile(std::string_view path, std::string* error) {
    if (::unlink(std::string(path).c_str()) != 0) return Fail(error, errno);
    return true;
}

bool RenameFile(std::string_view source, std::string_view destination, std::string* error) {
    if (::rename(std::string(source).c_str(), std::string(destination).c_str()) == 0) return true;
    if (errno != EXDEV) return Fail(error, errno);
    // Across file systems: copy, then delete the source.
    if (!CopyFileOverwrite(source, destination, error)) return false;
    return DeleteFile(source, error);
}

bool CreateDirectories(std::string_view path, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(std::string(path)), ec);
    if (DirectoryExists(path)) return true;
    return Fail(error, ec ? ec.value() : ENOTDIR);
}

bool RemoveDirectory(std::string_view path, std::string* error) {
    if (::rmdir(std::string(path).c_str()) != 0) return Fail(error, errno);
    return true;
}

}  // namespace torvane::platform
