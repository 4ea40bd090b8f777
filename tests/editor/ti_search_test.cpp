#include "editor/ti_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/text.h"

namespace torvane::editor {
namespace {

std::vector<std::size_t> AllMatches(std::string_view pattern, std::string_view text) {
    TTISearch search;
    search.SetPattern(pattern);
    std::vector<std::size_t> starts;
    for (std::size_t at = search.FindFirst(text); at != 0; at = search.FindNext()) starts.push_back(at);
    return starts;
}

// Left to right, never overlapping, every byte compared through the code page's lower case.
std::vector<std::size_t> NaiveMatches(const std::string& pattern, const std::string& text) {
    std::vector<std::size_t> starts;
    if (pattern.empty()) return starts;
    const std::string p = core::LowerCase(pattern);
    const std::string t = core::LowerCase(text);
    for (std::size_t i = 0; i + p.size() <= t.size();) {
        if (t.compare(i, p.size(), p) == 0) {
            starts.push_back(i + 1);
            i += p.size();
        } else {
            ++i;
        }
    }
    return starts;
}

TEST(TTISearchTest, MatchesLeftToRightWithoutOverlap) {
    const struct {
        const char* pattern;
        std::string text;
        std::vector<std::size_t> starts;
    } cases[] = {
        {"actor", "Actor ACTOR actor", {1, 7, 13}},
        {"aaaa", "baaaaaa", {2}},
        {"aaaa", "aaaaaaaa", {1, 5}},
        {"longer than the text", "short", {}},
        {"x", "", {}},
        {"", "anything", {}},
        {"end", "the end", {5}},           // the window reaching the last byte
        {"d\tb", "a\tb d\tB", {5}},         // control characters are plain bytes
        {"\xC9T\xC9", "l'\xE9t\xE9", {3}},  // Windows-1252: E acute, upper and lower
        {"\x8A", "\x9A\x8A", {1, 2}},       // S caron
        {"\xFF", "\x9F", {1}},              // y diaeresis
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AllMatches(c.pattern, c.text), c.starts) << c.pattern << " in " << c.text;
    }
}

TEST(TTISearchTest, AgreesWithAPlainScanOnRandomTexts) {
    std::mt19937 random(20);
    const std::string alphabet = "abAB\r\n";
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        std::string pattern(1 + random() % 4, ' ');
        for (char& c : pattern) c = alphabet[random() % 4];
        ASSERT_EQ(AllMatches(pattern, text), NaiveMatches(pattern, text)) << pattern << " in " << text;
    }
}

TEST(TTISearchTest, KeepsTheStateOfTheLastMatch) {
    TTISearch search;
    search.SetPattern("Self");
    const std::string text = "self.x = SELF.y;";
    EXPECT_EQ(search.FindFirst(text), 1u);
    EXPECT_TRUE(search.Found());
    EXPECT_EQ(search.MatchStart(), 1u);
    EXPECT_EQ(search.FindNext(), 10u);
    EXPECT_EQ(search.Count(), 2);
    EXPECT_EQ(search.FindNext(), 0u);
    EXPECT_FALSE(search.Found());
    EXPECT_EQ(search.MatchStart(), 0u);
    EXPECT_EQ(search.FindNext(), 0u);  // stays at the end
    // A new text starts over: found flag, start and counter.
    EXPECT_EQ(search.FindFirst("xself"), 2u);
    EXPECT_EQ(search.Count(), 1);
}

}  // namespace
}  // namespace torvane::editor
