#include "build/script_interpreter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QUdpSocket>
#include <climits>
#include <cstdlib>

#include "build/project_scripts.h"
#include "platform/file_ops.h"
#include "project/project.h"
#include "shell/settings_file.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::build {
namespace {

using testing::TempDir;

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        char buffer[PATH_MAX];
        startDir_ = ::getcwd(buffer, sizeof buffer);
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    void TearDown() override { EXPECT_EQ(::chdir(startDir_.c_str()), 0); }

    ScriptInterpreter Interpreter() {
        ScriptValues values;
        values.gameRoot = dir_.Path("ut");
        values.project = project_;
        values.programDirectory = "/opt/torvane";
        values.instanceKey = "0A0B0C0D0E0F1011";
        values.errorCount = [this] { return state_.errorCount; };
        values.runFlag = [] { return 1; };
        values.compileMode = [] { return std::string("Debug Mode"); };
        values.clock = [] { return static_cast<std::time_t>(1796825100); };  // 2026-12-09 14:05 UTC
        ScriptHost host;
        host.log = &log_;
        host.prompter = &prompter_;
        host.ask = [this](const std::string& question) {
            questions_.push_back(question);
            return answer_;
        };
        host.shellOpen = [this](const std::string& program, const std::string&) {
            opened_.push_back(program);
            return true;
        };
        return ScriptInterpreter(values, host);
    }
    std::vector<std::string> Run(const std::vector<std::string>& lines, const std::vector<std::string>& tokens = {}) {
        log_.Clear();
        Interpreter().RunScript(lines, tokens);
        return log_.lines();
    }
    std::string Script(const std::string& name, const std::string& body) {
        const std::string path = dir_.Write(name, "#!/bin/sh\n" + body + "\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }

    TempDir dir_;
    std::string startDir_;
    std::string project_ = "Demo";
    CompileState state_;
    testing::RecordingOutputLog log_;
    testing::ScriptedPrompter prompter_;
    std::vector<std::string> questions_;
    std::string answer_ = "typed";
    std::vector<std::string> opened_;
};

TEST_F(ScriptTest, LanguageCases) {
    const std::string exit3 = Script("exit3.sh", "exit 3");
    const struct {
        const char* name;
        std::vector<std::string> script;
        std::vector<std::string> tokens;
        std::vector<std::string> log;
    } cases[] = {
        {"Comments", {"ECHO Hello // note", "// note", "   ", "ECHO after"}, {}, {"Hello", "after"}},
        {"TokensFirstOccurrenceUpperCase", {"ECHO %greeting% %Greeting%"}, {"Greeting=hello"}, {"HELLO %Greeting%"}},
        {"IllegalToken", {"ECHO x"}, {"NoEquals"}, {"Illegal Token NOEQUALS", "x"}},
        {"Variables", {"SET %1 abc", "ECHO %1%1"}, {}, {"abc%1"}},
        {"IllegalSet", {"SET x y"}, {}, {"Error at Line No. 0: Illegal Var in Set, statement skipped"}},
        {"ErrorLevelStartsAtZero", {"IF %ERRORLEVEL% = 0 done", "ECHO not here", ":done", "ECHO jumped"}, {},
         {"jumped"}},
        {"ErrorLevelAfterAProgram", {exit3, "IF %ERRORLEVEL% = 0 done", "ECHO three", ":done"}, {},
         {"Executing " + exit3 + " ", "", "three"}},
        {"ErrorLevelIsNoMacro", {"ECHO %ERRORLEVEL%"}, {}, {"%ERRORLEVEL%"}},
        {"NotEqual", {"SET %2 x", "IF %2 != y out", "ECHO no", ":out", "ECHO end"}, {}, {"end"}},
        {"UnknownIf", {"IF foo bar"}, {}, {"Error at Line no. 0: Unkown IF command, statement skipped"}},
        {"NoIfDestination", {"IF a = a"}, {}, {"Error at Line No. 0: No destination in IF Goto, statement skipped"}},
        {"MissingIfDestination", {"ECHO x", "IF a = a nowhere"}, {},
         {"x", "Error at Line No. 1: Destination does not exist in IF Goto, statement skipped"}},
        {"MissingGotoDestination", {"GOTO nowhere"}, {},
         {"Error at Line No. 0: Destination does not exist in Goto, statement skipped"}},
        {"GotoTakesTheFirstLabel", {"GOTO twice", ":twice", "ECHO first", "STOP 0", ":twice", "ECHO second"}, {},
         {"first"}},
        {"Macros", {"ECHO %project% %MODE% %RUN% %RANDKEY% %TORVANEPATH%"}, {},
         {"Demo Debug Mode 1 0A0B0C0D0E0F1011 /opt/torvane"}},
        {"VersionAndDateTime", {"ECHO %VERSION% %DATETIME%"}, {}, {"6.12.9 2026129.145"}},
        {"ExtensionWithoutDot", {"CHANGEEXT *.uc bak"}, {},
         {"Error at Line No. 0: EXT in ChangeExt does illegal, statement skipped"}},
        {"IllegalAsk", {"ASK %0 q", "ASK"}, {},
         {"Error at Line No. 0: Illegal Var in Ask, statement skipped",
          "Error at Line No. 1: Illegal Var in Ask, statement skipped"}},
        {"Mount", {"MOUNT \\\\server\\share secret"}, {}, {"Failed to mount \\\\server\\share"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Run(c.script, c.tokens), c.log) << c.name;
}

TEST_F(ScriptTest, AskStoresTheAnswer) {
    EXPECT_EQ(Run({"ASK %3 \"Which map?\"", "ECHO %3", "ASK %4", "ECHO [%4]"}),
              (std::vector<std::string>{"typed", "[typed]"}));
    EXPECT_EQ(questions_, (std::vector<std::string>{"Which map?", "Ask?"}));
}

TEST_F(ScriptTest, ErrorsEndTheRunAndTheDirectoryIsPutBack) {
    platform::CreateDirectories(dir_.Path("work"));
    char buffer[PATH_MAX];
    const std::string before = ::getcwd(buffer, sizeof buffer);
    for (const char* bad : {"STOP", "SLEEP soon", "UDP 127.0.0.1 port START_SERVER"}) {
        EXPECT_THROW(Run({"CD " + dir_.Path("work"), bad}), shell::ConversionError) << bad;
        EXPECT_EQ(std::string(::getcwd(buffer, sizeof buffer)), before);
    }
    EXPECT_EQ(Interpreter().RunScript({"STOP 7", "ECHO never"}, {}), 7);
}

TEST_F(ScriptTest, FileCommands) {
    dir_.Write("files/a.bak", "a");
    dir_.Write("files/b.bak", "b");
    dir_.Write("files/.hidden.bak", "h");
    dir_.Write("files/locked.bak", "l");
    ::chmod(dir_.Path("files/locked.bak").c_str(), 0444);
    dir_.Write("files/Core.u", "c");
    dir_.Write("files/Engine.U", "e");
    platform::CreateDirectories(dir_.Path("dest"));
    const std::string files = dir_.Path("files") + "/";
    const auto log = Run({"DEL " + files + "*.bak", "COPY " + files + "Core.u " + dir_.Path("nowhere"),
                          "MOVE " + files + "*.u " + dir_.Path("dest"),
                          "CHANGEEXT " + dir_.Path("dest") + "/*.u .bak",
                          "REN " + dir_.Path("dest") + "/Core.bak Old.bak",
                          "COPY " + files + "missing.u " + dir_.Path("dest")});
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Deleting " + files + "a.bak", "Deleting " + files + "b.bak",
                       "Error at Line No. 1: Dest. param in Copy does not exist, statement skipped",
                       "Moving " + files + "Core.u", "Moving " + files + "Engine.U",
                       "Changing EXT " + dir_.Path("dest") + "/Core.u to .bak",
                       "Changing EXT " + dir_.Path("dest") + "/Engine.U to .bak",
                       "Renaming " + dir_.Path("dest") + "/Core.bak to " + dir_.Path("dest") + "/Old.bak",
                       "Error at Line No. 5: Source param in Copy does not exist, statement skipped"}));
    EXPECT_TRUE(platform::FileExists(dir_.Path("files/.hidden.bak")));
    EXPECT_TRUE(platform::FileExists(dir_.Path("files/locked.bak")));
    EXPECT_FALSE(platform::FileExists(dir_.Path("files/Core.u")));
    EXPECT_TRUE(platform::FileExists(dir_.Path("dest/Old.bak")));
    EXPECT_TRUE(platform::FileExists(dir_.Path("dest/Engine.bak")));
}

TEST_F(ScriptTest, BackslashPathsAndExistence) {
    dir_.Write("ut/System/Core.u", "c");
    dir_.Write("my dir/file.txt", "x");
    const std::string windowsStyle = dir_.Path("ut") + "\\SYSTEM\\core.u";
    EXPECT_EQ(Run({"IF EXISTS " + windowsStyle + " found", "ECHO missing", ":found",
                   "IF EXISTS \"" + dir_.Path("my dir/file.txt") + "\" spaced", "ECHO no blanks", ":spaced",
                   "IF DIREXISTS %UTSYSTEM% sys", "ECHO no system", ":sys", "ECHO %UTSYSTEM%"}),
              (std::vector<std::string>{dir_.Path("ut/System")}));
    EXPECT_EQ(Run({"MD " + dir_.Path("new/sub"), "MD " + dir_.Path("new/sub"), "CD " + dir_.Path("new"),
                   "CD " + dir_.Path("absent")}),
              (std::vector<std::string>{"MD " + dir_.Path("new/sub"), "CD " + dir_.Path("new"),
                                        " Can not change to " + dir_.Path("absent")}));
}

TEST_F(ScriptTest, DefPropChangesARealSource) {
    testing::CopyTree(testing::FixturesDir() + "/ut99/IpDrv/Classes", dir_.Path("src"));
    const std::string file = dir_.Path("src/UdpBeacon.uc");
    const auto log = Run({"DEFPROP " + file + " BeaconPort 1234", "DEFPROP " + file + " NoSuchProp 1",
                          "DEFPROP " + file + " BeaconPort", "DEFPROP " + dir_.Path("src/none.uc") + " a b"});
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Setting BeaconPort to 1234 in " + file,
                       "Error at Line No. 2: Illegal Prop/Value in DefProp, statement skipped",
                       "Error at Line No. 3: Source does not exists in DefProp, statement skipped"}));
    const std::string text = dir_.Read("src/UdpBeacon.uc");
    EXPECT_NE(text.find("      BeaconPort=1234\r\n"), std::string::npos);
    EXPECT_NE(text.find("ServerBeaconPort=8777"), std::string::npos);  // the other key stays
    EXPECT_NE(dir_.Read("src/UdpBeacon.~uc").find("BeaconPort=9777"), std::string::npos);
}

TEST_F(ScriptTest, UdpSendsExactlyTheText) {
    QUdpSocket receiver;
    ASSERT_TRUE(receiver.bind(QHostAddress::LocalHost, 0));
    Run({"UDP 127.0.0.1 " + std::to_string(receiver.localPort()) + " START_SERVER"});
    ASSERT_TRUE(receiver.waitForReadyRead(3000));
    QByteArray datagram(2048, '\0');
    const qint64 size = receiver.readDatagram(datagram.data(), datagram.size());
    EXPECT_EQ(size, 12);
    EXPECT_EQ(datagram.left(12), "START_SERVER");
}

TEST_F(ScriptTest, UnrunnableProgramIsOpenedByTheDesktop) {
    dir_.Write("readme.txt", "not a program");
    const auto log = Run({"readme.txt", "IF %ERRORLEVEL% = 0 ok", "ECHO changed", ":ok"});
    EXPECT_EQ(log, (std::vector<std::string>{"Executing readme.txt "}));
    EXPECT_EQ(opened_, (std::vector<std::string>{"readme.txt"}));
}

TEST_F(ScriptTest, SelfNamingMacroValueEnds) {
    project_ = "x%PROJECT%";
    const auto log = Run({"ECHO %PROJECT%"});
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("xx", 0), 0u);
    EXPECT_LT(log[0].size(), 70000u);
}

// The workspace status line names the project's script while it runs and is cleared after.
TEST_F(ScriptTest, ProjectScriptsClearTheStatusLineWhenTheyEnd) {
    project::Project project;
    project.doPreBatch = true;
    project.preBatch = {"ECHO before"};
    project.doPostBatch = true;
    project.postBatch = {"ECHO after"};
    testing::RecordingStatusSink status;
    ScriptInterpreter interpreter = Interpreter();
    ProjectScripts scripts(project, state_, interpreter, {}, &status);
    scripts.PreCompile();
    scripts.PostCompile(true);
    EXPECT_EQ(status.workspace(),
              (std::vector<std::string>{"Performing Pre-Compile", "", "Performing Post-Compile", ""}));
    EXPECT_EQ(log_.lines(), (std::vector<std::string>{"before", "after"}));
}

TEST_F(ScriptTest, PostCompileSeesTheFailureAndResetsErrorCount) {
    project::Project project;
    project.doPostBatch = true;
    project.postBatch = {"ECHO errors=%ERRORCOUNT%"};
    ScriptInterpreter interpreter = Interpreter();
    ProjectScripts scripts(project, state_, interpreter, {}, nullptr);
    scripts.PostCompile(false);
    EXPECT_EQ(log_.lines().back(), "errors=1");
    EXPECT_EQ(state_.errorCount, 0);
    scripts.PostCompile(true);
    EXPECT_EQ(log_.lines().back(), "errors=0");
}

TEST(InstanceKeyTest, SixteenCharactersOfPairsFrom0ATo1F) {
    const std::string key = MakeInstanceKey(12345);
    ASSERT_EQ(key.size(), 16u);
    for (std::size_t i = 0; i < 16; i += 2) {
        const int value = std::stoi(key.substr(i, 2), nullptr, 16);
        EXPECT_GE(value, 10);
        EXPECT_LE(value, 31);
    }
    EXPECT_EQ(MakeInstanceKey(12345), key);
}

TEST(SplitWordTest, QuotesAndPercentQuote) {
    std::string line = "\"C:\\My Files\\x.txt\" rest \"quoted\"";
    EXPECT_EQ(SplitWord(line), "C:\\My Files\\x.txt");
    EXPECT_EQ(line, "rest \"quoted\"");
    std::string quote = "say%\"hi%\" there";
    EXPECT_EQ(SplitWord(quote), "say\"hi\"");
    std::string empty;
    EXPECT_EQ(SplitWord(empty), "");
}

}  // namespace
}  // namespace torvane::build
