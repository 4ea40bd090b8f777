#include "build/console_app.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/package_builder.h"
#include "support/temp_dir.h"

namespace torvane::build {
namespace {

using testing::TempDir;

class ConsoleAppTest : public ::testing::Test {
protected:
    // A shell script as the program; printf keeps the exact bytes.
    std::string Script(const std::string& name, const std::string& body) {
        const std::string path = dir_.Write(name, "#!/bin/sh\n" + body + "\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    std::vector<std::string> Run(const std::string& body, std::vector<std::string>* seen = nullptr,
                                 std::uint32_t* code = nullptr) {
        std::vector<std::string> output;
        const std::uint32_t exit = RunConsoleProgram(Script("prog.sh", body), "", output,
                                                     [&](std::vector<std::string>& lines) {
                                                         if (seen) seen->push_back(lines.back());
                                                     });
        if (code) *code = exit;
        return output;
    }
    TempDir dir_;
};

TEST_F(ConsoleAppTest, LinesEndedByCrLf) {
    std::vector<std::string> seen;
    EXPECT_EQ(Run("printf 'abc\\r\\ndef\\r\\n'", &seen), (std::vector<std::string>{"abc", "def", ""}));
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(ConsoleAppTest, BareCarriageReturnReplacesTheLine) {
    std::vector<std::string> seen;
    EXPECT_EQ(Run("printf '10%%\\r20%%\\r\\n'", &seen), (std::vector<std::string>{"20%", ""}));
    EXPECT_EQ(seen, (std::vector<std::string>{"10%", "20%", ""}));
}

TEST_F(ConsoleAppTest, LineFeedAloneEndsALine) {
    EXPECT_EQ(Run("printf 'one\\ntwo\\n10%%\\r20%%\\nend'"),
              (std::vector<std::string>{"one", "two", "20%", "end"}));
}

TEST_F(ConsoleAppTest, NoOutputAndStandardErrorOnly) {
    std::vector<std::string> seen;
    EXPECT_EQ(Run("exit 0", &seen), (std::vector<std::string>{""}));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(Run("echo hidden >&2"), (std::vector<std::string>{""}));
}

TEST_F(ConsoleAppTest, LongLinesAreDeliveredAt256Characters) {
    std::vector<std::string> seen;
    const auto output = Run("printf '%0300d\\r\\n' 0", &seen);
    ASSERT_EQ(output.size(), 2u);
    EXPECT_EQ(seen[0], std::string(256, '0'));
    EXPECT_EQ(output[0], std::string(44, '0'));  // the rest replaces the first piece
}

TEST_F(ConsoleAppTest, GrandchildHoldingThePipeIsWaitedFor) {
    const auto output = Run("(sleep 0.3; echo late) & echo early");
    EXPECT_EQ(output, (std::vector<std::string>{"early", "late", ""}));
}

TEST_F(ConsoleAppTest, ExitCodeParametersAndWorkingDirectory) {
    std::uint32_t code = 0;
    Run("exit 3", nullptr, &code);
    EXPECT_EQ(code, 3u);
    std::vector<std::string> output;
    RunOptions options;
    options.workingDirectory = dir_.path();
    options.environment = {{"TORVANE_TEST", "set"}};
    RunConsoleProgram(Script("args.sh", "echo \"$1|$2|$(pwd)|$TORVANE_TEST\""), "\"two words\" b", output,
                      nullptr, options);
    EXPECT_EQ(output[0], "two words|b|" + dir_.path() + "|set");
}

TEST_F(ConsoleAppTest, ProgramsAreFoundOnThePathWithExe) {
    Script("bin/tool.exe", "echo found");
    const std::string oldPath = std::getenv("PATH");
    ::setenv("PATH", (dir_.Path("bin") + ":" + oldPath).c_str(), 1);
    std::vector<std::string> output;
    RunConsoleProgram("tool", "", output, nullptr);
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(output[0], "found");
}

TEST_F(ConsoleAppTest, RefusalsComeBeforeAnythingRuns) {
    std::vector<std::string> output{"kept"};
    auto message = [&](const std::string& file) {
        try {
            RunConsoleProgram(file, "", output, nullptr);
        } catch (const ConsoleError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("notes.txt"), "notes.txt has invalid file extension");
    EXPECT_EQ(message("no-such-program-anywhere"), "Could not find file no-such-program-anywhere");
    dir_.Write("junk.exe", "neither an image nor a script");
    EXPECT_EQ(message(dir_.Path("junk.exe")), "Executable image is not a supported type");
    EXPECT_EQ(output, (std::vector<std::string>{"kept"}));
}

// Minimal Windows images: an MZ header pointing at the new header at 0x40.
std::string Image(const std::string& signature, int characteristics = 0x0102, int subsystem = 3,
                  int neTarget = 2) {
    testing::Bytes b;
    b.Raw("MZ").Raw(std::string(58, '\0')).DWord(0x40);
    b.Raw(signature);
    if (signature == std::string("NE\0\0", 4)) {
        b.Raw(std::string(50, '\0')).Byte(neTarget).Raw(std::string(20, '\0'));
    } else if (signature == std::string("PE\0\0", 4)) {
        b.Raw(std::string(18, '\0')).Word(characteristics);
        b.Raw(std::string(68, '\0')).Word(subsystem).Raw(std::string(154, '\0'));
    }
    b.Raw(std::string(64, '\0'));
    return b.str();
}

TEST_F(ConsoleAppTest, ExecutableKinds) {
    const struct {
        std::string bytes;
        ExecutableKind kind;
        int subsystem;
    } cases[] = {
        {Image(std::string("PE\0\0", 4), 0x0102, 3), ExecutableKind::Win32, 3},
        {Image(std::string("PE\0\0", 4), 0x0102, 2), ExecutableKind::Win32, 2},
        {Image(std::string("PE\0\0", 4), 0x2102, 3), ExecutableKind::Win32Dll, 0},
        {Image(std::string("NE\0\0", 4), 0, 0, 1), ExecutableKind::Os2, 0},
        {Image(std::string("NE\0\0", 4), 0, 0, 2), ExecutableKind::Win16, 0},
        {Image(std::string("NE\0\0", 4), 0, 0, 5), ExecutableKind::OtherNe, 0},
        {Image(std::string("LE\0\0", 4)), ExecutableKind::Le, 0},
        {Image(std::string("XX\0\0", 4)), ExecutableKind::Dos, 0},
    };
    for (const auto& c : cases) {
        const ExecutableInfo info = GetExecutableKind(dir_.Write("image.exe", c.bytes));
        EXPECT_EQ(info.kind, c.kind);
        EXPECT_EQ(info.subsystem, c.subsystem);
    }
    EXPECT_THROW(GetExecutableKind(dir_.Write("elf", "\x7F" "ELF" + std::string(80, '\0'))), ConsoleError);
    try {
        GetExecutableKind(dir_.Write("notexe.exe", Image(std::string("PE\0\0", 4), 0x0100)));
        FAIL();
    } catch (const ConsoleError& e) {
        EXPECT_EQ(std::string(e.what()), "File is not executable");
    }
    // A graphical or 16-bit image is refused before it runs (wine or not).
    std::vector<std::string> output;
    EXPECT_THROW(RunConsoleProgram(dir_.Write("gui.exe", Image(std::string("PE\0\0", 4), 0x0102, 2)), "",
                                   output, nullptr),
                 ConsoleError);
    EXPECT_TRUE(output.empty());
}

}  // namespace
}  // namespace torvane::build
