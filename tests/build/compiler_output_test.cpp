#include "build/compiler_output.h"

#include <gtest/gtest.h>

#include "build/console_app.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::build {
namespace {

// Feeds a transcript through the runner's line assembly and the classifier, as a compile does.
struct Replay {
    explicit Replay(const std::string& bytes) {
        output.Reset(3);
        LineCallback callback = [this](std::vector<std::string>& lines) { output.HandleLine(lines, log); };
        LineAssembler lines(outputLines, callback);
        lines.Feed(bytes.data(), bytes.size());
        lines.Finish();
    }
    CompilerOutput output;
    testing::RecordingOutputLog log;
    std::vector<std::string> outputLines;
};

TEST(CompilerOutputTest, RealTranscriptsClassifyAsTheToolMeantThem) {
    const std::string dir = testing::FixturesDir() + "/ucc-make/";
    testing::TempDir temp;
    auto read = [&](const char* name) {
        testing::CopyTree(dir, temp.path());
        return temp.Read(name);
    };
    const Replay error(read("compile-error.txt"));
    EXPECT_EQ(error.output.errorLines().size(), 1u);
    EXPECT_EQ(error.output.warningLines().size(), 0u);
    EXPECT_EQ(error.output.gauge(), 2);
    EXPECT_EQ(error.output.packageName(), "TestMod2");
    EXPECT_EQ(error.output.FirstErrorMessage(), " Bad or missing expression in '='");
    const ErrorLocation location = ParseErrorLine(error.output.errorLines()[0]);
    EXPECT_TRUE(location.valid);
    EXPECT_EQ(location.className, "Broken2");
    EXPECT_EQ(location.lineText, "6");
    EXPECT_EQ(location.file, "TestMod2\\Classes\\Broken2.uc");
    for (const auto& line : error.log.lines()) EXPECT_FALSE(line.empty());  // empty lines never logged

    const Replay success(read("compile-success.txt"));
    EXPECT_TRUE(success.output.errorLines().empty());
    EXPECT_EQ(success.log.lines().back(), "Success - 0 error(s), 0 warnings");

    const Replay warnings(read("engine-reimport-warnings-and-error.txt"));
    EXPECT_GT(warnings.output.warningLines().size(), 4u);
    EXPECT_EQ(warnings.output.errorLines().size(), 1u);
    EXPECT_EQ(warnings.output.gauge(), 3);
    EXPECT_EQ(warnings.output.configNamedByTool(), "");

    // The current patch's 64-bit tool names the ini it reads before its first package.
    for (const char* name : {"linux469-amd64-compile-error.txt", "linux469-amd64-compile-success.txt"}) {
        const Replay linux469(read(name));
        EXPECT_EQ(linux469.output.configNamedByTool(), "/home/player/ut99/System64/UnrealTournament.ini") << name;
        EXPECT_EQ(linux469.output.gauge(), 11) << name;
    }
    const Replay broken(read("linux469-amd64-compile-error.txt"));
    EXPECT_EQ(broken.output.FirstErrorMessage(), " Bad or missing expression in '='");
}

TEST(CompilerOutputTest, AFailureFoundByTheIdeCountsAsAnError) {
    CompilerOutput output;
    testing::RecordingOutputLog log;
    output.Reset(1);
    const std::string line = ConfigMismatchLine("/a/System64/UnrealTournament.ini", "/a/System/UnrealTournament.ini");
    EXPECT_EQ(line, "Compile failed: the game's tool read /a/System64/UnrealTournament.ini, not "
                    "/a/System/UnrealTournament.ini, which Torvane prepared and shows.");
    output.AddFailure(line, log);
    EXPECT_EQ(output.errorLines(), std::vector<std::string>{line});
    EXPECT_EQ(output.FirstErrorMessage(), line);
    EXPECT_EQ(log.lines().back(), line);
    EXPECT_FALSE(ParseErrorLine(line).valid);  // no jump to a class
}

TEST(CompilerOutputTest, LineClasses) {
    EXPECT_EQ(ClassifyCompilerLine(std::string(20, '-') + "Engine" + std::string(20, '-')),
              CompilerLineKind::PackageHeader);
    EXPECT_EQ(ClassifyCompilerLine(std::string(20, '-')), CompilerLineKind::Status);
    EXPECT_EQ(ClassifyCompilerLine("A.uc(1) : Error, x : ExecWarning, y"), CompilerLineKind::Error);
    EXPECT_EQ(ClassifyCompilerLine("A.uc(1) : ExecWarning, y"), CompilerLineKind::Warning);
    EXPECT_EQ(ClassifyCompilerLine(""), CompilerLineKind::Empty);
    const ErrorLocation odd = ParseErrorLine("C:\\Mods (old)\\A\\Classes\\B.uc(12) : Error, x");
    EXPECT_EQ(odd.lineText, "old");  // the first parenthesis wins
    EXPECT_FALSE(ParseErrorLine("no parenthesis here").valid);
}

}  // namespace
}  // namespace torvane::build
