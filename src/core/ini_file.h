#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

// INI files read and written key by key, with the semantics of the Windows profile-string
// functions: sections and keys are found without regard to case, a missing file reads as the
// defaults, the first write creates the file, writing a key changes only that key's line (or
// inserts it after the last line of its section, or appends the section), and every other line
// keeps its bytes, its line end and its place. Lines the writer adds end with CR LF.
//
// Values are taken as they stand between the '=' and the line end, blanks trimmed; quotes are
// not removed. Only the first section of a name and the first key of a name in it count.
namespace torvane::core {

// A comment, as the game reads its configuration: the first non-blank character is ';' or '!'.
// A comment is never a key, and is kept byte for byte when the file is rewritten.
bool IsIniCommentLine(std::string_view line);

// The section a header line opens, as the reader takes it: the first non-blank character is '[',
// the name runs to the first ']' (or the line end), blanks around it trimmed ("[ Tools ] ; x" is
// "Tools"). nullopt when the line is no header.
std::optional<std::string_view> IniSectionName(std::string_view line);

class IniDocument final {
public:
    IniDocument() = default;
    static IniDocument FromBytes(std::string_view bytes);
    // A missing file gives an empty document; other read failures throw platform::FileError.
    static IniDocument Load(std::string_view path);

    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    // Key names of a section in file order, as written.
    std::vector<std::string> Keys(std::string_view section) const;
    std::vector<std::string> Sections() const;

    // Line breaks inside value are replaced by blanks so that the file keeps its shape.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    void RemoveKey(std::string_view section, std::string_view key);
    void RemoveSection(std::string_view section);

    std::string ToBytes() const;
    // Writes the document atomically (temporary file renamed into place).
    void Save(std::string_view path) const;

private:
    // Index of the section header line, or npos.
    std::size_t FindSection(std::string_view section) const;
    // One past the last line of the section whose header is at index.
    std::size_t SectionEnd(std::size_t header) const;
    std::size_t FindKey(std::size_t header, std::string_view key) const;
    void EnsureLastLineEnded();

    std::vector<TextLine> lines_;
};

// Profile-string functions on a file. Values read are cut to kMaxProfileValue characters.
inline constexpr std::size_t kMaxProfileValue = 254;

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::string_view file);
// Throws platform::FileError when the file cannot be read or written.
void WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, std::string_view file);
void DeletePrivateProfileKey(std::string_view section, std::string_view key,
                             std::string_view file);
void DeletePrivateProfileSection(std::string_view section, std::string_view file);

}  // namespace torvane::core
