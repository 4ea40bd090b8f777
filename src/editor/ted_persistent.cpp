#include "editor/ted_persistent.h"

#include "core/text.h"
#include "platform/file_ops.h"

namespace torvane::editor {
namespace {

std::ptrdiff_t FindHeader(const std::vector<std::string>& lines, std::string_view header) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (core::EqualsIgnoringCase(lines[i], header)) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

}  // namespace

std::vector<std::string> ReadHistorySection(const std::vector<std::string>& fileLines,
                                            std::string_view header) {
    std::vector<std::string> entries;
    const std::ptrdiff_t at = FindHeader(fileLines, header);
    if (at < 0) return entries;
    for (std::size_t i = static_cast<std::size_t>(at) + 1;
         i < fileLines.size() && !fileLines[i].empty() && entries.size() < kMaxHistoryEntries; ++i) {
        entries.push_back(fileLines[i]);
    }
    return entries;
}

void WriteHistorySection(std::vector<std::string>& lines, std::string_view header,
                         const std::vector<std::string>& entries) {
    const std::ptrdiff_t at = FindHeader(lines, header);
    if (at >= 0) {
        auto first = lines.begin() + at;
        auto last = first + 1;
        while (last != lines.end() && !last->empty()) ++last;
        while (last != lines.end() && last->empty()) ++last;
        lines.erase(first, last);
        if (at > 0 && !lines.empty() && !lines.back().empty()) lines.emplace_back();
    }
    lines.emplace_back(header);
    for (std::size_t i = 0; i < entries.size() && i < kMaxHistoryEntries; ++i) {
        if (!entries[i].empty()) lines.push_back(entries[i]);
    }
    lines.emplace_back();
    while (!lines.empty() && lines.front().empty()) lines.erase(lines.begin());
}

std::vector<std::string> LoadHistoryFile(const std::string& path) {
    if (!platform::FileExists(path)) {
        // A data directory that cannot be written loses the histories, not the start.
        try {
            platform::WriteFileAtomic(path, "");
        } catch (const platform::FileError&) {
        }
        return {};
    }
    return core::SplitLines(platform::ReadWholeFile(path));
}

void SaveHistoryFile(const std::string& path, const std::vector<std::string>& fileLines) {
    platform::WriteFileAtomic(path, core::JoinLinesCrLf(fileLines));
}

TEdPersistent::TEdPersistent(std::string historyPath) : historyPath_(std::move(historyPath)) {}

void TEdPersistent::Load() { fileLines_ = LoadHistoryFile(historyPath_); }

void TEdPersistent::SetLastSearch(std::string text, int options) {
    searchText_ = std::move(text);
    searchOptions_ = options;
}

std::vector<std::string> TEdPersistent::FindHistory() const {
    return ReadHistorySection(fileLines_, kFindHistoryHeader);
}

std::vector<std::string> TEdPersistent::ReplaceHistory() const {
    return ReadHistorySection(fileLines_, kReplaceHistoryHeader);
}

void TEdPersistent::SaveFindHistory(const std::vector<std::string>& entries) {
    SaveSection(kFindHistoryHeader, entries);
}

void TEdPersistent::SaveReplaceHistory(const std::vector<std::string>& entries) {
    SaveSection(kReplaceHistoryHeader, entries);
}

void TEdPersistent::SaveSection(std::string_view header, const std::vector<std::string>& entries) {
    WriteHistorySection(fileLines_, header, entries);
    SaveHistoryFile(historyPath_, fileLines_);
}

}  // namespace torvane::editor
