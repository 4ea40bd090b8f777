#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torvane::platform {
class GameInstall;
}

// The EditPackages lines of the game's configuration file, which name the script packages the
// game compiles, in order, and the compiled packages of the System directory.
namespace torvane::workspace {

// A line the game reads as an EditPackages entry: its upper-cased text contains "EDITPACKAGES="
// and it is not a comment (first non-blank character ';' or '!').
bool IsEditPackagesLine(std::string_view line);
// The text after the key, at most 255 characters, blanks and control characters trimmed.
std::string EditPackagesValue(std::string_view line);

// The accepted lines' values, in file order with duplicates. Throws platform::FileError when the
// file cannot be read.
std::vector<std::string> ReadEditPackages(const std::string& configPath);

// Inserts "EditPackages=" + name after the last EditPackages line (or, without any, at the end
// of [Editor.EditorEngine], created when missing); backs the file up and rewrites it. Every
// other line keeps its bytes and its line end; the new line ends as the line before it does,
// or with CR LF. A file that is missing or cannot be read throws platform::FileError (no new
// configuration is made).
void InsertEditPackageLine(const std::string& configPath, const std::string& name);
// Deletes the first line whose value equals name without regard to case; false when none.
bool DeleteEditPackageLine(const std::string& configPath, const std::string& name);
// Moves the line of dragged to stand directly before the line of target: the first line whose
// value equals dragged (any case) is removed and "EditPackages=" + dragged, ended as the removed
// line was, is inserted before the first line whose value equals target. Every other line keeps
// its bytes. False, with the file untouched, when either line is missing.
bool MoveEditPackageLine(const std::string& configPath, const std::string& dragged, const std::string& target);
// For a compile of chosen packages only: removes every line whose upper-cased text contains
// "EDITPACKAGES" and that is no comment, and puts "EditPackages=" + name for each package at the
// place of the first; backs the file up and rewrites it, keeping every other line as it is.
// False, and the file untouched, when it has no such line. Throws platform::FileError.
bool ReplaceEditPackageLines(const std::string& configPath, const std::vector<std::string>& packages);

// "Last Modified" of a package: the date and time of the <name>.u the game's tool would find,
// "[ Not Compiled ]" when it finds none.
std::string LastModifiedText(const platform::GameInstall& install, const std::string& name);

struct CompiledPackage {
    std::string name;      // the file name without ".u"
    std::string exported;  // "Yes" when <name>/Classes exists, else three blanks
};

// Every compiled package the game's tool would find, sorted by name.
std::vector<CompiledPackage> ListCompiledPackages(const platform::GameInstall& install);

// "Packages.ucd": the package list as it was when the trees were last built.
std::vector<std::string> ReadPackageList(const std::string& path);
void WritePackageList(const std::string& path, const std::vector<std::string>& names);
// Changed unless both hold as many names and every package occurs in the list (any case).
bool PackageListChanged(const std::vector<std::string>& stored,
                        const std::vector<std::string>& editPackages);

}  // namespace torvane::workspace
