#include "build/script_command.h"

#include <ctime>

#include "build/compile_run.h"
#include "core/stream_interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "project/project.h"

namespace torvane::build {

namespace {

int RunLines(const std::string& gameRoot, const std::string& programDirectory, const project::Project& project,
             const std::vector<std::string>& tokens, const std::vector<std::string>& lines, std::istream& in,
             std::ostream& out, std::ostream& err) {
    core::StreamOutputLog log(out);
    core::StreamPrompter prompter(out, core::Answer::Yes);
    CompileSetup setup;
    setup.install = platform::GameInstall::Detect(gameRoot);
    setup.programDirectory = programDirectory;
    setup.project = &project;
    setup.instanceKey = MakeInstanceKey(static_cast<unsigned>(std::time(nullptr)));
    setup.tokens = tokens;
    setup.prompter = &prompter;
    setup.log = &log;
    setup.ask = [&](const std::string& question) { return core::AskOnStreams(in, out, question); };
    CompileRun run(std::move(setup));
    try {
        run.RunScript(lines);
    } catch (const std::exception& e) {
        err << "torvane-cli: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

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
    return RunLines(gameRoot, "", project, tokens, lines, in, out, err);
}

int RunScriptLinesCommand(const std::string& gameRoot, const std::string& programDirectory,
                          const std::vector<std::string>& tokens, const std::vector<std::string>& lines,
                          std::istream& in, std::ostream& out, std::ostream& err) {
    const project::Project noProject;
    return RunLines(gameRoot, programDirectory, noProject, tokens, lines, in, out, err);
}

}  // namespace torvane::build
