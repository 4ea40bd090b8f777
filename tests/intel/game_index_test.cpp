#include "intel/game_index.h"

#include <gtest/gtest.h>

#include "intel/compiled_classes.h"
#include "intel/symbol_place.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "support/temp_dir.h"
#include "unrealpkg/package_places.h"
#include "workspace/edit_packages.h"

namespace torvane::intel {
namespace {

constexpr int kSampleSources = 9;

struct SampleGame {
    testing::TempDir dir;
    testing::TempDir caches;
    std::string root = testing::CopySampleGame(dir);
    platform::GameInstall install = platform::GameInstall::Detect(root);

    GameIndexLoad Load(SymbolIndex& index) const { return LoadGameIndex(index, install, caches.path()); }
};

TEST(GameIndexTest, ColdThenFromCacheThenOneChangedFile) {
    SampleGame game;
    SymbolIndex cold;
    const GameIndexLoad first = game.Load(cold);
    EXPECT_FALSE(first.cacheRead);
    EXPECT_TRUE(first.cacheWritten);
    EXPECT_EQ(first.refresh.filesRead, kSampleSources);
    EXPECT_TRUE(first.refresh.errors.empty());
    EXPECT_TRUE(platform::FileExists(SymbolCachePath(game.caches.path())));
    const IndexedClass* pickup = cold.FindClass("DemoPickup");
    ASSERT_NE(pickup, nullptr);
    EXPECT_EQ(pickup->symbols().package, "DemoMod");
    ASSERT_NE(pickup->parent(), nullptr);
    EXPECT_EQ(pickup->parent()->name(), "Inventory");

    SymbolIndex cached;
    const GameIndexLoad second = game.Load(cached);
    EXPECT_TRUE(second.cacheRead);
    EXPECT_FALSE(second.cacheWritten) << "nothing changed, nothing written";
    EXPECT_EQ(second.refresh.filesRead, 0);
    EXPECT_EQ(second.refresh.unitsKept, kSampleSources);
    EXPECT_EQ(cached.SymbolCount(), cold.SymbolCount());
    EXPECT_TRUE(cached.FindMember(cached.FindClass("DemoPickup"), "DrawScale"));

    testing::WriteFile(game.root + "/DemoMod/Classes/DemoPickup.uc",
                       "class DemoPickup extends Inventory;\r\nvar() int BonusCharge, ExtraCharge;\r\n");
    platform::DeleteFile(game.root + "/DemoMod/Classes/DemoMutator.uc");
    SymbolIndex updated;
    const GameIndexLoad third = game.Load(updated);
    EXPECT_EQ(third.refresh.filesRead, 1);
    EXPECT_EQ(third.refresh.unitsRemoved, 1);
    EXPECT_TRUE(third.cacheWritten);
    EXPECT_TRUE(updated.FindMember(updated.FindClass("DemoPickup"), "ExtraCharge"));
    EXPECT_EQ(updated.FindClass("DemoMutator"), nullptr);
}

TEST(GameIndexTest, PackagesWithoutSourcesComeFromTheirCompiledFile) {
    SampleGame game;
    const std::string package = testing::FixturesDir() + "/compiled/System/TestMod2.u";
    testing::WriteFile(game.root + "/System/TestMod2.u", platform::ReadWholeFile(package));
    workspace::InsertEditPackageLine(game.install.configPath(), "TestMod2");
    SymbolIndex index;
    const GameIndexLoad load = game.Load(index);
    EXPECT_TRUE(load.refresh.errors.empty());
    EXPECT_EQ(load.refresh.packagesRead, 1);
    const IndexedClass* counter = index.FindClass("Counter2");
    ASSERT_NE(counter, nullptr);
    EXPECT_TRUE(counter->symbols().compiled);
    EXPECT_EQ(counter->symbols().package, "TestMod2");
    const MemberRef add = index.FindMember(counter, "Add", kFunctions);
    ASSERT_TRUE(add);
    EXPECT_EQ(FunctionSignature(add.symbol()), "function int Add(int A, int B)");

    Target target;
    target.kind = Target::Kind::Member;
    target.member = add;
    const SymbolPlace place = PlaceOf(target);
    EXPECT_TRUE(place.compiled);
    EXPECT_TRUE(place.file.empty());
    EXPECT_EQ(place.objectPath, "TestMod2.Counter2.Add");
    EXPECT_EQ(PlaceText(place), "TestMod2.Counter2(" + std::to_string(place.line) + ")");
    // The line is a line of the rebuilt text that go to definition shows.
    const std::string text = CompiledClassText(place.packageFile, "Counter2", unrealpkg::PackageFolders(game.install));
    std::size_t lineStart = 0;
    for (int line = 1; line < place.line; ++line) lineStart = text.find('\n', lineStart) + 1;
    EXPECT_NE(text.substr(lineStart, text.find('\n', lineStart) - lineStart).find("Add("), std::string::npos) << text;

    SymbolIndex cached;
    const GameIndexLoad again = game.Load(cached);
    EXPECT_EQ(again.refresh.packagesRead, 0) << "the compiled classes come from the cache";
    EXPECT_TRUE(cached.FindClass("Counter2")->symbols().compiled);
}

TEST(GameIndexTest, ConfigurationThatCannotBeReadIsAnError) {
    SampleGame game;
    platform::DeleteFile(game.install.configPath());
    SymbolIndex index;
    EXPECT_THROW(game.Load(index), platform::FileError);
}

}  // namespace
}  // namespace torvane::intel
