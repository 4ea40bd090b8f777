#include "editor/ted_persistent.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "support/temp_dir.h"

namespace torvane::editor {
namespace {

std::vector<std::string> Lines(const std::string& text) { return core::SplitLines(text); }
std::string Text(const std::vector<std::string>& lines) { return core::JoinLinesCrLf(lines); }

TEST(TEdPersistentTest, ReadsUpToTheEmptyLineAtMostTwenty) {
    std::string file = "[findhistory]\r\n";
    for (int i = 0; i < 25; ++i) file += "e" + std::to_string(i) + "\r\n";
    file += "\r\n[ReplaceHistory]\r\nr1\r\n";
    const auto find = ReadHistorySection(Lines(file), "[FindHistory]");
    ASSERT_EQ(find.size(), 20u);
    EXPECT_EQ(find[0], "e0");
    EXPECT_EQ(ReadHistorySection(Lines(file), "[ReplaceHistory]"), (std::vector<std::string>{"r1"}));
    EXPECT_TRUE(ReadHistorySection(Lines(file), "[Other]").empty());
}

TEST(TEdPersistentTest, SectionRewrites) {
    const struct {
        const char* name;
        const char* before;
        std::vector<std::string> entries;
        const char* after;
    } cases[] = {
        {"EmptyFile", "", {"a", "b"}, "[FindHistory]\r\na\r\nb\r\n\r\n"},
        {"ReplacesTheFirstSection", "[FindHistory]\r\nold\r\n\r\n[ReplaceHistory]\r\nr\r\n\r\n",
         {"new"}, "[ReplaceHistory]\r\nr\r\n\r\n[FindHistory]\r\nnew\r\n\r\n"},
        {"LaterSectionGetsASeparator", "[ReplaceHistory]\r\nr\r\n\r\n[FindHistory]\r\nold\r\n",
         {"x"}, "[ReplaceHistory]\r\nr\r\n\r\n[FindHistory]\r\nx\r\n\r\n"},
        {"EmptyEntriesAreDropped", "", {"a", "", "b"}, "[FindHistory]\r\na\r\nb\r\n\r\n"},
        {"LeadingEmptyLinesGo", "\r\n\r\n[ReplaceHistory]\r\nr\r\n", {"f"},
         "[ReplaceHistory]\r\nr\r\n[FindHistory]\r\nf\r\n\r\n"},
    };
    for (const auto& c : cases) {
        auto lines = Lines(c.before);
        WriteHistorySection(lines, "[FindHistory]", c.entries);
        EXPECT_EQ(Text(lines), c.after) << c.name;
    }
}

TEST(TEdPersistentTest, KeepsAtMostTwentyEntries) {
    std::vector<std::string> entries;
    for (int i = 0; i < 30; ++i) entries.push_back(std::to_string(i));
    std::vector<std::string> lines;
    WriteHistorySection(lines, "[FindHistory]", entries);
    EXPECT_EQ(lines.size(), 22u);  // header, 20 entries, empty line
    EXPECT_EQ(lines[20], "19");
}

TEST(TEdPersistentTest, MissingFileIsCreatedEmpty) {
    testing::TempDir dir;
    EXPECT_TRUE(LoadHistoryFile(dir.Path("EdData.dat")).empty());
    EXPECT_EQ(dir.Read("EdData.dat"), "");
    SaveHistoryFile(dir.Path("EdData.dat"), {"[FindHistory]", "x", ""});
    EXPECT_EQ(LoadHistoryFile(dir.Path("EdData.dat")), (std::vector<std::string>{"[FindHistory]", "x", ""}));
}

}  // namespace
}  // namespace torvane::editor
