#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Byte streams the package reader reads from: the package file and an object's in-memory copy of
// its serial data. Every read is bounds-checked: reading past the end throws StreamError and
// returns no partial value.
namespace torvane::unrealpkg {

class StreamError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TUTStream {
public:
    virtual ~TUTStream() = default;
    // Reads exactly count bytes or throws StreamError ("Stream read error").
    virtual void Read(void* buffer, std::size_t count) = 0;
    virtual void Seek(std::int64_t offset) = 0;  // absolute; throws beyond the end
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Size() const = 0;
    std::int64_t Remaining() const { return Size() - Position(); }
};

// A read-only file, shared with other programs.
class TUTFileStream final : public TUTStream {
public:
    explicit TUTFileStream(const std::string& path);  // throws StreamError naming the file
    ~TUTFileStream() override;
    TUTFileStream(const TUTFileStream&) = delete;
    TUTFileStream& operator=(const TUTFileStream&) = delete;

    void Read(void* buffer, std::size_t count) override;
    void Seek(std::int64_t offset) override;
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return size_; }

private:
    int fd_ = -1;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
};

class TUTMemoryStream final : public TUTStream {
public:
    TUTMemoryStream() = default;
    explicit TUTMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    void Read(void* buffer, std::size_t count) override;
    void Seek(std::int64_t offset) override;
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

    std::vector<std::uint8_t>& bytes() { return bytes_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::int64_t position_ = 0;
};

}  // namespace torvane::unrealpkg
