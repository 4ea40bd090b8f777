// The editor control's own search: the option bits, both directions, the regular expressions'
// dialect and their replacements.
#include <gtest/gtest.h>

#include <optional>

#include "editor/search_options.h"
#include "editor/tsyntax_memo.h"

namespace torvane::editor {
namespace {

using namespace search_bits;

struct Case {
    const char* name;
    const char* text;
    int options;
    long from;
    std::optional<std::pair<long, long>> match;
};

TEST(TSyntaxMemoSearchTest, HonoursTheOptionBits) {
    TSyntaxMemo memo;
    memo.LoadBytes("Actor actor ACTORS\r\nvar Actor A;\r\nx = a1 + b22;\r\n");
    const Case cases[] = {
        {"AnyCase", "actor", 0, 0, {{0, 5}}},
        {"AnyCaseFromAPosition", "actor", 0, 1, {{6, 11}}},
        {"CaseSensitive", "ACTOR", kCaseSensitive, 0, {{12, 17}}},
        {"WholeWordsSkipsActors", "actors", kWholeWords, 0, {{12, 18}}},
        {"WholeWords", "actor", kWholeWords, 7, {{24, 29}}},
        {"NotFound", "pawn", 0, 0, std::nullopt},
        {"Backwards", "actor", kBackwards, 11, {{6, 11}}},  // ends at or before the position
        {"BackwardsNotTheOneAtThePosition", "actor", kBackwards, 10, {{0, 5}}},
        {"BackwardsFromTheStart", "actor", kBackwards, 0, std::nullopt},
        {"RegularExpression", "[ab][0-9]+", kRegularExpression, 0, {{38, 40}}},
        {"RegularExpressionCase", "A[0-9]", kRegularExpression | kCaseSensitive, 0, std::nullopt},
        {"RegularExpressionWholeWords", "b2", kRegularExpression | kWholeWords, 0, std::nullopt},
        {"RegularExpressionWholeWordsFound", "b2+", kRegularExpression | kWholeWords, 0, {{43, 46}}},
        {"RegularExpressionBackwards", "[ab][0-9]+", kRegularExpression | kBackwards, 45, {{43, 45}}},
        {"RegularExpressionEcmaScript", "\\bvar\\s+(\\w+)", kRegularExpression, 0, {{20, 29}}},
        {"DotStopsAtTheLineEnd", "ACTORS.var", kRegularExpression, 0, std::nullopt},
        {"NoMatchAcrossLines", "ACTORS\\s+var", kRegularExpression, 0, std::nullopt},
        {"EmptyText", "", 0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto match = memo.Search(QString::fromLatin1(c.text), c.options | kAtOnce, c.from);
        ASSERT_EQ(match.has_value(), c.match.has_value()) << c.name;
        if (match) {
            EXPECT_EQ(match->start, c.match->first) << c.name;
            EXPECT_EQ(match->end, c.match->second) << c.name;
        }
    }
}

TEST(TSyntaxMemoSearchTest, ReplacementsOfRegularExpressionsFillInTheGroups) {
    TSyntaxMemo memo;
    memo.LoadBytes("var int Count;\r\n");
    const auto match = memo.Search("var (\\w+) (\\w+);", kRegularExpression, 0);
    ASSERT_TRUE(match);
    EXPECT_EQ(memo.Replacement("var \\2 \\1; // \\0 \\\\ \\x", kRegularExpression),
              "var Count int; // var int Count; \\ \\x");
    EXPECT_EQ(memo.Replacement("\\1", 0), "\\1");  // plain text stays as it is
    memo.SelectMatch(*match);
    memo.ReplaceSelection(memo.Replacement("var \\2 \\1;", kRegularExpression));
    EXPECT_EQ(memo.Bytes(), "var Count int;\r\n");
    EXPECT_EQ(memo.CaretPosition(), 14);
    EXPECT_EQ(memo.SelectionStartPosition(), memo.SelectionEndPosition());
}

// The control holds the text as UTF-8: a Windows-1252 letter is two bytes there, found in any
// letter case and selected whole.
TEST(TSyntaxMemoSearchTest, WindowsCodePageTextIsFoundAtItsPlace) {
    TSyntaxMemo memo;
    memo.LoadBytes("// \xC9t\xE9 \xE9t\xE9\r\n");  // "// Été été"
    const QString upper = QString::fromUtf8("\xC3\x89T\xC3\x89");
    const struct {
        long from;
        long start, end;
    } cases[] = {{0, 3, 8}, {3, 3, 8}, {4, 9, 14}, {9, 9, 14}};
    for (const auto& c : cases) {
        const auto match = memo.Search(upper, 0, c.from);
        ASSERT_TRUE(match) << c.from;
        EXPECT_EQ(match->start, c.start) << c.from;
        EXPECT_EQ(match->end, c.end) << c.from;
    }
    EXPECT_FALSE(memo.Search(upper, kCaseSensitive, 0));
    memo.SelectMatch(*memo.Search(upper, 0, 4));
    EXPECT_EQ(memo.selectedText(), QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
}

// Go to line's range: the lines as the file has them, the empty one after a last line end not
// counted.
TEST(TSyntaxMemoSearchTest, LineCountIsTheFilesLines) {
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"a", 1}, {"a\r\n", 1}, {"a\r\nb", 2}, {"a\r\nb\r\n", 2}, {"a\r\n\r\n", 2}, {"a\nb\n", 2}};
    for (const auto& [text, lines] : cases) {
        TSyntaxMemo memo;
        memo.LoadBytes(text);
        EXPECT_EQ(memo.LineCount(), lines) << text;
    }
}

}  // namespace
}  // namespace torvane::editor
