#include "intel/reference_search.h"

#include <gtest/gtest.h>

#include <sstream>

#include "intel/game_index.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "support/temp_dir.h"

namespace torvane::intel {
namespace {

const SymbolIndex& FixtureIndex() {
    static const SymbolIndex index = [] {
        SymbolIndex built;
        LoadGameIndex(built, platform::GameInstall::Detect(testing::FixturesDir() + "/ut99"), {});
        return built;
    }();
    return index;
}

// "Package/Classes/File.uc(line)" of every reference line, below the game root.
std::vector<std::string> Places(const std::vector<Reference>& references) {
    const std::string root = testing::FixturesDir() + "/ut99/";
    std::vector<std::string> places;
    for (const std::string& line : ReferenceLines(references)) {
        std::string place = line.substr(0, line.find("): ") + 1);
        if (place.starts_with(root)) place.erase(0, root.size());
        places.push_back(place);
    }
    return places;
}

// The hand-checked lists: every line of the fixture's sources holding the word (any case) is in
// the list, or it is a comment, a string, a name literal ('Touch'), another class's member of the
// same name (Cannon's Health) or the class Health.
std::vector<std::string> ExpectedPlaces(const std::string& file) {
    std::istringstream lines(platform::ReadWholeFile(std::string(TORVANE_INTEL_TEST_DATA) + "/" + file));
    std::vector<std::string> places;
    for (std::string line; std::getline(lines, line);) places.push_back(line);
    return places;
}

Target MemberTarget(const SymbolIndex& index, std::string_view cls, std::string_view member) {
    Target target;
    target.kind = Target::Kind::Member;
    target.member = index.FindMember(index.FindClass(cls), member);
    return target;
}

TEST(ReferenceSearchTest, ActorTouchOnTheFixtureGame) {
    const SymbolIndex& index = FixtureIndex();
    const Target touch = MemberTarget(index, "Actor", "Touch");
    ASSERT_TRUE(touch.member);
    EXPECT_EQ(Places(FindReferences(index, touch, ReadSourceText)), ExpectedPlaces("actor_touch_refs.txt"));
}

TEST(ReferenceSearchTest, PawnHealthOnTheFixtureGame) {
    const SymbolIndex& index = FixtureIndex();
    const Target health = MemberTarget(index, "Pawn", "Health");
    ASSERT_TRUE(health.member);
    const std::vector<Reference> references = FindReferences(index, health, ReadSourceText);
    EXPECT_EQ(Places(references), ExpectedPlaces("pawn_health_refs.txt"));
    EXPECT_EQ(ReferenceLines(references).front(),
              testing::FixturesDir() + "/ut99/Engine/Classes/GameInfo.uc(1175): aPlayer.Health = aPlayer.Default.Health;");
}

TEST(ReferenceSearchTest, EditorTextIsSearchedAndUnreadableSourcesAreNamed) {
    // B is open in an editor whose text is not saved: the index holds that text (as the editors'
    // updates put it there), the file does not exist.
    const std::string editorText = "class B extends A;\nfunction F() { Count++; count = 2; }\n";
    SymbolIndex index;
    index.SetUnit(SourceUnit("/nowhere/A.uc", "P", "class A extends Object;\nvar int Count;\n", {1, 1}));
    index.SetUnit(SourceUnit("/nowhere/B.uc", "P", editorText, {}));
    index.Link();
    const Target count = MemberTarget(index, "A", "Count");
    std::vector<std::string> unreadable;
    const auto fromFiles = FindReferences(index, count, ReadSourceText, &unreadable);
    EXPECT_TRUE(fromFiles.empty());
    EXPECT_EQ(unreadable.size(), 2u);
    const auto fromEditors = FindReferences(index, count, [&editorText](const IndexedClass& cls) -> std::string {
        if (cls.name() == "A") return "class A extends Object;\nvar int Count;\n";
        return editorText;
    });
    EXPECT_EQ(ReferenceLines(fromEditors),
              (std::vector<std::string>{"/nowhere/A.uc(2): var int Count;", "/nowhere/B.uc(2): function F() { Count++; count = 2; }"}));
    EXPECT_EQ(fromEditors.size(), 3u);
}

}  // namespace
}  // namespace torvane::intel
