#include "unrealpkg/ut_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace torvane::unrealpkg {
namespace {

constexpr const char* kReadError = "Stream read error";

// Closes the descriptor on every path out of ReadPackageFile.
class FileDescriptor final {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reads up to count bytes; fewer only at the end of the file.
std::size_t ReadUpTo(int fd, std::uint8_t* buffer, std::size_t count, const std::string& path) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd, buffer + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw StreamError("Cannot read file \"" + path + "\". " + std::strerror(errno));
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

TUTBytes CopyOf(const std::vector<std::uint8_t>& bytes) {
    auto data = std::make_shared_for_overwrite<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.get());
    return {std::move(data), bytes.size()};
}

bool SameFileState(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

}  // namespace

TUTBytes ReadPackageFile(const std::string& path) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        throw StreamError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    }
    struct stat before {};
    if (::fstat(fd.get(), &before) != 0 || !S_ISREG(before.st_mode)) {
        throw StreamError("Cannot open file \"" + path + "\". Not a regular file");
    }
    const auto size = static_cast<std::size_t>(before.st_size);
    auto data = std::make_shared_for_overwrite<std::uint8_t[]>(size);  // the read fills it
    const std::size_t read = ReadUpTo(fd.get(), data.get(), size, path);
    std::uint8_t beyond = 0;
    struct stat after {};
    if (read != size || ReadUpTo(fd.get(), &beyond, 1, path) != 0 ||
        ::fstat(fd.get(), &after) != 0 || !SameFileState(before, after)) {
        throw StreamError("The file changed while it was read");
    }
    return {std::move(data), size};
}

TUTStream::TUTStream(const std::vector<std::uint8_t>& bytes) : TUTStream(CopyOf(bytes)) {}

TUTStream::TUTStream(TUTBytes bytes) : bytes_(std::move(bytes.data)), begin_(bytes_.get()),
                                       size_(bytes_ ? bytes.size : 0) {}

TUTStream::TUTStream(TUTBytes bytes, std::int64_t offset, std::int64_t size)
    : bytes_(std::move(bytes.data)) {
    const std::int64_t available = bytes_ ? static_cast<std::int64_t>(bytes.size) : 0;
    if (offset < 0 || size < 0 || offset > available || size > available - offset) ReadPastTheEnd();
    if (size > 0) begin_ = bytes_.get() + offset;
    size_ = static_cast<std::size_t>(size);
}

void TUTStream::Seek(std::int64_t offset) {
    if (offset < 0 || offset > Size()) throw StreamError("Stream seek error");
    position_ = static_cast<std::size_t>(offset);
}

void TUTStream::ReadPastTheEnd() { throw StreamError(kReadError); }

}  // namespace torvane::unrealpkg
