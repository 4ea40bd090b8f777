#include "editor/editor_rules.h"

#include <gtest/gtest.h>

namespace torvane::editor {
namespace {

TEST(EditorRulesTest, ProtectedPackages) {
    for (const char* name : {"Core", "engine", "BOTPACK", "UTServerAdmin", "EpicCustomModels",
                             "Relics", "MultiMesh", "UBrowser"}) {
        EXPECT_TRUE(IsProtectedPackage(name)) << name;
    }
    for (const char* name : {"", "MyMod", "DemoMod", "Engine2"}) {
        EXPECT_FALSE(IsProtectedPackage(name)) << name;
    }
}

TEST(EditorRulesTest, StatusPanels) {
    const struct {
        EditorStatusInput input;
        std::array<std::string, 4> panels;
    } cases[] = {
        {{12, 5, false, true, false, "Engine", "/ut/Engine/Classes/Actor.uc"},
         {"    12:   5", "", "Read Only", "Epic Protected Class -- Engine    "}},
        {{1, 1, true, false, false, "", "/ut/Engine/Classes/Actor.UC"},
         {"     1:   1", "Modified", " Insert", "Rogue UC File   "}},
        {{3, 10, false, false, true, "", "/ut/System/Engine.int"},
         {"     3:  10", "", " Overwrite", "Misc. File    "}},
        {{1, 1, false, false, false, "MyMod", "/ut/MyMod/Classes/A.uc"},
         {"     1:   1", "", " Insert", "MyMod    "}},
    };
    for (const auto& c : cases) EXPECT_EQ(EditorStatusPanels(c.input), c.panels) << c.input.caption;
}

TEST(EditorRulesTest, LineEndsNamesAndBookmarks) {
    EXPECT_EQ(DetectLineEnd("a\r\nb\r\n"), LineEnd::CrLf);
    EXPECT_EQ(DetectLineEnd("a\nb\nc\r\n"), LineEnd::Lf);
    EXPECT_EQ(DetectLineEnd("a\rb\r"), LineEnd::Cr);
    EXPECT_EQ(DetectLineEnd("no line end"), LineEnd::CrLf);
    EXPECT_EQ(NewFileName(0), "NONAME1");
    EXPECT_EQ(NewFileName(2), "NONAME3");
    EXPECT_EQ(CutTo100(std::string(150, 'x')).size(), 100u);
    EXPECT_EQ(BookmarkOfCaption("Set Bookmark 7"), 7);
    EXPECT_EQ(BookmarkOfCaption("Goto Bookmark"), std::nullopt);
}

// Go to line: an integer from the minimum to the maximum, anything else gives the warning.
TEST(EditorRulesTest, LineNumberInRange) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"1", 1}, {"31", 31}, {" 7", 7}, {"$10", 16}, {"12x", std::nullopt}, {"", std::nullopt},
        {"0", std::nullopt}, {"32", std::nullopt}, {"-3", std::nullopt}, {"99999999999", std::nullopt}};
    for (const auto& [text, line] : cases) EXPECT_EQ(LineNumberInRange(text, 1, 31), line) << text;
    EXPECT_EQ(LineRangeWarning(1, 31), "Value must be between 1 and 31");
}

}  // namespace
}  // namespace torvane::editor
