#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Game paths are written Windows-style: the game root followed by backslash-separated parts
// ("\System\UnrealTournament.ini"). On a case-sensitive file system each component is matched
// exactly or, failing that, against the directory's entries without regard to letter case.
namespace torvane::platform {

// True for '\\' and '/'.
bool IsPathSeparator(char c);

// Appends a relative part written with backslashes (or slashes) to a native directory path.
// No resolution happens; see ResolvePath.
std::string JoinPath(std::string_view root, std::string_view relative);

// Resolves an existing path component by component: each component is taken as written when it
// exists, otherwise the directory entry whose name equals it without regard to case (the first in
// name order when several do). Components from the first one that cannot be found on are kept as
// written, so the result also names files about to be created. Backslashes become slashes.
std::string ResolvePath(std::string_view path);

// JoinPath followed by ResolvePath.
std::string ResolveGamePath(std::string_view root, std::string_view relative);

// Splits a path at its last separator of either kind: the directory (without the separator) and
// the name. A path without separator has an empty directory.
std::pair<std::string, std::string> SplitLastSeparator(std::string_view path);

// The name part after the last separator.
std::string FileNamePart(std::string_view path);

// DOS-style wildcard match without regard to case: '*' any run, '?' one character. "*.*" matches
// every name, including names without a dot.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Attribute filters of a directory listing, mapped to Linux: read-only means the owner may not
// write; hidden means the name begins with a dot.
enum class EntryKind { File, Directory };

struct DirectoryEntry {
    std::string name;
    EntryKind kind = EntryKind::File;
    bool readOnly = false;
    bool hidden = false;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // seconds since the epoch
};

struct ListFilter {
    bool files = true;
    bool directories = false;
    bool includeReadOnly = true;
    bool includeHidden = true;
};

// Lists the entries of a directory whose names match pattern (WildcardMatch), in name order.
// The directory itself is resolved case-insensitively. A missing directory lists nothing.
std::vector<DirectoryEntry> ListDirectory(std::string_view directory, std::string_view pattern,
                                          const ListFilter& filter = {});

// The names of the regular files (or links to them) of a directory that match pattern, in name
// order: ListDirectory's files without their attributes, which spares a query per file.
std::vector<std::string> ListFileNames(std::string_view directory, std::string_view pattern);

// Lists a pattern written as one path ("C:\Mod\Classes\*.uc" or "Classes/*.uc"): the directory is
// the part before the last separator of either kind.
std::vector<DirectoryEntry> ListPattern(std::string_view pathPattern,
                                        const ListFilter& filter = {});

}  // namespace torvane::platform
