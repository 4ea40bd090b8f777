#include "core/backup.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace torvane::core {
namespace {

TEST(BackupNameTest, InsertsTildeAfterTheExtensionDot) {
    const std::pair<const char*, const char*> cases[] = {
        {"Engine.uc", "Engine.~uc"},
        {"/ut/System/UnrealTournament.ini", "/ut/System/UnrealTournament.~ini"},
        {"C:\\UT\\MyMod\\MyMod.int", "C:\\UT\\MyMod\\MyMod.~int"},
        {"archive.tar.gz", "archive.tar.~gz"},
        {"NONAME1", "NONAME1~"},
        {"/home/u/.hidden", "/home/u/.hidden~"},
        {"/dir.with.dots/file", "/dir.with.dots/file~"},
        {"trailing.", "trailing.~"},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(BackupName(path), expected) << path;
}

TEST(BackupFileTest, CopiesOverAnEarlierBackup) {
    testing::TempDir dir;
    const std::string file = dir.Write("MyMod.int", "first");
    EXPECT_TRUE(BackupFile(file));
    EXPECT_EQ(dir.Read("MyMod.~int"), "first");
    dir.Write("MyMod.int", "second");
    EXPECT_TRUE(BackupFile(file));
    EXPECT_EQ(dir.Read("MyMod.~int"), "second");
}

TEST(BackupFileTest, MissingFileIsIgnored) {
    testing::TempDir dir;
    EXPECT_FALSE(BackupFile(dir.Path("New.uc")));
}

}  // namespace
}  // namespace torvane::core
