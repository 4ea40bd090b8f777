#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// The symbol index's cache file ("Symbols.ucd", beside the class trees' caches): every unit with
// the size and time of the file it was read from, so that a start-up reads again only what
// changed. Units made from an editor's unsaved text are not kept.
namespace torvane::intel {

class SymbolIndex;

inline constexpr char kSymbolCacheName[] = "Symbols.ucd";

class SymbolCacheError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string SymbolCacheBytes(const SymbolIndex& index);
// Adds the cached units to index (not linked). Throws SymbolCacheError on a damaged file; the
// index then holds what was read before the damage.
void ReadSymbolCacheBytes(std::string_view bytes, SymbolIndex& index);

// Written through a temporary file without waiting for the disk (the cache can be made again).
// Throws platform::FileError.
void SaveSymbolCache(const SymbolIndex& index, const std::string& path);
// False when the file is missing or damaged (the index is then left empty).
bool LoadSymbolCache(const std::string& path, SymbolIndex& index);

}  // namespace torvane::intel
