#pragma once

#include <string>
#include <string_view>
#include <vector>

// The search settings the main window keeps for every search inside an editor: the last search
// text and options, and the find and replace histories of "EdData.dat".
namespace torvane::editor {

// "EdData.dat": sections of search history, each a header line, at most 20 entries (newest
// first) and an empty line.
inline constexpr std::size_t kMaxHistoryEntries = 20;
inline constexpr char kFindHistoryHeader[] = "[FindHistory]";
inline constexpr char kReplaceHistoryHeader[] = "[ReplaceHistory]";

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

class TEdPersistent final {
public:
    explicit TEdPersistent(std::string historyPath);
    // Reads the history file whole, creating it empty when it is missing; throws
    // platform::FileError when it cannot be read (the histories stay empty).
    void Load();

    const std::string& SearchText() const { return searchText_; }
    int SearchOptions() const { return searchOptions_; }
    // The last search, for Search Again.
    void SetLastSearch(std::string text, int options);

    std::vector<std::string> FindHistory() const;
    std::vector<std::string> ReplaceHistory() const;
    // Writes a history (newest first, at most 20 kept) into the file; throws platform::FileError.
    void SaveFindHistory(const std::vector<std::string>& entries);
    void SaveReplaceHistory(const std::vector<std::string>& entries);

    const std::string& HistoryPath() const { return historyPath_; }

private:
    void SaveSection(std::string_view header, const std::vector<std::string>& entries);

    std::string historyPath_;
    std::vector<std::string> fileLines_;
    std::string searchText_;
    int searchOptions_ = 0;
};

}  // namespace torvane::editor
