#include "build/game_launch.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "core/interaction.h"
#include "platform/process.h"
#include "platform/tool_command.h"
#include "project/project.h"

namespace torvane::build {

bool LaunchFollowsCompile(CompileOutcome outcome, const std::vector<std::string>& lastErrorLines) {
    switch (outcome) {
        case CompileOutcome::ToolRan:
        case CompileOutcome::NothingToCompile:
        case CompileOutcome::Declined: return lastErrorLines.empty();
        case CompileOutcome::Failed:
        case CompileOutcome::Aborted: return false;
    }
    return false;
}

std::string StartAndWait(const platform::GameTool& program, const std::string& parameters) {
    const std::string cannotStart = "Could not start " + program.program + ": ";
    platform::ProcessSpec spec;
    spec.argv = platform::ProgramCommand(program.program);
    if (spec.argv.empty()) return cannotStart + "it is a Windows program, and wine is not installed.";
    for (std::string& word : platform::SplitCommandLine(parameters)) spec.argv.push_back(std::move(word));
    spec.workingDirectory = program.workingDirectory;
    spec.environment = program.environment;
    std::string error;
    const pid_t pid = platform::StartProcess(spec, &error);
    if (pid < 0) return cannotStart + error + ".";
    platform::WaitForProcess(pid, -1);  // what the program's exit code says is its own business
    return {};
}

void RunGame(const GameLaunchContext& context, bool compileFirst) {
    CompileState& state = *context.state;
    state.runFlag = 1;
    if (compileFirst) {
        if (!LaunchFollowsCompile(context.compile(), state.errorLines)) return;
    } else {
        state.errorLines.clear();
    }
    if (context.status) context.status->SetWorkspaceStatus("Launching Unreal Tournament");
    if (context.pause) {
        context.pause(kLaunchPauseMs);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(kLaunchPauseMs));
    }

    const project::Project* project =
        context.project && context.project->IsOpen() ? context.project : nullptr;
    const platform::GameLaunch launch = context.install.Launch(project && project->useUCC);
    const std::string parameters = project ? project->testParams : std::string();
    // Log files carry whole seconds: a log written in the second of the start counts as the run's.
    const std::int64_t started = static_cast<std::int64_t>(std::time(nullptr));
    std::string error;
    context.window->RunBlocking(context.minimizeOnRun,
                                [&] { error = StartAndWait(launch.program, parameters); });
    if (!error.empty()) context.prompter->Error(error);
    if (project && project->openLog) context.window->ShowLog(launch.LogPath(started));
}

}  // namespace torvane::build
