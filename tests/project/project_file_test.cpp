#include "project/project.h"

#include <gtest/gtest.h>

#include "shell/settings_file.h"
#include "support/temp_dir.h"

namespace torvane::project {
namespace {

using testing::TempDir;

TEST(ProjectFileTest, WritesEveryKeyInOrder) {
    TempDir dir;
    Project p;
    p.name = "MyMod";
    p.testParams = "DM-Deck16?game=Botpack.DeathMatchPlus";
    p.useUCC = false;
    p.backupSrc = true;
    p.backupPkg = true;
    p.noRevisions = 1;
    p.backupDir = "/ut/System/PkgBackup";
    p.openLog = true;
    p.userInclude = true;
    p.includePacks = {"MyMod"};
    p.doPostBatch = true;
    p.postBatch = {"ECHO done", "UDP 127.0.0.1 6995 START_SERVER"};
    p.compileMode = 2;
    p.packages = {"MyMod", "MyLib"};
    const std::string path = ProjectFilePath(dir.path(), "MyMod");
    WriteProjectFile(p, path);
    EXPECT_EQ(dir.Read("MyMod.tvx"),
              "[Project]\r\nName=MyMod\r\nTestParams=DM-Deck16?game=Botpack.DeathMatchPlus\r\n"
              "UseUCC=False\r\nBackupSrc=True\r\nBackupPkg=True\r\nNoRevisions=1\r\n"
              "BackupDir=/ut/System/PkgBackup\r\nOpenLog=True\r\nUserInclude=True\r\n"
              "DoPostBatch=True\r\nDoPreBatch=False\r\nCompileMode=2\r\n"
              "[IncludePacks]\r\nUserInclude0=MyMod\r\n"
              "[PostBatch]\r\nCommand0=ECHO done\r\nCommand1=UDP 127.0.0.1 6995 START_SERVER\r\n"
              "[Packages]\r\nPackage0=MyMod\r\nPackage1=MyLib\r\n");
    Project read;
    ReadProjectFile(path, "/ut", read);
    EXPECT_EQ(read.name, "MyMod");
    EXPECT_EQ(read.testParams, p.testParams);
    EXPECT_TRUE(read.openLog);
    EXPECT_EQ(read.compileMode, 2);
    EXPECT_EQ(read.includePacks, p.includePacks);
    EXPECT_EQ(read.postBatch, p.postBatch);
    EXPECT_TRUE(read.preBatch.empty());
    EXPECT_EQ(read.packages, p.packages);
}

TEST(ProjectFileTest, ReadingRules) {
    TempDir dir;
    const std::string path = dir.Write(
        "P.tvx", "[Project]\r\nName=P\r\nUseUCC=true\r\nOpenLog=True\r\n"
                 "[PostBatch]\r\nCommand0=first\r\nCommand2=third\r\n"
                 "[Packages]\r\nPackage0=A\r\nPackage1=<<<NONE>>>\r\nPackage2=C\r\n");
    Project p;
    ReadProjectFile(path, "/games/ut", p);
    EXPECT_FALSE(p.useUCC);   // only "True" is true
    EXPECT_TRUE(p.openLog);
    EXPECT_TRUE(p.backupSrc);  // missing: true
    EXPECT_EQ(p.noRevisions, 1);
    EXPECT_EQ(p.backupDir, "/games/ut/System/PkgBackup");
    EXPECT_EQ(p.postBatch, (std::vector<std::string>{"first"}));
    EXPECT_EQ(p.packages, (std::vector<std::string>{"A"}));
}

TEST(ProjectFileTest, NonNumericFieldStopsTheLoadKeepingWhatWasRead) {
    TempDir dir;
    const std::string path = dir.Write(
        "P.tvx", "[Project]\r\nName=New\r\nTestParams=x\r\nNoRevisions=two\r\nOpenLog=True\r\n");
    Project p;
    p.name = "Old";
    p.openLog = false;
    EXPECT_THROW(ReadProjectFile(path, "/ut", p), shell::ConversionError);
    EXPECT_EQ(p.name, "New");
    EXPECT_EQ(p.testParams, "x");
    EXPECT_FALSE(p.openLog);  // after the failure: not read
}

TEST(ProjectFileTest, PackageNodeContents) {
    TempDir dir;
    dir.Write("ut/Foo/Classes/A.uc", "class A extends Object;");
    dir.Write("ut/Foo/Classes/B.uc", "class B extends A;");
    dir.Write("ut/Foo/Textures/boom.wav", "RIFF");
    dir.Write("ut/Foo/Textures/readme.txt", "x");
    dir.Write("ut/Foo/Sounds/notes.txt", "x");
    dir.Write("ut/System/Foo.int", "[Public]");
    const PackageNodeContents contents = FillPackageNode(dir.Path("ut"), "Foo");
    ASSERT_EQ(contents.groups.size(), 2u);
    EXPECT_EQ(contents.groups[0].name, "Classes");
    EXPECT_EQ(contents.groups[0].files, (std::vector<std::string>{"A.uc", "B.uc"}));
    EXPECT_EQ(contents.groups[1].name, "Textures");
    EXPECT_EQ(contents.groups[1].files, (std::vector<std::string>{"boom.wav"}));
    EXPECT_EQ(contents.intFile, "Foo.int");
    EXPECT_FALSE(FillPackageNode(dir.Path("ut"), "Bar").intFile);
}

TEST(ProjectFileTest, DoubleClickActions) {
    TempDir dir;
    dir.Write("ut/System/Foo.int", "x");
    using Kind = ProjectNodeAction::Kind;
    const auto intFile = ProjectNodeActionFor(dir.Path("ut"), "Foo.int", "Foo", "MyMod.tvx");
    EXPECT_EQ(intFile.kind, Kind::OpenFile);
    EXPECT_EQ(intFile.path, dir.Path("ut/System/Foo.int"));
    const auto cls = ProjectNodeActionFor(dir.Path("ut"), "Bar.uc", "Classes", "Foo");
    EXPECT_EQ(cls.kind, Kind::OpenClass);
    EXPECT_EQ(cls.className, "Bar");
    EXPECT_EQ(cls.package, "Foo");
    EXPECT_EQ(ProjectNodeActionFor(dir.Path("ut"), "Boom.WAV", "Sounds", "Foo").kind, Kind::PlaySound);
    EXPECT_EQ(ProjectNodeActionFor(dir.Path("ut"), "Skin.pcx", "Textures", "Foo").kind, Kind::ViewImage);
    EXPECT_EQ(ProjectNodeActionFor(dir.Path("ut"), "Mesh.3d", "Models", "Foo").kind, Kind::Nothing);
}

}  // namespace
}  // namespace torvane::project
