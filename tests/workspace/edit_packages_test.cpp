#include "workspace/edit_packages.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "platform/locale_formats.h"
#include "support/temp_dir.h"

namespace torvane::workspace {
namespace {

TEST(EditPackagesTest, WhichLinesAreRead) {
    testing::TempDir dir;
    const std::string ini = dir.Write(
        "UT.ini", "[Editor.EditorEngine]\r\nEditPackages=Core\r\n!EditPackages=Foo\r\n"
                  ";EditPackages=RelicsBindings\r\n  ;EditPackages=Indented\r\n\t!EditPackages=Tab\n"
                  "editpackages=Lower\r\nEditPackages = Spaced\r\nEditPackages=Trail  \t\r\n"
                  "EditPackages=Core\r\n");
    EXPECT_EQ(ReadEditPackages(ini), (std::vector<std::string>{"Core", "Lower", "Trail", "Core"}));
    EXPECT_THROW(ReadEditPackages(dir.Path("absent.ini")), platform::FileError);
}

TEST(EditPackagesTest, RewritesBeforeAndAfter) {
    const struct {
        const char* name;
        const char* before;
        bool add;
        const char* package;
        const char* after;
    } cases[] = {
        {"AddAfterTheLastLine",
         "[Editor.EditorEngine]\r\nEditPackages=Core\r\nEditPackages=Engine\r\n; note\r\n\r\n[Other]\r\nX=1\r\n",
         true, "MyMod",
         "[Editor.EditorEngine]\r\nEditPackages=Core\r\nEditPackages=Engine\r\nEditPackages=MyMod\r\n; note\r\n\r\n[Other]\r\nX=1\r\n"},
        {"AddWithoutAnyLine", "[Editor.EditorEngine]\r\nUseSound=True\r\n\r\n[X]\r\n", true, "MyMod",
         "[Editor.EditorEngine]\r\nUseSound=True\r\nEditPackages=MyMod\r\n\r\n[X]\r\n"},
        {"AddWithoutTheSection", "[URL]\r\nPort=7777\r\n", true, "MyMod",
         "[URL]\r\nPort=7777\r\n[Editor.EditorEngine]\r\nEditPackages=MyMod\r\n"},
        {"RemoveFirstOfTwo", "EditPackages=A\r\nEditPackages=MyMod\r\nEditPackages=mymod\r\n", false,
         "MYMOD", "EditPackages=A\r\nEditPackages=mymod\r\n"},
        {"LineEndsOfAnLfFileAreKept", "EditPackages=A\nX=1\n", true, "B",
         "EditPackages=A\nEditPackages=B\nX=1\n"},
        {"AddAfterTheLastLineThatIsNoComment",
         "[Editor.EditorEngine]\nEditPackages=Core\n;EditPackages=RelicsBindings\n !EditPackages=Old\r\n", true,
         "MyMod",
         "[Editor.EditorEngine]\nEditPackages=Core\nEditPackages=MyMod\n;EditPackages=RelicsBindings\n"
         " !EditPackages=Old\r\n"},
        {"RemoveSkipsComments", ";EditPackages=MyMod\r\nEditPackages=MyMod\r\n", false, "MyMod",
         ";EditPackages=MyMod\r\n"},
        {"AddAfterALastLineWithoutEnd", "[Editor.EditorEngine]\r\nEditPackages=A", true, "B",
         "[Editor.EditorEngine]\r\nEditPackages=A\r\nEditPackages=B\r\n"},
    };
    for (const auto& c : cases) {
        testing::TempDir dir;
        const std::string ini = dir.Write("UnrealTournament.ini", c.before);
        if (c.add) {
            InsertEditPackageLine(ini, c.package);
        } else {
            EXPECT_TRUE(DeleteEditPackageLine(ini, c.package));
        }
        EXPECT_EQ(dir.Read("UnrealTournament.ini"), c.after) << c.name;
        EXPECT_EQ(dir.Read("UnrealTournament.~ini"), c.before) << c.name;
    }
}

TEST(EditPackagesTest, ReplacingTheLinesForACompileOfChosenPackages) {
    const struct {
        const char* name;
        const char* before;
        const char* after;  // nullptr: untouched
    } cases[] = {
        {"AtThePlaceOfTheFirstCommentsStay",
         "[Editor.EditorEngine]\r\nCacheSizeMegs=6\r\nEditPackages=Core\r\nEditPackages=Engine\r\n"
         "!EditPackages=Commented\r\n;EditPackages=RelicsBindings\r\nEditPackages=DemoLib\r\n"
         "EditPackages = Spaced\r\nGridEnabled=True\r\n",
         "[Editor.EditorEngine]\r\nCacheSizeMegs=6\r\nEditPackages=A\r\nEditPackages=B\r\n"
         "!EditPackages=Commented\r\n;EditPackages=RelicsBindings\r\nGridEnabled=True\r\n"},
        {"LfFileStaysLf", "[Editor.EditorEngine]\nEditPackages=Core\n  ;EditPackages=X\nUseSound=True\n",
         "[Editor.EditorEngine]\nEditPackages=A\nEditPackages=B\n  ;EditPackages=X\nUseSound=True\n"},
        {"NoLineLeavesTheFileAlone", "[Editor.EditorEngine]\r\n;EditPackages=Core\r\n", nullptr},
    };
    for (const auto& c : cases) {
        testing::TempDir dir;
        const std::string ini = dir.Write("UnrealTournament.ini", c.before);
        EXPECT_EQ(ReplaceEditPackageLines(ini, {"A", "B"}), c.after != nullptr) << c.name;
        EXPECT_EQ(dir.Read("UnrealTournament.ini"), c.after ? c.after : c.before) << c.name;
        EXPECT_EQ(platform::FileExists(dir.Path("UnrealTournament.~ini")), c.after != nullptr) << c.name;
        if (c.after) {
            EXPECT_EQ(dir.Read("UnrealTournament.~ini"), c.before) << c.name;
        }
    }
}

TEST(EditPackagesTest, RemovingAnUnlistedNameChangesNothing) {
    testing::TempDir dir;
    const std::string ini = dir.Write("UT.ini", "EditPackages=A\r\n");
    EXPECT_FALSE(DeleteEditPackageLine(ini, "B"));
    EXPECT_FALSE(platform::FileExists(dir.Path("UT.~ini")));
}

TEST(EditPackagesTest, CompiledPackagesAndLastModified) {
    testing::TempDir dir;
    dir.Write("ut/System/Zeta.u", "z");
    dir.Write("ut/System/alpha.U", "a");
    dir.Write("ut/Zeta/Classes/Z.uc", "class Z extends Object;");
    const auto install = platform::GameInstall::Detect(dir.Path("ut"), {dir.Path("home"), "x86_64", false});
    const auto packages = ListCompiledPackages(install);
    ASSERT_EQ(packages.size(), 2u);
    EXPECT_EQ(packages[0].name, "alpha");
    EXPECT_EQ(packages[0].exported, "   ");
    EXPECT_EQ(packages[1].name, "Zeta");
    EXPECT_EQ(packages[1].exported, "Yes");
    EXPECT_EQ(LastModifiedText(install, "Missing"), "[ Not Compiled ]");
    EXPECT_NE(LastModifiedText(install, "zeta"), "[ Not Compiled ]");
}

// The current patch's tool writes packages to the per-user directory: both lists show them.
TEST(EditPackagesTest, PackagesInThePreferenceDirectoryCount) {
    testing::TempDir dir;
    dir.Write("ut/System64/ucc-bin-amd64", "\x7F" "ELF");
    dir.Write("ut/System/Engine.u", "e");
    const std::string mine = dir.Write("home/.utpg/System/MyMod.u", "m");
    platform::SetFileModifiedTime(mine, 946684800);  // 2000-01-01 00:00:00 UTC
    const auto install = platform::GameInstall::Detect(dir.Path("ut"), {dir.Path("home"), "x86_64", false});
    const auto packages = ListCompiledPackages(install);
    ASSERT_EQ(packages.size(), 2u);
    EXPECT_EQ(packages[1].name, "MyMod");
    EXPECT_EQ(LastModifiedText(install, "mymod"), platform::FormatDateTime(946684800));
    dir.Write("ut/System/MyMod.u", "a newer copy the tool finds only after the per-user one");
    EXPECT_EQ(LastModifiedText(install, "MyMod"), platform::FormatDateTime(946684800));
}

TEST(EditPackagesTest, PackageListChangeTest) {
    const std::vector<std::string> list = {"Core", "Engine", "MyMod"};
    EXPECT_FALSE(PackageListChanged({"mymod", "CORE", "Engine"}, list));
    EXPECT_TRUE(PackageListChanged({"Core", "Engine"}, list));
    EXPECT_TRUE(PackageListChanged({"Core", "Engine", "Other"}, list));
    EXPECT_TRUE(PackageListChanged({}, list));
    testing::TempDir dir;
    WritePackageList(dir.Path("Packages.ucd"), list);
    EXPECT_EQ(dir.Read("Packages.ucd"), "Core\r\nEngine\r\nMyMod\r\n");
    EXPECT_EQ(ReadPackageList(dir.Path("Packages.ucd")), list);
    dir.Write("Packages.ucd", std::string(20, '\0'));  // what an interrupted write may leave
    EXPECT_TRUE(ReadPackageList(dir.Path("Packages.ucd")).empty());
}

}  // namespace
}  // namespace torvane::workspace
