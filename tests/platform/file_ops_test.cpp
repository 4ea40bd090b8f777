#include "platform/file_ops.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/game_paths.h"
#include "support/temp_dir.h"

namespace torvane::platform {
namespace {

using testing::TempDir;

TEST(FileOpsTest, CopyOverwritesAndKeepsTheModifiedTime) {
    TempDir dir;
    const std::string a = dir.Write("a.uc", "new text");
    const std::string b = dir.Write("b.uc", "old");
    ASSERT_TRUE(SetFileModifiedTime(a, 1000000000));
    EXPECT_TRUE(CopyFileOverwrite(a, b));
    EXPECT_EQ(dir.Read("b.uc"), "new text");
    EXPECT_EQ(FileModifiedTime(b), 1000000000);
}

TEST(FileOpsTest, FailuresGiveThePlatformsErrorText) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(CopyFileOverwrite(dir.Path("missing"), dir.Path("x"), &error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(DeleteFile(dir.Path("missing"), &error));
    EXPECT_FALSE(RenameFile(dir.Path("missing"), dir.Path("y"), &error));
    EXPECT_FALSE(FileModifiedTime(dir.Path("missing")).has_value());
    try {
        ReadWholeFile(dir.Path("missing"));
        FAIL() << "no exception";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos);
    }
}

TEST(FileOpsTest, WholeAndPiecewiseReadsGiveTheBytes) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 100000; ++i) bytes += static_cast<char>(i * 7);
    const std::string file = dir.Write("big.bin", bytes);
    EXPECT_EQ(ReadWholeFile(file), bytes);
    EXPECT_EQ(ReadWholeFile(dir.Write("empty", "")), "");
    // A file whose size the system does not give is read to its end all the same.
    EXPECT_NE(ReadWholeFile("/proc/self/status").find("Name:"), std::string::npos);

    FilePieceReader reader(file);
    EXPECT_EQ(reader.Size(), 100000);
    std::string pieces(70000, '\0');
    EXPECT_EQ(reader.Read(pieces.data(), pieces.size()), 70000u);
    EXPECT_EQ(reader.Read(pieces.data() + 0, pieces.size()), 30000u);  // the rest, then the end
    EXPECT_EQ(pieces.substr(0, 30000), bytes.substr(70000));
    EXPECT_EQ(reader.Read(pieces.data(), 10), 0u);
    EXPECT_THROW(FilePieceReader(dir.Path("missing")), FileError);
    EXPECT_THROW(FilePieceReader(dir.path()), FileError);
}

TEST(FileOpsTest, AtomicWriteReplacesAndKeepsPermissions) {
    TempDir dir;
    const std::string file = dir.Write("run.sh", "old");
    ::chmod(file.c_str(), 0755);
    WriteFileAtomic(file, "new");
    EXPECT_EQ(dir.Read("run.sh"), "new");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_THROW(WriteFileAtomic(dir.Path("no/such/dir/f"), "x"), FileError);
}

TEST(FileOpsTest, PiecewiseAtomicWriteReplacesOnlyOnCommit) {
    TempDir dir;
    const std::string file = dir.Write("Classes.ucd", "old");
    for (const bool flushToDisk : {true, false}) {
        {
            AtomicFileWriter writer(file, flushToDisk);
            writer.Write("half ");
        }  // abandoned: the old file stays, the temporary file goes
        EXPECT_EQ(dir.Read("Classes.ucd"), "old");
        AtomicFileWriter writer(file, flushToDisk);
        writer.Write("new ");
        writer.Write("bytes");
        EXPECT_EQ(dir.Read("Classes.ucd"), "old");
        writer.Commit();
        EXPECT_EQ(dir.Read("Classes.ucd"), "new bytes");
        EXPECT_THROW(writer.Write("more"), std::logic_error);
        dir.Write("Classes.ucd", "old");
    }
    EXPECT_EQ(ListDirectory(dir.path(), "*", {true, true, true, true}).size(), 1u);  // no leftovers
    try {
        AtomicFileWriter writer(dir.Path("no/such/dir/f"));
        FAIL() << "no exception";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + dir.Path("no/such/dir/f") + "\". No such file or directory");
    }
}

TEST(FileOpsTest, SameFileThroughLinksAndDotsAndBeforeItExists) {
    TempDir dir;
    const std::string ini = dir.Write("ut/System64/UnrealTournament.ini", "x");
    std::filesystem::create_directory_symlink(dir.Path("ut"), dir.Path("link"));
    EXPECT_TRUE(SameFile(ini, dir.Path("link/System64/UnrealTournament.ini")));
    EXPECT_TRUE(SameFile(ini, dir.Path("ut/System/../System64/UnrealTournament.ini")));
    EXPECT_FALSE(SameFile(ini, dir.Write("ut/System/UnrealTournament.ini", "x")));
    EXPECT_TRUE(SameFile(dir.Path("home/.utpg/System/UnrealTournament.ini"),
                         dir.Path("home/.utpg/System/../System/UnrealTournament.ini")));  // neither exists
    EXPECT_FALSE(SameFile(dir.Path("home/a.ini"), ini));
}

// A link is written through: the file it names is replaced and the link stays a link, wherever
// the target lies. A read-only file is refused and keeps its bytes, also behind a link.
TEST(FileOpsTest, AtomicWriteFollowsLinksAndRefusesReadOnlyFiles) {
    TempDir dir;
    const std::string target = dir.Write("real/UnrealTournament.ini", "old");
    ASSERT_EQ(::symlink(target.c_str(), dir.Path("absolute.ini").c_str()), 0);
    ASSERT_EQ(::symlink("real/UnrealTournament.ini", dir.Path("relative.ini").c_str()), 0);
    ASSERT_EQ(::symlink("relative.ini", dir.Path("chain.ini").c_str()), 0);
    struct Case {
        const char* link;
        const char* bytes;
    };
    for (const Case& c : {Case{"absolute.ini", "one"}, Case{"relative.ini", "two"}, Case{"chain.ini", "three"}}) {
        WriteFileAtomic(dir.Path(c.link), c.bytes);
        EXPECT_EQ(dir.Read("real/UnrealTournament.ini"), c.bytes) << c.link;
        struct stat st {};
        ASSERT_EQ(::lstat(dir.Path(c.link).c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << c.link;
    }
    EXPECT_TRUE(CopyFileOverwrite(dir.Write("source", "copied"), dir.Path("chain.ini")));
    EXPECT_EQ(dir.Read("real/UnrealTournament.ini"), "copied");

    ::chmod(target.c_str(), 0444);
    for (const char* path : {"real/UnrealTournament.ini", "absolute.ini"}) {
        try {
            WriteFileAtomic(dir.Path(path), "replaced");
            ADD_FAILURE() << path << " was written";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("Permission denied"), std::string::npos) << e.what();
        }
        std::string error;
        EXPECT_FALSE(CopyFileOverwrite(dir.Path("source"), dir.Path(path), &error));
        EXPECT_EQ(error, "Permission denied");
    }
    EXPECT_EQ(dir.Read("real/UnrealTournament.ini"), "copied");
    ::chmod(target.c_str(), 0644);
}

TEST(FileOpsTest, RenameDeleteAndDirectories) {
    TempDir dir;
    EXPECT_TRUE(CreateDirectories(dir.Path("a/b/c")));
    EXPECT_TRUE(DirectoryExists(dir.Path("a/b/c")));
    EXPECT_FALSE(FileExists(dir.Path("a/b/c")));
    const std::string f = dir.Write("a/f.u", "pkg");
    EXPECT_TRUE(RenameFile(f, dir.Path("a/b/g.u")));
    EXPECT_FALSE(FileExists(f));
    EXPECT_EQ(dir.Read("a/b/g.u"), "pkg");
    EXPECT_TRUE(DeleteFile(dir.Path("a/b/g.u")));
    EXPECT_TRUE(RemoveDirectory(dir.Path("a/b/c")));
    EXPECT_FALSE(DirectoryExists(dir.Path("a/b/c")));
    dir.Write("file", "x");
    EXPECT_FALSE(CreateDirectories(dir.Path("file")));
}

TEST(FileOpsTest, CopyWithoutOverwriteNeverReplacesAFile) {
    TempDir dir;
    const std::string source = dir.Write("src/wall.pcx", "image bytes");
    ASSERT_TRUE(SetFileModifiedTime(source, 1000000000));
    std::string error;
    EXPECT_FALSE(CopyFileNoOverwrite(source, dir.Path("Textures/wall.pcx"), &error));
    EXPECT_EQ(error, "No such file or directory");  // no Textures directory yet
    platform::CreateDirectories(dir.Path("Textures"));
    ASSERT_TRUE(CopyFileNoOverwrite(source, dir.Path("Textures/wall.pcx"), &error)) << error;
    EXPECT_EQ(dir.Read("Textures/wall.pcx"), "image bytes");
    EXPECT_EQ(FileModifiedTime(dir.Path("Textures/wall.pcx")), 1000000000);

    dir.Write("Textures/other.pcx", "kept");
    EXPECT_FALSE(CopyFileNoOverwrite(source, dir.Path("Textures/other.pcx"), &error));
    EXPECT_EQ(error, "File exists");
    EXPECT_EQ(dir.Read("Textures/other.pcx"), "kept");
    // No temporary file is left behind.
    EXPECT_EQ(ListDirectory(dir.Path("Textures"), "*").size(), 2u);
}

}  // namespace
}  // namespace torvane::platform
