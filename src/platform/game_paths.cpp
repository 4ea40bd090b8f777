#include "platform/game_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/text.h"

namespace torvane::platform {
namespace {

namespace fs = std::filesystem;

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of directory whose name equals component without regard to case, or "".
std::string FindEntryIgnoringCase(const std::string& directory, const std::string& component) {
    std::error_code ec;
    fs::directory_iterator it(directory.empty() ? "." : directory, ec);
    if (ec) return {};
    std::string best;
    for (const auto& entry : it) {
        std::string name = entry.path().filename().string();
        if (core::EqualsIgnoringCase(name, component) && (best.empty() || name < best)) {
            best = std::move(name);
        }
    }
    return best;
}

std::vector<std::string> SplitComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (IsPathSeparator(c)) {
            parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(std::move(current));
    return parts;
}

}  // namespace

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

std::string JoinPath(std::string_view root, std::string_view relative) {
    if (root.empty()) {  // "\UCC.EXE" with no root names the file system's root
        std::string result(relative);
        for (char& c : result) {
            if (c == '\\') c = '/';
        }
        return result;
    }
    std::string result(root);
    while (result.size() > 1 && IsPathSeparator(result.back())) result.pop_back();
    std::size_t start = 0;
    while (start < relative.size() && IsPathSeparator(relative[start])) ++start;
    if (start == relative.size()) return result;
    if (!result.empty() && !IsPathSeparator(result.back())) result += '/';
    for (std::size_t i = start; i < relative.size(); ++i) {
        result += IsPathSeparator(relative[i]) ? '/' : relative[i];
    }
    return result;
}

std::string ResolvePath(std::string_view path) {
    if (path.empty()) return {};
    const std::vector<std::string> parts = SplitComponents(path);
    std::string result;
    std::size_t i = 0;
    if (parts[0].empty()) {  // absolute path
        result = "/";
        i = 1;
    }
    bool resolving = true;
    for (; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty()) continue;
        const std::string directory = result;
        std::string candidate = result;
        if (!candidate.empty() && candidate.back() != '/') candidate += '/';
        if (resolving && part != "." && part != ".." && !Exists(candidate + part)) {
            const std::string match = FindEntryIgnoringCase(directory, part);
            if (match.empty()) {
                resolving = false;
                candidate += part;
            } else {
                candidate += match;
            }
        } else {
            candidate += part;
        }
        result = std::move(candidate);
    }
    if (!path.empty() && IsPathSeparator(path.back()) && result.back() != '/') result += '/';
    return result;
}

std::string ResolveGamePath(std::string_view root, std::string_view relative) {
    return ResolvePath(JoinPath(root, relative));
}

std::pair<std::string, std::string> SplitLastSeparator(std::string_view path) {
    const auto pos = path.find_last_of("\\/");
    if (pos == std::string_view::npos) return {std::string(), std::string(path)};
    return {std::string(path.substr(0, pos)), std::string(path.substr(pos + 1))};
}

std::string FileNamePart(std::string_view path) { return SplitLastSeparator(path).second; }

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*" || pattern == "*") return true;
    // Iterative match with backtracking to the last '*'.
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || core::FoldCase(pattern[p]) == core::FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    // "name." style patterns: a trailing ".*" also matches names without a dot.
    if (p + 2 == pattern.size() && pattern[p] == '.' && pattern[p + 1] == '*') return true;
    return p == pattern.size();
}

std::vector<DirectoryEntry> ListDirectory(std::string_view directory, std::string_view pattern,
                                          const ListFilter& filter) {
    std::vector<DirectoryEntry> result;
    const std::string dir = directory.empty() ? std::string(".") : ResolvePath(directory);
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return result;
    for (const auto& item : it) {
        DirectoryEntry entry;
        entry.name = item.path().filename().string();
        if (!WildcardMatch(pattern, entry.name)) continue;
        struct stat st {};
        if (::stat(item.path().c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            entry.kind = EntryKind::Directory;
        } else if (!S_ISREG(st.st_mode)) {
            continue;
        }
        entry.readOnly = (st.st_mode & S_IWUSR) == 0;
        entry.hidden = !entry.name.empty() && entry.name[0] == '.';
        entry.size = static_cast<std::int64_t>(st.st_size);
        entry.modified = static_cast<std::int64_t>(st.st_mtime);
        if (entry.kind == EntryKind::File && !filter.files) continue;
        if (entry.kind == EntryKind::Directory && !filter.directories) continue;
        if (entry.readOnly && !filter.includeReadOnly) continue;
        if (entry.hidden && !filter.includeHidden) continue;
        result.push_back(std::move(entry));
    }
    std::sort(result.begin(), result.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    return result;
}

std::vector<std::string> ListFileNames(std::string_view directory, std::string_view pattern) {
    std::vector<std::string> names;
    const std::string dir = directory.empty() ? std::string(".") : ResolvePath(directory);
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return names;
    for (const auto& item : it) {
        std::string name = item.path().filename().string();
        if (!WildcardMatch(pattern, name)) continue;
        // The entry's type comes with the listing; only a link or an unknown type is looked up.
        std::error_code typeError;
        if (item.is_regular_file(typeError)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<DirectoryEntry> ListPattern(std::string_view pathPattern, const ListFilter& filter) {
    auto [directory, pattern] = SplitLastSeparator(pathPattern);
    if (directory.empty() && !pathPattern.empty() && IsPathSeparator(pathPattern[0])) {
        directory = "/";
    }
    return ListDirectory(directory, pattern, filter);
}

}  // namespace torvane::platform
