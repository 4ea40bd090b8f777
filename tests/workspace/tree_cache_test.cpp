#include "workspace/tree_cache.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "support/temp_dir.h"

namespace torvane::workspace {
namespace {

ClassTree SampleTree() {
    ClassTree tree;
    ClassNode& object = tree.AddTopLevel({"Object", "Object", "", "/ut/Core/Classes/Object.uc", "Core"});
    object.expanded = true;
    ClassNode& actor = tree.AddChild(object, {"Actor", "Actor", "Object", "/ut/Engine/Classes/Actor.uc", "Engine"});
    ClassNode& info = tree.AddChild(actor, {"Info", "Info", "Actor", "/ut/Engine/Classes/Info.uc", "Engine"});
    info.selected = true;
    tree.AddTopLevel({std::string(300, 'L'), "Long", "Missing", "", "Mod"});
    return tree;
}

TEST(TreeCacheTest, RecordLayout) {
    const std::string bytes = TreeCacheBytes(SampleTree());
    EXPECT_EQ(bytes.substr(0, 6), std::string("\rTNT\r\0", 6));
    EXPECT_EQ(bytes.substr(6, 4), std::string("\x02\0\0\0", 4));
    EXPECT_EQ(bytes.size(), 10u + 4 * (4 + kNodeRecordSize));
    const std::string first = bytes.substr(14, kNodeRecordSize);
    EXPECT_EQ(bytes.substr(10, 4), std::string("\x5C\x05\0\0", 4));  // 1372
    EXPECT_EQ(first.substr(0, 4), "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(first[16], 1);
    EXPECT_EQ(first[22], 1);
    EXPECT_EQ(first[23], 1);  // expanded
    EXPECT_EQ(first[24], 0);
    EXPECT_EQ(first[32], 1);  // one child
    EXPECT_EQ(first[40], 1);
    EXPECT_EQ(first[41], 1);
    EXPECT_EQ(first.substr(92, 7), "\x06Object");
    EXPECT_EQ(first.substr(1116, 5), "\x04""Core");
    EXPECT_EQ(first[25] | first[26] | first[27] | first[54] | first[87], 0);
}

TEST(TreeCacheTest, RoundTripKeepsEntriesAndStateAndCutsLongCaptions) {
    const ClassTree tree = TreeFromCacheBytes(TreeCacheBytes(SampleTree()));
    ASSERT_EQ(tree.roots().size(), 2u);
    const ClassNode& object = *tree.roots()[0];
    EXPECT_TRUE(object.expanded);
    const ClassNode& info = *object.children[0]->children[0];
    EXPECT_EQ(info.entry.fileName, "/ut/Engine/Classes/Info.uc");
    EXPECT_EQ(info.entry.parentName, "Actor");
    EXPECT_TRUE(info.selected);
    EXPECT_EQ(info.parent, object.children[0].get());
    EXPECT_EQ(tree.roots()[1]->entry.caption, std::string(255, 'L'));
    EXPECT_EQ(TreeCacheBytes(tree), TreeCacheBytes(TreeFromCacheBytes(TreeCacheBytes(tree))));
}

// Saved and loaded through the files, which are written and read in pieces of 64 KB: a tree of
// 200 nodes spans several pieces, with records across their borders.
TEST(TreeCacheTest, FilesKeepLargeTreesWhole) {
    ClassTree tree;
    ClassNode& root = tree.AddTopLevel({"Object", "Object", "", "/ut/Core/Classes/Object.uc", "Core"});
    ClassNode* parent = &root;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "Class" + std::to_string(i);
        ClassNode& node = tree.AddChild(i % 3 ? root : *parent, {name, name, "Object", "/ut/M/" + name, "M"});
        if (i % 7 == 0) parent = &node;
    }
    testing::TempDir dir;
    const std::string path = dir.Path("Classes.ucd");
    SaveTreeCache(tree, path);
    const std::string bytes = TreeCacheBytes(tree);
    ASSERT_GT(bytes.size(), 3u * 64 * 1024);
    EXPECT_EQ(dir.Read("Classes.ucd"), bytes);
    EXPECT_EQ(TreeCacheBytes(LoadTreeCache(path)), bytes);

    dir.Write("Classes.ucd", bytes.substr(0, bytes.size() - 100));
    EXPECT_THROW(LoadTreeCache(path), TreeCacheError);
    dir.Write("Classes.ucd", "Object\r\n\tActor\r\n");  // plain text
    EXPECT_EQ(LoadTreeCache(path).Count(), 2u);
    dir.Write("Classes.ucd", "");
    EXPECT_THROW(LoadTreeCache(path), TreeCacheError);
    EXPECT_THROW(LoadTreeCache(dir.Path("absent.ucd")), platform::FileError);
}

TEST(TreeCacheTest, PlainTextFallback) {
    const ClassTree tree = TreeFromCacheBytes("Object\r\n\tActor\r\n\t\tInfo\r\n Other\r\nRoot2\r\n");
    ASSERT_EQ(tree.roots().size(), 2u);
    EXPECT_EQ(tree.roots()[0]->children.size(), 2u);
    EXPECT_EQ(tree.roots()[0]->children[0]->children[0]->entry.caption, "Info");
    EXPECT_EQ(tree.roots()[0]->children[1]->entry.caption, "Other");
    EXPECT_EQ(tree.roots()[0]->entry.fileName, "");
}

TEST(TreeCacheTest, DamagedFilesAreRejected) {
    std::string bytes = TreeCacheBytes(SampleTree());
    EXPECT_THROW(TreeFromCacheBytes(bytes.substr(0, bytes.size() - 10)), TreeCacheError);
    std::string hostile = bytes;
    hostile[6] = '\x7F';
    hostile[9] = '\x7F';
    EXPECT_THROW(TreeFromCacheBytes(hostile), TreeCacheError);
    std::string badRecord = bytes;
    badRecord[10] = 0;
    EXPECT_THROW(TreeFromCacheBytes(badRecord), TreeCacheError);
    // What a system crash during an unflushed write can leave.
    EXPECT_THROW(TreeFromCacheBytes(""), TreeCacheError);
    EXPECT_THROW(TreeFromCacheBytes(std::string(bytes.size(), '\0')), TreeCacheError);
}

}  // namespace
}  // namespace torvane::workspace
