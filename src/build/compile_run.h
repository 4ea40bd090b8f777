#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "build/compile_pipeline.h"
#include "build/project_scripts.h"
#include "build/script_interpreter.h"
#include "platform/game_install.h"
#include "project/project.h"

namespace torvane::core {
class EventPump;
class OutputLog;
class Prompter;
class StatusSink;
}
namespace torvane::workspace {
class ClassBrowser;
}

// One compile, or one run of the project's scripts, with everything it uses. The window and
// torvane-cli each fill a CompileSetup; CompileRun builds the script interpreter, the project's
// scripts and the compile pipeline from it in one place, so both run the same sequence. A run
// owns these parts for its whole life: nothing a running compile uses is replaced under it.
namespace torvane::build {

struct CompileSetup {
    platform::GameInstall install;
    std::string programDirectory;  // %TORVANEPATH%
    workspace::ClassBrowser* browser = nullptr;
    const project::Project* project = nullptr;  // nullptr or not open: no project
    CompileState* state = nullptr;              // ErrorCount and RunFlag; nullptr: the run's own
    std::string instanceKey;                    // %RANDKEY%
    std::vector<std::string> tokens;            // "NAME=value" lines of the preferences
    // %MODE%: the selected compile mode; empty: the mode stored in the project.
    std::function<std::string()> compileMode;

    core::Prompter* prompter = nullptr;
    core::OutputLog* log = nullptr;
    core::StatusSink* status = nullptr;
    core::EventPump* pump = nullptr;
    CompileMonitor* monitor = nullptr;
    // ASK: shows the question, returns the answer.
    std::function<std::string(const std::string& question)> ask;
    std::function<void()> saveAll;
    std::function<bool(const std::vector<std::string>& packages)> confirmRebuild;
    std::function<void(const ErrorLocation& location, int position, const std::string& errorLine)> jumpToError;
    bool autoCloseCompile = true;
};

class CompileRun final {
public:
    explicit CompileRun(CompileSetup setup);
    CompileRun(const CompileRun&) = delete;
    CompileRun& operator=(const CompileRun&) = delete;

    // The compile (DoCompile); false when it stopped before the tool ran.
    bool DoCompile(bool autoClose) { return pipeline_->DoCompile(autoClose); }
    // The project's pre- and post-compile scripts (Do PreBatch, Do PostBatch).
    CompileScripts& scripts() { return *scripts_; }
    // Script lines with the preference tokens (a macro tool).
    int RunScript(const std::vector<std::string>& lines) { return interpreter_->RunScript(lines, setup_.tokens); }
    const CompilePipeline& pipeline() const { return *pipeline_; }
    const CompileState& state() const { return *state_; }

private:
    CompileSetup setup_;
    project::Project noProject_;
    CompileState ownState_;
    CompileState* state_ = nullptr;
    std::unique_ptr<ScriptInterpreter> interpreter_;
    std::unique_ptr<ProjectScripts> scripts_;
    std::unique_ptr<CompilePipeline> pipeline_;
};

}  // namespace torvane::build
