#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Byte streams the package reader reads from: a package file, read into memory once, and an
// export's serial data, a view of those bytes. Every read is bounds-checked: reading past the end
// throws StreamError and returns no partial value.
namespace torvane::unrealpkg {

class StreamError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bytes shared by a package and the streams that view parts of them.
struct TUTBytes {
    std::shared_ptr<const std::uint8_t[]> data;
    std::size_t size = 0;
};

// Reads a whole package file with one read. The file is open only during that read; a file that
// shrinks, grows or is rewritten meanwhile is refused. Throws StreamError naming the file.
TUTBytes ReadPackageFile(const std::string& path);

class TUTStream {
public:
    TUTStream() = default;
    explicit TUTStream(const std::vector<std::uint8_t>& bytes);  // a copy of bytes
    // The whole of bytes, or the part [offset, offset + size); a part outside them throws
    // StreamError ("Stream read error").
    explicit TUTStream(TUTBytes bytes);
    TUTStream(TUTBytes bytes, std::int64_t offset, std::int64_t size);

    // Reads exactly count bytes or throws StreamError ("Stream read error").
    void Read(void* buffer, std::size_t count) {
        if (count > size_ - position_) ReadPastTheEnd();
        if (count == 0) return;
        std::memcpy(buffer, begin_ + position_, count);
        position_ += count;
    }
    std::uint8_t ReadByte() {
        if (position_ >= size_) ReadPastTheEnd();
        return begin_[position_++];
    }
    void Seek(std::int64_t offset);  // absolute; throws beyond the end
    std::int64_t Position() const { return static_cast<std::int64_t>(position_); }
    std::int64_t Size() const { return static_cast<std::int64_t>(size_); }
    std::int64_t Remaining() const { return static_cast<std::int64_t>(size_ - position_); }

private:
    [[noreturn]] static void ReadPastTheEnd();

    std::shared_ptr<const std::uint8_t[]> bytes_;
    const std::uint8_t* begin_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
};

// An export's serial data, or bytes a tool or test hands to the readers.
class TUTMemoryStream final : public TUTStream {
public:
    using TUTStream::TUTStream;
};

}  // namespace torvane::unrealpkg
