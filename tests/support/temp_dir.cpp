#include "support/temp_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace torvane::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "torvane-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Make read-only entries removable first.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
}

std::string TempDir::Path(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
}

std::string TempDir::Write(std::string_view relative, std::string_view bytes) const {
    return WriteFile(Path(relative), bytes);
}

std::string WriteFile(std::string_view path, std::string_view bytes) {
    const std::string full(path);
    fs::create_directories(fs::path(full).parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + full);
    return full;
}

std::string TempDir::Read(std::string_view relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void CopyTree(std::string_view source, std::string_view target) {
    fs::create_directories(std::string(target));
    fs::copy(std::string(source), std::string(target),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    // The shared fixtures are read-only; a test's copy is its own to change.
    for (const auto& entry : fs::recursive_directory_iterator(std::string(target))) {
        if (!entry.is_symlink()) fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
}

std::string FixturesDir() { return TORVANE_FIXTURES_DIR; }
std::string SampleGameDir() { return TORVANE_SAMPLE_GAME_DIR; }

namespace {

// The sample trees are also the ones the IDE runs on by hand: a test run of the game or a server
// leaves its log there. A test's copy starts without them, as the build laid the tree out.
void CopySampleTree(const std::string& source, const std::string& root) {
    CopyTree(source, root);
    for (const char* log : {"UnrealTournament.log", "ucc.log"}) {
        for (const char* directory : {"/System/", "/System64/"}) fs::remove(root + directory + log);
    }
}

}  // namespace

std::string CopySampleGame(const TempDir& dir) {
    const std::string root = dir.Path("game");
    CopySampleTree(SampleGameDir(), root);
    return root;
}

std::string LinuxSampleGameDir() { return TORVANE_LINUX_SAMPLE_GAME_DIR; }

std::string CopyLinuxSampleGame(const TempDir& dir) {
    const std::string root = dir.Path("game");
    CopySampleTree(LinuxSampleGameDir(), root);
    return root;
}

TempHome::TempHome() {
    if (const char* home = ::getenv("HOME")) previous_ = home;
    ::setenv("HOME", dir_.path().c_str(), 1);
}

TempHome::~TempHome() {
    if (previous_) {
        ::setenv("HOME", previous_->c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
}

std::string TempHome::PreferenceDirectory() const { return dir_.Path(".utpg/System"); }

}  // namespace torvane::testing
