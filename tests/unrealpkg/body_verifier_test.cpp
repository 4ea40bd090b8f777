#include "unrealpkg/body_verifier.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "support/temp_dir.h"
#include "unrealpkg/body_source_normaliser.h"

namespace torvane::unrealpkg {
namespace {

bool SameBody(const std::string& source, const std::string& decompiled,
              const BodyNormaliseOptions& options = {}) {
    const auto a = NormaliseBody(source, options);
    const auto b = NormaliseBody(decompiled, options);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!CanonicalLinesMatch(a[i], b[i])) return false;
    }
    return true;
}

TEST(BodyNormaliserTest, TextsOfTheSameProgramMatch) {
    BodyNormaliseOptions options;
    options.constants = {{"maxitems", "16"}};
    options.enums = {{"einputkey", {{"ik_tab", 9}}}};
    const struct {
        const char* source;
        const char* decompiled;
    } cases[] = {
        {"if (a) b = 1; else if (c) d(); // note", "if ( A )\r\n{\r\nB=1;\r\n}\r\nelse\r\n{\r\nif ( C )\r\n{\r\nD();\r\n}\r\n}"},
        {"x = (a + b) * 2.0;", "X=(A + B) * 2"},
        {"x = a + (b * c);", "X=A + B * C"},
        {"local int i; for (i=0; i<n; i++) j += i;", "i=0;\r\nwhile ( i < n )\r\n{\r\nj += i;\r\ni++;\r\n}"},
        {"n = ArrayCount(Items) - 1;", "N=4 - 1"},
        {"x = MaxItems; y = P.MaxItems;", "X=16;\r\nY=16;"},
        {"k = P.EInputKey.IK_Tab;", "K=9;"},
        {"GotoState('');", "GotoState('None');"},
        {"a = Texture'Botpack.Skins.Red';", "A=Texture'Red';"},
        {"f(a,,);", "F(A,,)"},
        {"x = 0.001; y = 0x10;", "X=0.00100;\r\nY=16;"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(SameBody(c.source, c.decompiled, options)) << c.source;
    }
}

TEST(BodyNormaliserTest, TextsOfDifferentProgramsDiffer) {
    const struct {
        const char* source;
        const char* decompiled;
    } cases[] = {
        {"a = b - (c - d);", "A=B - C - D"},
        {"if (!(n <= 0)) x();", "if ( !N <= 0 )\r\n{\r\nX();\r\n}"},
        {"y = y ^ (x | ~z);", "Y=Y ^ X | ~Z"},
        {"x = 0.001;", "X=0.00"},
        {"Super.F();", "F();"},
        {"s = \"Abc\";", "S=\"abc\""},
        {"n = ArrayCount(Items);", "N=M"},
    };
    for (const auto& c : cases) EXPECT_FALSE(SameBody(c.source, c.decompiled)) << c.source;
}

TEST(BodyNormaliserTest, BodySourceEndsAtTheClosingBrace) {
    const std::string source =
        "function F()\r\n{\r\n\tlocal int i;\r\n\ti = 1; /* } */ s = \"}\"; // }\r\n\t{ j = 2; }\r\n}\r\n"
        "function G() {}\r\n";
    const std::size_t start = source.find("\ti = 1");
    EXPECT_EQ(BodySourceAt(source, start), "\ti = 1; /* } */ s = \"}\"; // }\r\n\t{ j = 2; }\r\n");
}

TEST(BodyNormaliserTest, UnreadableTextIsReported) {
    EXPECT_THROW(NormaliseBody("if (a b = 1;"), BodySyntaxError);
    EXPECT_THROW(NormaliseBody("s = \"open"), BodySyntaxError);
}

// The corpus of real packages with their embedded source: at least 95% of the bodies decompile to
// the program their source says, and none fails.
TEST(BodyVerifierTest, CorpusFigure) {
    const std::string fixtures = testing::FixturesDir();
    std::vector<std::string> files;
    for (const char* name : {"Editor", "Engine", "UBrowser", "UWindow", "udemo"}) {
        files.push_back(fixtures + "/ut469/System/" + name + ".u");
    }
    for (const char* name : {"Core", "Fire", "IpDrv", "IpServer", "NexgenCC", "ServerCrashFix_v10",
                             "UTBrowser", "UWeb"}) {
        files.push_back(fixtures + "/ut99/System/" + name + ".u");
    }
    files.push_back(fixtures + "/compiled/System/DecoTest.u");
    std::ostringstream out, err;
    BodyVerifyOptions options;
    options.differencesShown = 0;
    EXPECT_EQ(VerifyPackages(files, options, out, err), 0) << err.str();
    const std::string report = out.str();
    const std::size_t total = report.rfind("total: ");
    ASSERT_NE(total, std::string::npos) << report;
    int compared = 0, equal = 0, different = 0, failed = 0;
    ASSERT_EQ(std::sscanf(report.c_str() + total, "total: compared %d, equal %d, different %d, failed %d",
                          &compared, &equal, &different, &failed),
              4)
        << report;
    EXPECT_GT(compared, 2400);
    EXPECT_EQ(failed, 0);
    EXPECT_GE(equal * 100, compared * 95) << report;
}

TEST(BodyVerifierTest, ReportsPerPackageWithTheFirstDifferences) {
    const std::string file = testing::FixturesDir() + "/compiled/System/DecoTest.u";
    std::ostringstream out, err;
    EXPECT_EQ(VerifyPackages({file}, BodyVerifyOptions{}, out, err), 0);
    const std::string report = out.str();
    EXPECT_NE(report.find(file + ": compared 11, equal "), std::string::npos) << report;
    // DecoFlow.Logic writes a conversion the compiler would add by itself.
    EXPECT_NE(report.find("  DecoFlow.Logic: line 2\n    source:     (level = byte((total & 255)))\n"
                          "    decompiled: (level = (total & 255))\n"),
              std::string::npos)
        << report;
    std::ostringstream badOut, badErr;
    EXPECT_NE(VerifyPackages({file + ".missing"}, BodyVerifyOptions{}, badOut, badErr), 0);
    EXPECT_FALSE(badErr.str().empty());
}

}  // namespace
}  // namespace torvane::unrealpkg
