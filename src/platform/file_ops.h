#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// File operations on native paths. Functions that can fail return false and, when asked, the
// platform's error text; the whole-file readers and writers throw FileError instead.
namespace torvane::platform {

class FileError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The platform's text for an errno value ("No such file or directory").
std::string ErrorText(int errorNumber);

// The process's current directory ("." when it cannot be told).
std::string CurrentDirectory();
// A relative path made absolute from the current directory; an absolute one as it is.
std::string AbsolutePath(std::string_view path);

bool FileExists(std::string_view path);       // a regular file (or a link to one)
bool DirectoryExists(std::string_view path);  // a directory (or a link to one)
// Whether two paths name the same file: the same file on disk when both exist, otherwise the
// same absolute path once links, "." and ".." are resolved.
bool SameFile(std::string_view a, std::string_view b);

// Modification time in seconds since the epoch; nullopt when the file does not exist.
std::optional<std::int64_t> FileModifiedTime(std::string_view path);
bool SetFileModifiedTime(std::string_view path, std::int64_t secondsSinceEpoch);

// Whole-file read; throws FileError with the platform's error text.
std::string ReadWholeFile(std::string_view path);

// Reads many files whole, one after the other, into one buffer kept from file to file: no
// allocation and no clearing per file. Read's view stays valid until the next Read.
class WholeFileReader final {
public:
    WholeFileReader();
    ~WholeFileReader();
    WholeFileReader(WholeFileReader&&) noexcept = default;
    WholeFileReader& operator=(WholeFileReader&&) noexcept = default;
    // Throws FileError with the platform's error text, as ReadWholeFile does.
    std::string_view Read(std::string_view path);

private:
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
};

// Writes bytes to a temporary file beside path and renames it into place, so a reader never sees
// a half-written file. Keeps the permission bits of a file it replaces. A symbolic link is
// followed: its target is replaced and the link stays. A read-only file (no write permission
// bit, or not writable by this process) is refused ("Permission denied"). Throws FileError.
// flushToDisk false leaves the data to the system's write-back (files that can be made again,
// written in large numbers).
void WriteFileAtomic(std::string_view path, std::string_view bytes, bool flushToDisk = true);

// WriteFileAtomic for bytes made piece by piece (the same rules for links and read-only files):
// the pieces go to a temporary file beside path, which Commit flushes to the disk (unless
// flushToDisk is false, as for WriteFileAtomic) and renames into place. Destroyed without Commit, it removes the temporary file and leaves path as
// it was. Throws FileError ("Cannot create file ...").
class AtomicFileWriter final {
public:
    explicit AtomicFileWriter(std::string path, bool flushToDisk = true);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(std::string_view bytes);
    void Commit();

private:
    [[noreturn]] void Fail(int error) const;

    std::string path_;
    std::string target_;  // the file path_ names (a link's target)
    std::string temp_;
    bool flushToDisk_;
    int fd_ = -1;
};

// A file read from its start piece by piece, for large files a reader only walks through once.
// Throws FileError ("Cannot open file ...", "Cannot read file ...").
class FilePieceReader final {
public:
    explicit FilePieceReader(std::string path);
    ~FilePieceReader();
    FilePieceReader(const FilePieceReader&) = delete;
    FilePieceReader& operator=(const FilePieceReader&) = delete;

    std::int64_t Size() const { return size_; }  // when it was opened
    // Reads up to count bytes into buffer; fewer only at the end of the file, 0 there.
    std::size_t Read(char* buffer, std::size_t count);

private:
    std::string path_;
    int fd_ = -1;
    std::int64_t size_ = 0;
};

// Copies source over destination (replacing it atomically, by the rules of WriteFileAtomic).
bool CopyFileOverwrite(std::string_view source, std::string_view destination,
                       std::string* error = nullptr);
// Copies source to destination only when no file of that name exists there: an existing file is
// never replaced (the error is then "File exists"), and the copy appears whole or not at all.
bool CopyFileNoOverwrite(std::string_view source, std::string_view destination,
                         std::string* error = nullptr);
bool DeleteFile(std::string_view path, std::string* error = nullptr);
// Renames or moves a file or directory; an existing destination file is replaced.
bool RenameFile(std::string_view source, std::string_view destination,
                std::string* error = nullptr);
// Creates the directory and any missing parents; true when it exists afterwards.
bool CreateDirectories(std::string_view path, std::string* error = nullptr);
bool RemoveDirectory(std::string_view path, std::string* error = nullptr);

}  // namespace torvane::platform
