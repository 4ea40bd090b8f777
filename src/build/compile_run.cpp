#include "build/compile_run.h"

#include "platform/shell_open.h"

namespace torvane::build {

CompileRun::CompileRun(CompileSetup setup) : setup_(std::move(setup)) {
    state_ = setup_.state ? setup_.state : &ownState_;
    const project::Project& project =
        setup_.project && setup_.project->IsOpen() ? *setup_.project : noProject_;

    ScriptValues values;
    values.gameRoot = setup_.install.gameRoot();
    values.project = project.name;
    values.programDirectory = setup_.programDirectory;
    values.instanceKey = setup_.instanceKey;
    values.errorCount = [state = state_] { return state->errorCount; };
    values.runFlag = [state = state_] { return state->runFlag; };
    if (setup_.compileMode) {
        values.compileMode = setup_.compileMode;
    } else {
        values.compileMode = [mode = project.compileMode] { return project::CompileModeName(mode); };
    }
    ScriptHost host;
    host.log = setup_.log;
    host.prompter = setup_.prompter;
    host.pump = setup_.pump;
    host.ask = setup_.ask;
    host.shellOpen = [](const std::string& program, const std::string& parameters) {
        return platform::ShellOpenAndWait(program, parameters);
    };
    interpreter_ = std::make_unique<ScriptInterpreter>(values, host);
    scripts_ = std::make_unique<ProjectScripts>(project, *state_, *interpreter_, setup_.tokens, setup_.status);

    CompileContext context;
    context.install = setup_.install;
    context.browser = setup_.browser;
    context.project = setup_.project;
    context.prompter = setup_.prompter;
    context.log = setup_.log;
    context.status = setup_.status;
    context.pump = setup_.pump;
    context.monitor = setup_.monitor;
    context.scripts = scripts_.get();
    context.saveAll = setup_.saveAll;
    context.confirmRebuild = setup_.confirmRebuild;
    context.jumpToError = setup_.jumpToError;
    context.autoCloseCompile = setup_.autoCloseCompile;
    context.state = state_;
    pipeline_ = std::make_unique<CompilePipeline>(std::move(context));
}

}  // namespace torvane::build
