#include "platform/game_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace torvane::platform {
namespace {

using testing::TempDir;

class GamePathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.Write("ut/System/Core.u", "c");
        dir_.Write("ut/System/Engine.U", "e");
        dir_.Write("ut/System/UnrealTournament.ini", "i");
        dir_.Write("ut/MyMod/classes/MyClass.UC", "m");
        dir_.Write("ut/MyMod/classes/Other.uc", "o");
        root_ = dir_.Path("ut");
    }
    TempDir dir_;
    std::string root_;
};

TEST_F(GamePathsTest, ResolvesEveryComponentWithoutRegardToCase) {
    const std::string ini = root_ + "/System/UnrealTournament.ini";
    EXPECT_EQ(ResolveGamePath(root_, "\\System\\UnrealTournament.ini"), ini);
    EXPECT_EQ(ResolveGamePath(root_, "\\SYSTEM\\unrealtournament.INI"), ini);
    EXPECT_EQ(ResolveGamePath(root_, "\\system\\UnrealTournament.ini"), ini);
    EXPECT_EQ(ResolveGamePath(root_, "\\MyMod\\Classes\\MyClass.uc"),
              root_ + "/MyMod/classes/MyClass.UC");
    EXPECT_EQ(ResolveGamePath(root_, "/System/Core.u"), root_ + "/System/Core.u");
}

TEST_F(GamePathsTest, MissingComponentsAreKeptAsWritten) {
    EXPECT_EQ(ResolveGamePath(root_, "\\SYSTEM\\New.u"), root_ + "/System/New.u");
    EXPECT_EQ(ResolveGamePath(root_, "\\NewPkg\\Classes\\A.uc"), root_ + "/NewPkg/Classes/A.uc");
}

TEST_F(GamePathsTest, ExactSpellingWinsOverACaseVariant) {
    dir_.Write("ut/System/core.u", "lower");
    EXPECT_EQ(ResolveGamePath(root_, "\\System\\core.u"), root_ + "/System/core.u");
    EXPECT_EQ(ResolveGamePath(root_, "\\System\\Core.u"), root_ + "/System/Core.u");
    // Neither spelled so: the first in name order.
    EXPECT_EQ(ResolveGamePath(root_, "\\System\\CORE.U"), root_ + "/System/Core.u");
}

TEST_F(GamePathsTest, JoinsBackslashPartsOntoTheRoot) {
    EXPECT_EQ(JoinPath("/ut", "\\System\\UCC.exe"), "/ut/System/UCC.exe");
    EXPECT_EQ(JoinPath("/ut/", "System"), "/ut/System");
    EXPECT_EQ(JoinPath("/ut", ""), "/ut");
    EXPECT_EQ(SplitLastSeparator("C:\\Mod/Classes\\*.uc").first, "C:\\Mod/Classes");
    EXPECT_EQ(FileNamePart("a/b\\c.uc"), "c.uc");
}

TEST(WildcardTest, MatchesLikeDos) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.uc", "Actor.uc", true},      {"*.uc", "Actor.UC", true},
        {"*.U", "Core.u", true},         {"*.uc", "Actor.uc~", false},
        {"*.*", "README", true},         {"*", "x", true},
        {"A?tor.uc", "Actor.uc", true},  {"A?tor.uc", "Atort.uc", false},
        {"*Tour*", "UnrealTournament.ini", true},
        {"Engine.*", "Engine", true},    {"*.int", "Engine.u", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
    }
}

TEST_F(GamePathsTest, ListsWithPatternAndAttributeFilters) {
    dir_.Write("ut/System/.Hidden.u", "h");
    dir_.Write("ut/System/Locked.u", "l");
    ::chmod(dir_.Path("ut/System/Locked.u").c_str(), 0444);
    auto names = [](const std::vector<DirectoryEntry>& entries) {
        std::vector<std::string> result;
        for (const auto& e : entries) result.push_back(e.name);
        return result;
    };
    EXPECT_EQ(names(ListDirectory(root_ + "/SYSTEM", "*.U")),
              (std::vector<std::string>{".Hidden.u", "Core.u", "Engine.U", "Locked.u"}));
    ListFilter plain;
    plain.includeHidden = false;
    plain.includeReadOnly = false;
    EXPECT_EQ(names(ListDirectory(root_ + "/System", "*.u", plain)),
              (std::vector<std::string>{"Core.u", "Engine.U"}));
    EXPECT_EQ(names(ListPattern(root_ + "\\mymod\\CLASSES\\*.uc")),
              (std::vector<std::string>{"MyClass.UC", "Other.uc"}));
    ListFilter dirs;
    dirs.files = false;
    dirs.directories = true;
    EXPECT_EQ(names(ListDirectory(root_, "*", dirs)),
              (std::vector<std::string>{"MyMod", "System"}));
    EXPECT_TRUE(ListDirectory(root_ + "/Absent", "*").empty());
}

// Names only: the files ListDirectory gives with its default filter, links to files included,
// directories and dangling links left out.
TEST_F(GamePathsTest, ListsFileNamesAsTheFullListingDoes) {
    dir_.Write("ut/MyMod/classes/Locked.uc", "l");
    ::chmod(dir_.Path("ut/MyMod/classes/Locked.uc").c_str(), 0444);
    ::mkdir(dir_.Path("ut/MyMod/classes/Folder.uc").c_str(), 0755);
    ::symlink("Other.uc", dir_.Path("ut/MyMod/classes/Linked.uc").c_str());
    ::symlink("Gone.uc", dir_.Path("ut/MyMod/classes/Dangling.uc").c_str());
    const std::string classes = root_ + "/MYMOD/Classes";
    std::vector<std::string> listed;
    for (const auto& entry : ListDirectory(classes, "*.UC")) listed.push_back(entry.name);
    EXPECT_EQ(ListFileNames(classes, "*.UC"), listed);
    EXPECT_EQ(listed, (std::vector<std::string>{"Linked.uc", "Locked.uc", "MyClass.UC", "Other.uc"}));
    EXPECT_TRUE(ListFileNames(root_ + "/Absent", "*").empty());
}

}  // namespace
}  // namespace torvane::platform
