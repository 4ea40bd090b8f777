#pragma once

#include <string>
#include <string_view>

// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes.
namespace torvane::testing {

class TempDir final {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + relative
    std::string Path(std::string_view relative) const;
    // Writes a file (creating parent directories) and returns its path.
    std::string Write(std::string_view relative, std::string_view bytes) const;
    std::string Read(std::string_view relative) const;

private:
    std::string path_;
};

// Copies a directory tree into target (which is created).
void CopyTree(std::string_view source, std::string_view target);

// The read-only shared fixtures, and the sample game tree built with the stand-in game tool.
std::string FixturesDir();
std::string SampleGameDir();
// The sample game tree copied into dir; returns the game root.
std::string CopySampleGame(const TempDir& dir);

}  // namespace torvane::testing
