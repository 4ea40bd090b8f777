#include "build/script_command.h"

#include <ctime>

#include "build/script_interpreter.h"
#include "core/stream_interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/shell_open.h"
#include "project/project.h"

namespace torvane::build {

int RunScriptCommand(const std::string& gameRoot, const std::string& projectFile,
                     const std::vector<std::string>& tokens, const std::string& scriptFile,
                     std::istream& in, std::ostream& out, std::ostream& err) {
    std::vector<std::string> lines;
    project::Project project;
    try {
        lines = core::SplitLines(platform::ReadWholeFile(scriptFile));
        if (!projectFile.empty()) project::ReadProjectFile(projectFile, gameRoot, project);
    } catch (const std::exception& e) {
        err << "torvane-cli: " << e.what() << "\n";
        return 1;
    }
    core::StreamOutputLog log(out);
    core::StreamPrompter prompter(out, core::Answer::Yes);
    ScriptValues values;
    values.gameRoot = gameRoot;
    values.project = project.name;
    values.instanceKey = MakeInstanceKey(static_cast<unsigned>(std::time(nullptr)));
    values.compileMode = [mode = project.compileMode] { return project::CompileModeName(mode); };
    ScriptHost host;
    host.log = &log;
    host.prompter = &prompter;
    host.ask = [&](const std::string& question) {
        out << question << "\n";
        std::string answer;
        std::getline(in, answer);
        return answer;
    };
    host.shellOpen = [](const std::string& program, const std::string& parameters) {
        return platform::ShellOpenAndWait(program, parameters);
    };
    ScriptInterpreter interpreter(values, host);
    try {
        interpreter.RunScript(lines, tokens);
    } catch (const std::exception& e) {
        err << "torvane-cli: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace torvane::build
