#include "unrealpkg/ut_packages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "support/package_builder.h"
#include "support/temp_dir.h"
#include "unrealpkg/ut_object.h"

namespace torvane::unrealpkg {
namespace {

using testing::BuildPackage;
using testing::PackageSpec;
using testing::TempDir;

// Names: 0 None, 1 Core, 2 Object, 3 MyPkg, 4 MyGroup, 5 Thing, 6 Class, 7 Package.
PackageSpec SmallPackage(int version) {
    PackageSpec spec;
    spec.version = version;
    spec.names = {"None", "Core", "Object", "MyPkg", "MyGroup", "Thing", "Class", "Package"};
    spec.imports = {{1, 7, 0, 1},    // -1: Core (a Package)
                    {1, 6, -1, 2}};  // -2: Core.Object (a Class)
    spec.exports = {{-2, 0, 0, 4, 0, ""},           // 1: MyGroup, SerialSize 0
                    {-2, 0, 1, 5, 0, std::string(1, '\0')},  // 2: MyGroup.Thing, one serial byte
                    {0, -2, 0, 3, 0, std::string(2, '\0')}};  // 3: MyPkg, a class
    return spec;
}

class PackageTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes, const char* name = "Test.u") {
        return dir_.Write(name, bytes);
    }
    TempDir dir_;
};

TEST_F(PackageTest, ReadsHeaderAndTables) {
    TUTPackage package(Write(BuildPackage(SmallPackage(69))));
    EXPECT_EQ(package.Version, 69);
    EXPECT_EQ(package.PackageFlags, 1u);
    ASSERT_EQ(package.Names.size(), 8u);
    EXPECT_EQ(package.Names[5].text, "Thing");
    EXPECT_EQ(package.Names[5].flags, 0x04070010u);
    ASSERT_EQ(package.ExportCount(), 3);
    ASSERT_EQ(package.ImportCount(), 2);
    EXPECT_EQ(package.GetExport(0)->SerialSize, 0);
    EXPECT_EQ(package.GetExport(0)->SerialOffset, 0);
    EXPECT_EQ(package.GetExport(1)->SerialSize, 1);
    EXPECT_GT(package.GetExport(1)->SerialOffset, 0);
    EXPECT_EQ(package.GetExport(1)->GetClassName(), "Object");
    EXPECT_EQ(package.GetExport(2)->GetClassName(), "");
    EXPECT_EQ(package.GetImport(1)->GetClassName(), "Class");
    EXPECT_EQ(package.GetImport(1)->GetPackagePath(), "Core");
    EXPECT_EQ(package.StreamOpenCount(), 0);  // the file is closed between calls
}

TEST_F(PackageTest, NameStringsOfBothFormsGiveTheSameTable) {
    TUTPackage old(Write(BuildPackage(SmallPackage(63)), "Old.u"));
    TUTPackage current(Write(BuildPackage(SmallPackage(64)), "New.u"));
    ASSERT_EQ(old.Names.size(), current.Names.size());
    for (std::size_t i = 0; i < old.Names.size(); ++i) {
        EXPECT_EQ(old.Names[i].text, current.Names[i].text);
    }
}

TEST_F(PackageTest, GuidsByVersion) {
    PackageSpec current = SmallPackage(68);
    current.generations = 3;
    TUTPackage withGenerations(Write(BuildPackage(current), "G.u"));
    EXPECT_EQ(withGenerations.Guids.size(), 1u);
    EXPECT_EQ(withGenerations.Guids[0][0], 0xA0);
    ASSERT_EQ(withGenerations.Generations.size(), 3u);
    EXPECT_EQ(withGenerations.Generations[2].exportCount, 3u);

    PackageSpec old = SmallPackage(67);
    old.heritageGuids = 2;
    TUTPackage withHeritage(Write(BuildPackage(old), "H.u"));
    ASSERT_EQ(withHeritage.Guids.size(), 2u);
    EXPECT_EQ(withHeritage.Guids[1][0], 16);
}

TEST_F(PackageTest, ObjectPaths) {
    TUTPackage package(Write(BuildPackage(SmallPackage(69))));
    EXPECT_EQ(package.GetObjectPath(-1, 0), "");
    EXPECT_EQ(package.GetObjectPath(-1, 2), "MyGroup.Thing");
    EXPECT_EQ(package.GetObjectPath(1, 2), "Thing");
    EXPECT_EQ(package.GetObjectPath(-1, -2), "Core.Object");
    EXPECT_EQ(package.GetObjectPath(2, -2), "Core.Object");
    EXPECT_EQ(package.GetObjectPath(-1, 9), "");
    EXPECT_EQ(package.GetObjectPath(-1, -9), "");
    EXPECT_EQ(package.GetName(-1), "");
    EXPECT_EQ(package.GetName(100), "");
    EXPECT_EQ(package.GetExport(3), nullptr);
    EXPECT_EQ(package.GetImport(-1), nullptr);
}

TEST_F(PackageTest, MissingEntryAlongTheChainEmptiesThePath) {
    PackageSpec spec = SmallPackage(69);
    spec.exports[1].packageIndex = 42;  // outer does not exist
    TUTPackage package(Write(BuildPackage(spec)));
    EXPECT_EQ(package.GetObjectPath(-1, 2), "");
}

TEST_F(PackageTest, OuterCycleEndsThePathWalk) {
    PackageSpec spec = SmallPackage(69);
    spec.exports[0].packageIndex = 2;  // MyGroup inside Thing inside MyGroup ...
    TUTPackage package(Write(BuildPackage(spec)));
    // Cut after kMaxObjectPathDepth pieces, the innermost kept.
    std::string expected = "MyGroup.Thing";
    for (int pieces = 2; pieces < kMaxObjectPathDepth; pieces += 2) expected += ".MyGroup.Thing";
    EXPECT_EQ(package.GetObjectPath(-1, 2), expected);
    EXPECT_EQ(package.GetObjectPath(3, 2), "Thing.MyGroup.Thing");
}

// pieces names, alternating and starting with first, joined by dots.
std::string Alternating(std::string first, std::string second, int pieces) {
    std::string path = first;
    for (int piece = 1; piece < pieces; ++piece) path += "." + (piece % 2 ? second : first);
    return path;
}

TEST_F(PackageTest, DeepOuterChainsAreCutAtTheDepthBound) {
    // Export i lies inside export i - 1, names Thing and MyGroup by turns: a chain 300 deep, as
    // damaged packages have them.
    PackageSpec spec = SmallPackage(69);
    spec.exports.clear();
    for (int i = 0; i < 300; ++i) spec.exports.push_back({-2, 0, i, i % 2 ? 4 : 5, 0, ""});
    TUTPackage package(Write(BuildPackage(spec)));
    // The innermost kMaxObjectPathDepth pieces.
    EXPECT_EQ(package.GetObjectPath(-1, 300), Alternating("Thing", "MyGroup", kMaxObjectPathDepth));
    EXPECT_EQ(package.GetExport(299)->GetPackagePath(),
              Alternating("MyGroup", "Thing", kMaxObjectPathDepth));
    EXPECT_EQ(package.GetObjectPath(1000, 300), package.GetObjectPath(-1, 300));
    EXPECT_EQ(package.GetObjectPath(2, 300), "Thing.MyGroup");
    EXPECT_EQ(package.GetObjectPath(-1, 3), "Thing.MyGroup.Thing");  // shallow paths are whole
}

TEST_F(PackageTest, FindObject) {
    TUTPackage package(Write(BuildPackage(SmallPackage(69))));
    EXPECT_EQ(package.FindObject(kMatchObjectName, "", "THING", ""), 1);
    EXPECT_EQ(package.FindObject(kMatchObjectName | kMatchPackagePath, "mygroup", "thing", ""), 1);
    EXPECT_EQ(package.FindObject(kMatchObjectName | kMatchPackagePath, "Other", "Thing", ""), -1);
    EXPECT_EQ(package.FindObject(kMatchClassName, "", "", "object", 1), 1);
    EXPECT_EQ(package.FindObject(kMatchClassName, "", "", "", 0), 2);
    EXPECT_EQ(package.FindObject(0, "", "", "", 2), 2);
    EXPECT_EQ(package.FindObject(0, "", "", "", 3), -1);
    EXPECT_EQ(package.FindObject(kMatchObjectName, "", "Thing", "", 50), -1);
}

TEST_F(PackageTest, FindObjectAmongObjectsOfOneName) {
    // Three objects named Thing (two spellings in the name table), in two groups.
    PackageSpec spec = SmallPackage(69);
    spec.names.push_back("THING");
    spec.exports.push_back({-2, 0, 0, 8, 0, ""});  // 4: THING, top level
    spec.exports.push_back({-2, 0, 1, 5, 0, ""});  // 5: MyGroup.Thing again
    TUTPackage package(Write(BuildPackage(spec)));
    const struct {
        int match;
        const char* path;
        int start, found;
    } kCases[] = {{kMatchObjectName, "", 0, 1},  {kMatchObjectName, "", 2, 3},
                  {kMatchObjectName, "", 4, 4},  {kMatchObjectName, "", 5, -1},
                  {kMatchObjectName | kMatchPackagePath, "", 0, 3},
                  {kMatchObjectName | kMatchPackagePath, "MYGROUP", 2, 4},
                  {kMatchObjectName | kMatchClassName, "", -7, 1}};
    // The first searches scan the table, later ones use the index by name: same answers.
    for (int round = 0; round < 4; ++round) {
        for (const auto& c : kCases) {
            EXPECT_EQ(package.FindObject(c.match, c.path, "thing", "Object", c.start), c.found)
                << round << " " << c.match << " " << c.path << " " << c.start;
        }
    }
}

TEST_F(PackageTest, QuotingEscapesQuotesAndBackslashes) {
    EXPECT_EQ(TUTPackage::QuoteString("Hello"), "\"Hello\"");
    EXPECT_EQ(TUTPackage::QuoteString("say \"hi\" C:\\UT"), "\"say \\\"hi\\\" C:\\\\UT\"");
    EXPECT_EQ(TUTPackage::QuoteWideString(u"caf\u00e9 \u20ac"), "\"caf\xE9 \x80\"");
}

TEST_F(PackageTest, ErrorsNameTheFile) {
    const std::string notAPackage = Write("MZ not a package at all, long enough to read", "Bad.u");
    try {
        TUTPackage package(notAPackage);
        FAIL();
    } catch (const PackageError& e) {
        EXPECT_EQ(std::string(e.what()), "Exception processing package " + notAPackage +
                                             "\r\nERROR! This isn't an Unreal package");
    }
    const std::string full = BuildPackage(SmallPackage(69));
    const std::string truncated = Write(full.substr(0, full.size() - 5), "Short.u");
    try {
        TUTPackage package(truncated);
        FAIL();
    } catch (const PackageError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Exception processing package " + truncated, 0), 0u);
    }
    EXPECT_THROW(TUTPackage(dir_.Path("absent.u")), PackageError);
}

TEST_F(PackageTest, HostileCountsAreRejectedWithoutHugeAllocations) {
    std::string bytes = BuildPackage(SmallPackage(69));
    for (int field : {12, 20, 28}) {  // name, export and import counts
        std::string hostile = bytes;
        hostile[field + 3] = '\x7F';
        const auto started = std::chrono::steady_clock::now();
        EXPECT_THROW(TUTPackage(Write(hostile, "Hostile.u")), PackageError) << field;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    }
}

TEST_F(PackageTest, ObjectDataIsCopiedOnReadAndDroppedOnRelease) {
    TUTPackage package(Write(BuildPackage(SmallPackage(69))));
    TUTObject& thing = package.GetExport(1)->GetObject();
    EXPECT_THROW(thing.Properties(), ObjectNotReadError);
    try {
        thing.Properties();
    } catch (const ObjectNotReadError& e) {
        EXPECT_EQ(std::string(e.what()), "Thing: ReadObject was not called for this object!");
    }
    thing.ReadObject(true);
    thing.ReadObject(false);
    EXPECT_EQ(thing.LoadCount(), 2);
    EXPECT_TRUE(thing.Parsed());
    EXPECT_EQ(thing.Properties().Count(), 1);  // the "None" terminator
    thing.Release();
    EXPECT_TRUE(thing.DataLoaded());
    thing.Release();
    EXPECT_FALSE(thing.DataLoaded());
    EXPECT_EQ(package.StreamOpenCount(), 0);
    EXPECT_EQ(thing.GetFullPath(), "MyGroup.Thing");
}

TEST_F(PackageTest, ObjectsReadTheBytesTheFileHeldWhenItWasOpened) {
    PackageSpec spec = SmallPackage(69);
    spec.exports[2].serial = "\x11\x22";
    TUTPackage package(Write(BuildPackage(spec)));
    EXPECT_EQ(package.StreamOpenCount(), 0);
    Write("cut short by a compiler writing it", "Test.u");

    {
        TUTObject& object = package.GetExport(2)->GetObject();
        ObjectReadScope scope(object, false);
        std::uint8_t bytes[2] = {};
        object.Data().Read(bytes, 2);
        EXPECT_EQ(bytes[0], 0x11);
        EXPECT_EQ(bytes[1], 0x22);
    }  // the read ends before the package lets go of its objects
    EXPECT_THROW(package.Open(package.FileName), PackageError);  // opening again reads the file anew
}

TEST_F(PackageTest, AFileThatChangesWhileItIsReadIsRefused) {
    // System files whose size disagrees with what a read gives, as a file that is cut short or
    // grows while the package reads it: one gives fewer bytes than its size, one more.
    int checked = 0;
    for (const std::string path : {"/sys/devices/system/cpu/online", "/proc/self/status"}) {
        if (!std::filesystem::is_regular_file(path)) continue;
        ++checked;
        try {
            TUTPackage package(path);
            ADD_FAILURE() << path;
        } catch (const PackageError& e) {
            EXPECT_EQ(std::string(e.what()), "Exception processing package " + path +
                                                 "\r\nThe file changed while it was read");
        }
    }
    if (checked == 0) GTEST_SKIP() << "no file of that kind on this system";
}

TEST_F(PackageTest, SerialDataPastTheFileEndFailsTheRead) {
    PackageSpec spec = SmallPackage(69);
    TUTPackage package(Write(BuildPackage(spec)));
    package.GetExport(1)->SerialSize = 1 << 30;
    EXPECT_THROW(package.GetExport(1)->GetObject().ReadObject(true), StreamError);
    EXPECT_EQ(package.GetExport(1)->GetObject().LoadCount(), 0);
    EXPECT_EQ(package.StreamOpenCount(), 0);
}

}  // namespace
}  // namespace torvane::unrealpkg
