#include "shell/external_tools.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "platform/process.h"
#include "shell/settings_file.h"
#include "support/temp_dir.h"

namespace torvane::shell {
namespace {

TEST(ExternalToolsTest, TheListEndsAtTheFirstEmptyDescription) {
    testing::TempDir dir;
    const SettingsFile settings(dir.Write("Torvane.ini",
                                          "[Preferences]\r\nTool0=not a tool\r\n"
                                          "[tools]\r\nTool0=Lint\r\nToolExec0=lint.sh -q\r\n"
                                          "Tool1=  Docs  \r\n"
                                          "Tool3=Stale\r\nToolExec3=stale.sh\r\n"));
    const std::vector<ExternalTool> expected = {{"Lint", "lint.sh -q"}, {"Docs", ""}};
    EXPECT_EQ(ReadExternalTools(settings), expected);
    EXPECT_EQ(ReadToolDescriptions(settings), (std::vector<std::string>{"Lint", "Docs"}));
    EXPECT_EQ(ReadToolCommandLine(settings, 0), "lint.sh -q");
    EXPECT_EQ(ReadToolCommandLine(settings, 3), "stale.sh");
    EXPECT_EQ(ReadToolCommandLine(settings, -1), "");

    const SettingsFile missing(dir.Path("none.ini"));
    EXPECT_TRUE(ReadExternalTools(missing).empty());
}

TEST(ExternalToolsTest, TheCommandLineSplitsAtItsFirstBlank) {
    using Kind = ToolLaunchPlan::Kind;
    const struct {
        const char* commandLine;
        Kind kind;
        const char* program;
        const char* parameters;
    } cases[] = {
        {"@macro ECHO %UTPATH%", Kind::Macro, "", "ECHO %UTPATH%"},
        {"@Macro   MESSAGE  two  blanks  ", Kind::Macro, "", "MESSAGE  two  blanks"},
        {"@MACRO", Kind::Macro, "", ""},
        {"@MACROS run", Kind::Program, "@MACROS", "run"},
        {"/opt/my tools/run.sh -x \"a b\"", Kind::Program, "/opt/my", "tools/run.sh -x \"a b\""},
        {"notepad", Kind::Program, "notepad", ""},
        {"ucc.sh  make  ", Kind::Program, "ucc.sh", "make"},
        {"", Kind::Nothing, "", ""},
        {"   ", Kind::Nothing, "", ""},
    };
    for (const auto& c : cases) {
        const ToolLaunchPlan plan = PlanToolLaunch(c.commandLine);
        EXPECT_EQ(plan.kind, c.kind) << c.commandLine;
        EXPECT_EQ(plan.program, c.program) << c.commandLine;
        EXPECT_EQ(plan.parameters, c.parameters) << c.commandLine;
    }
}

TEST(ExternalToolsTest, SavingRewritesOnlyTheToolsSection) {
    const std::vector<ExternalTool> two = {{"Lint", "lint.sh -q"}, {"Docs", "@MACRO ECHO %UTPATH%"}};
    const struct {
        const char* name;
        std::string before;
        std::vector<ExternalTool> tools;
        std::string after;
    } cases[] = {
        {"no section yet", "[IDE]\r\nLeft=3\r\n", two,
         "[IDE]\r\nLeft=3\r\n\r\n[Tools]\r\nTool0=Lint\r\nToolExec0=lint.sh -q\r\n"
         "Tool1=Docs\r\nToolExec1=@MACRO ECHO %UTPATH%\r\n"},
        {"empty file", "", {{"A", "a"}}, "\r\n[Tools]\r\nTool0=A\r\nToolExec0=a\r\n"},
        {"a section after it", "[Tools]\r\nTool0=Old\r\nToolExec0=old\r\nTool5=Stale\r\n\r\n\r\n[IDE]\nLeft=3\n", two,
         "[Tools]\r\nTool0=Lint\r\nToolExec0=lint.sh -q\r\nTool1=Docs\r\nToolExec1=@MACRO ECHO %UTPATH%\r\n\r\n"
         "[IDE]\nLeft=3\n"},
        {"all tools removed", "[Preferences]\r\nA=1\r\n[Tools]\r\nTool0=Old\r\nToolExec0=old\r\n[IDE]\r\n", {},
         "[Preferences]\r\nA=1\r\n[Tools]\r\n\r\n[IDE]\r\n"},
        {"section last, no line end", "[IDE]\r\n  [Tools]  \r\nTool0=Old", {{"A", "a"}},
         "[IDE]\r\n  [Tools]  \r\nTool0=A\r\nToolExec0=a\r\n\r\n"},
        {"header in another case", "[tools]\r\nTool0=Old\r\n", {{"A", "a"}}, "[tools]\r\nTool0=A\r\nToolExec0=a\r\n\r\n"},
        {"header as the reader takes it", "; [Tools]\r\n[Toolsets]\r\n[ Tools ] ; mine\r\nTool0=Old\r\n  [X]\r\n",
         {{"A", "a"}}, "; [Tools]\r\n[Toolsets]\r\n[ Tools ] ; mine\r\nTool0=A\r\nToolExec0=a\r\n\r\n  [X]\r\n"},
        {"first of two sections", "[Tools]\r\nTool0=Old\r\n[X]\r\n[Tools]\r\nTool0=Second\r\n", {{"A", "a"}},
         "[Tools]\r\nTool0=A\r\nToolExec0=a\r\n\r\n[X]\r\n[Tools]\r\nTool0=Second\r\n"},
        {"line breaks in values", "[Tools]\r\n", {{"Two\r\nlines", "run\nnow"}},
         "[Tools]\r\nTool0=Two  lines\r\nToolExec0=run now\r\n\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RewriteToolsSection(c.before, c.tools), c.after) << c.name;
    }
}

TEST(ExternalToolsTest, SavedToolsReadBackAndAFileThatCannotBeWrittenStaysAsItWas) {
    testing::TempDir dir;
    const std::vector<ExternalTool> tools = {
        {"Lint & fix", "lint.sh -q"}, {"Docs", "@macro ECHO hi"}, {std::string(254, 'd'), std::string(254, 'c')}};
    const std::string path = dir.Path("Torvane.ini");
    SaveExternalTools(path, tools);
    EXPECT_EQ(ReadExternalTools(SettingsFile(path)), tools);
    // The section the reader finds is the one rewritten.
    const std::string odd = dir.Write("odd.ini", "[ tools ] ; mine\r\nTool0=Old\r\nTool1=Older\r\n");
    SaveExternalTools(odd, tools);
    EXPECT_EQ(ReadExternalTools(SettingsFile(odd)), tools);

    // A directory where the file should be: the error names the platform's reason.
    platform::CreateDirectories(dir.Path("blocked/Torvane.ini"));
    EXPECT_THROW(SaveExternalTools(dir.Path("blocked/Torvane.ini"), tools), platform::FileError);
    EXPECT_TRUE(platform::DirectoryExists(dir.Path("blocked/Torvane.ini")));
}

TEST(ExternalToolsTest, ColumnsTakeAQuarterAndThreeQuartersLessFifteen) {
    const struct {
        int width, description, commandLine;
    } cases[] = {{400, 100, 285}, {403, 100, 285}, {20, 5, 0}, {10, 2, 0}, {0, 0, 0}, {-8, 0, 0}};
    for (const auto& c : cases) {
        const ToolColumnWidths widths = ToolColumnWidthsFor(c.width);
        EXPECT_EQ(widths.description, c.description) << c.width;
        EXPECT_EQ(widths.commandLine, c.commandLine) << c.width;
    }
}

TEST(ExternalToolsTest, AProgramIsStartedWithItsParametersAndWaitedFor) {
    testing::TempDir dir;
    const std::string out = dir.Path("out.txt");
    const std::string program = dir.Write("bin/Record.sh", "#!/bin/sh\nsleep 0.2\nprintf '%s|' \"$@\" > '" + out + "'\n");
    ::chmod(program.c_str(), 0755);
    // The command word names the file in another letter case, as a Windows path would.
    EXPECT_TRUE(StartToolAndWait(dir.Path("BIN/record.SH"), "one \"two words\""));
    EXPECT_EQ(dir.Read("out.txt"), "one|two words|");  // there when the call returns: it waited

    EXPECT_TRUE(StartToolAndWait("true", ""));  // a bare name from PATH
    EXPECT_EQ(ResolveToolProgram("true"), platform::FindInPath("true"));
    EXPECT_FALSE(StartToolAndWait(dir.Path("missing/tool"), "x"));
}

}  // namespace
}  // namespace torvane::shell
