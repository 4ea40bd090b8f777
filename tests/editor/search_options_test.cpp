#include "editor/search_options.h"

#include <gtest/gtest.h>

namespace torvane::editor {
namespace {

TEST(SearchOptionsTest, BitsAndBoxes) {
    EXPECT_EQ(OptionsOfBoxes({true, false, false, false}), 0x40);
    EXPECT_EQ(OptionsOfBoxes({false, true, false, false}), 0x10);
    EXPECT_EQ(OptionsOfBoxes({false, false, true, false}), 0x20);
    EXPECT_EQ(OptionsOfBoxes({false, false, false, true}), 0x80);
    for (int options = 0; options < 0x100; options += 0x10) {
        EXPECT_EQ(OptionsOfBoxes(BoxesOfOptions(options | search_bits::kAtOnce)), options) << options;
    }
}

TEST(SearchOptionsTest, InitialText) {
    EXPECT_EQ(InitialSearchText("sel", "last"), "sel");
    EXPECT_EQ(InitialSearchText("", "last"), "last");
    EXPECT_EQ(InitialSearchText("", ""), "");
    EXPECT_EQ(InitialSearchText("sel", ""), "sel");
}

TEST(SearchOptionsTest, TheSelectionIsTheHit) {
    const struct {
        const char* selected;
        const char* text;
        bool caseSensitive;
        bool hit;
    } cases[] = {
        {"Actor", "Actor", true, true},   {"Actor", "actor", true, false}, {"Actor", "actor", false, true},
        {"\xC9t\xE9", "\xE9T\xC9", false, true},  // the code page's letters
        {"", "", false, false},           {"Act", "Actor", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SelectionIsTheHit(c.selected, c.text, c.caseSensitive), c.hit) << c.selected << "/" << c.text;
    }
}

TEST(SearchOptionsTest, Histories) {
    std::vector<std::string> list{"b", "a"};
    PutOnTopWhenMissing(list, "c");
    PutOnTopWhenMissing(list, "a");  // present: stays where it is
    EXPECT_EQ(list, (std::vector<std::string>{"c", "b", "a"}));
    AppendWhenMissing(list, "A");  // letter case counts
    AppendWhenMissing(list, "b");
    EXPECT_EQ(list, (std::vector<std::string>{"c", "b", "a", "A"}));
}

TEST(SearchOptionsTest, Messages) {
    EXPECT_EQ(NotFoundMessage("foo"), "\"foo\" not found");
    EXPECT_EQ(ReplaceQuestion("a", "b"), "Replace this instance of \"a\" with \"b\" ?");
}

}  // namespace
}  // namespace torvane::editor
