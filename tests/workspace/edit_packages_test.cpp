#include "workspace/edit_packages.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "support/temp_dir.h"

namespace torvane::workspace {
namespace {

TEST(EditPackagesTest, WhichLinesAreRead) {
    testing::TempDir dir;
    const std::string ini = dir.Write(
        "UT.ini", "[Editor.EditorEngine]\r\nEditPackages=Core\r\n!EditPackages=Foo\r\n"
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
        {"LfFileIsWrittenWithCrLf", "EditPackages=A\nX=1\n", true, "B",
         "EditPackages=A\r\nEditPackages=B\r\nX=1\r\n"},
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
    const auto packages = ListCompiledPackages(dir.Path("ut"));
    ASSERT_EQ(packages.size(), 2u);
    EXPECT_EQ(packages[0].name, "alpha");
    EXPECT_EQ(packages[0].exported, "   ");
    EXPECT_EQ(packages[1].name, "Zeta");
    EXPECT_EQ(packages[1].exported, "Yes");
    EXPECT_EQ(LastModifiedText(dir.Path("ut"), "Missing"), "[ Not Compiled ]");
    EXPECT_NE(LastModifiedText(dir.Path("ut"), "zeta"), "[ Not Compiled ]");
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
}

}  // namespace
}  // namespace torvane::workspace
