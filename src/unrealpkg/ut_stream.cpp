#include "unrealpkg/ut_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace torvane::unrealpkg {
namespace {

constexpr const char* kReadError = "Stream read error";

}  // namespace

TUTFileStream::TUTFileStream(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        throw StreamError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw StreamError("Cannot open file \"" + path + "\". Not a regular file");
    }
    size_ = static_cast<std::int64_t>(st.st_size);
}

TUTFileStream::~TUTFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

void TUTFileStream::Read(void* buffer, std::size_t count) {
    if (count == 0) return;
    if (position_ < 0 || static_cast<std::uint64_t>(Remaining()) < count) throw StreamError(kReadError);
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, out + done, count - done, position_ + static_cast<std::int64_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw StreamError(kReadError);
        done += static_cast<std::size_t>(n);
    }
    position_ += static_cast<std::int64_t>(count);
}

void TUTFileStream::Seek(std::int64_t offset) {
    if (offset < 0 || offset > size_) throw StreamError("Stream seek error");
    position_ = offset;
}

void TUTMemoryStream::Read(void* buffer, std::size_t count) {
    if (count == 0) return;
    if (position_ < 0 || static_cast<std::uint64_t>(Remaining()) < count) throw StreamError(kReadError);
    std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += static_cast<std::int64_t>(count);
}

void TUTMemoryStream::Seek(std::int64_t offset) {
    if (offset < 0 || offset > Size()) throw StreamError("Stream seek error");
    position_ = offset;
}

}  // namespace torvane::unrealpkg
