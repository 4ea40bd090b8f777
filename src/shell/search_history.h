#pragma once

#include <string>
#include <string_view>
#include <vector>

// "EdData.dat": sections of search history, each a header line, at most 20 entries (newest
// first) and an empty line.
namespace torvane::shell {

inline constexpr std::size_t kMaxHistoryEntries = 20;

// The entries of the section: the lines after the header (found without regard to case) up to
// the first empty line or the end, at most 20.
std::vector<std::string> ReadHistorySection(const std::vector<std::string>& fileLines,
                                            std::string_view header);

// Rewrites the section in the file's lines: the old header, its entries and the empty lines
// after them go; the section is appended anew; empty lines at the start of the file go.
void WriteHistorySection(std::vector<std::string>& fileLines, std::string_view header,
                         const std::vector<std::string>& entries);

std::vector<std::string> LoadHistoryFile(const std::string& path);  // created empty when missing
void SaveHistoryFile(const std::string& path, const std::vector<std::string>& fileLines);

}  // namespace torvane::shell
