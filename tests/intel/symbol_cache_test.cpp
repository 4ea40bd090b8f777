#include "intel/symbol_cache.h"

#include <gtest/gtest.h>

#include "intel/index_builder.h"
#include "support/temp_dir.h"

namespace torvane::intel {
namespace {

SymbolIndex SmallIndex() {
    SymbolIndex index;
    index.SetUnit(SourceUnit("/g/Engine/Classes/Actor.uc", "Engine",
                             "class Actor extends Object;\nvar(Display) float DrawScale[2];\n"
                             "function Touch(optional Actor Other) { }\nstate Idle { ignores Touch; Begin: }\n",
                             {120, 1700000000}));
    IndexUnit unsaved = SourceUnit("/g/Engine/Classes/Pawn.uc", "Engine", "class Pawn extends Actor;\n", {});
    index.SetUnit(std::move(unsaved));
    index.Link();
    return index;
}

TEST(SymbolCacheTest, RoundTripKeepsEverySavedUnit) {
    const SymbolIndex index = SmallIndex();
    SymbolIndex read;
    ReadSymbolCacheBytes(SymbolCacheBytes(index), read);
    read.Link();
    const IndexUnit* unit = read.FindUnit("/g/Engine/Classes/Actor.uc");
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->stamp, (FileStamp{120, 1700000000}));
    const IndexUnit* original = index.FindUnit("/g/Engine/Classes/Actor.uc");
    ASSERT_EQ(unit->classes.size(), 1u);
    const ClassSymbols& a = original->classes[0];
    const ClassSymbols& b = unit->classes[0];
    ASSERT_EQ(a.members.size(), b.members.size());
    for (std::size_t i = 0; i < a.members.size(); ++i) {
        EXPECT_EQ(DeclarationText(a.members[i]), DeclarationText(b.members[i]));
        EXPECT_EQ(a.members[i].line, b.members[i].line);
        EXPECT_EQ(a.members[i].bodyBegin, b.members[i].bodyBegin);
        EXPECT_EQ(a.members[i].ignores, b.members[i].ignores);
        EXPECT_EQ(a.members[i].parameters.size(), b.members[i].parameters.size());
    }
    EXPECT_EQ(read.FindUnit("/g/Engine/Classes/Pawn.uc"), nullptr) << "an editor's unsaved text is not kept";
}

TEST(SymbolCacheTest, DamagedBytesAreRefusedNeverRead) {
    const std::string bytes = SymbolCacheBytes(SmallIndex());
    for (std::size_t size : {std::size_t{0}, std::size_t{3}, std::size_t{8}, bytes.size() / 2, bytes.size() - 1}) {
        SymbolIndex read;
        EXPECT_THROW(ReadSymbolCacheBytes(bytes.substr(0, size), read), SymbolCacheError) << size;
    }
    std::string huge = bytes.substr(0, 7);
    huge += std::string("\xff\xff\xff\xff\x0f", 5);  // a count far beyond the bytes left
    SymbolIndex read;
    EXPECT_THROW(ReadSymbolCacheBytes(huge, read), SymbolCacheError);
    std::string trailing = bytes + "x";
    EXPECT_THROW(ReadSymbolCacheBytes(trailing, read), SymbolCacheError);
}

TEST(SymbolCacheTest, FilesMissingOrDamagedLoadAsNoCache) {
    testing::TempDir dir;
    const std::string path = dir.Path(kSymbolCacheName);
    SymbolIndex index;
    EXPECT_FALSE(LoadSymbolCache(path, index));
    SaveSymbolCache(SmallIndex(), path);
    EXPECT_TRUE(LoadSymbolCache(path, index));
    EXPECT_NE(index.FindUnit("/g/Engine/Classes/Actor.uc"), nullptr);
    dir.Write(kSymbolCacheName, "TVSYMS garbage");
    SymbolIndex damaged;
    EXPECT_FALSE(LoadSymbolCache(path, damaged));
    EXPECT_TRUE(damaged.Units().empty());
}

}  // namespace
}  // namespace torvane::intel
