#pragma once

#include <optional>
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

// Writes a file at a full path (creating parent directories) and returns the path.
std::string WriteFile(std::string_view path, std::string_view bytes);

// Copies a directory tree into target (which is created); the copies are writable by the owner.
void CopyTree(std::string_view source, std::string_view target);

// The read-only shared fixtures, and the sample game tree built with the stand-in game tool.
std::string FixturesDir();
std::string SampleGameDir();
// The sample game tree copied into dir, without the logs a run by hand left there; returns the
// game root.
std::string CopySampleGame(const TempDir& dir);

// The same game laid out as the current patch's Linux install: the stand-in tool as
// System64/ucc-bin-amd64 beside its own UnrealTournament.ini, no System/UCC.exe.
std::string LinuxSampleGameDir();
std::string CopyLinuxSampleGame(const TempDir& dir);

// A temporary home directory: HOME points to it while the object lives (the game's per-user
// files, "~/.utpg/System", go there), and is put back afterwards.
class TempHome final {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& path() const { return dir_.path(); }
    // path() + "/.utpg/System"
    std::string PreferenceDirectory() const;

private:
    TempDir dir_;
    std::optional<std::string> previous_;
};

}  // namespace torvane::testing
