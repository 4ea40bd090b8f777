#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "workspace/class_tree.h"

// The tree cache files ("Classes.ucd", "Actors.ucd", "ClassByPackage.ucd"): a signature, the
// top-level count, then every node as a 1372-byte record followed by its children. A file
// without the signature is read as plain text: one caption per line, indented by depth; an empty
// file, or one without the signature holding zero bytes, is damaged.
namespace torvane::workspace {

class TreeCacheError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int kNodeRecordSize = 1372;

// The file's bytes, handed to write in pieces of about 64 KB.
void EncodeTreeCache(const ClassTree& tree, const std::function<void(std::string_view)>& write);
std::string TreeCacheBytes(const ClassTree& tree);
// Throws TreeCacheError on a malformed file.
ClassTree TreeFromCacheBytes(const std::string& bytes);

void SaveTreeCache(const ClassTree& tree, const std::string& path);  // atomic replace
ClassTree LoadTreeCache(const std::string& path);                    // throws FileError too

}  // namespace torvane::workspace
