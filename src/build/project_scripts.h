#pragma once

#include <functional>
#include <string>
#include <vector>

#include "build/compile_pipeline.h"
#include "build/script_interpreter.h"

namespace torvane::core {
class StatusSink;
}
namespace torvane::project {
struct Project;
}

namespace torvane::build {

// The project's pre- and post-compile scripts, run with the preference tokens.
class ProjectScripts final : public CompileScripts {
public:
    ProjectScripts(const project::Project& project, CompileState& state, ScriptInterpreter& interpreter,
                   std::vector<std::string> tokens, core::StatusSink* status)
        : project_(project), state_(state), interpreter_(interpreter), tokens_(std::move(tokens)), status_(status) {}

    void PreCompile() override;
    // ErrorCount is 1 during a run that reports failure and 0 after every run.
    void PostCompile(bool success) override;

private:
    const project::Project& project_;
    CompileState& state_;
    ScriptInterpreter& interpreter_;
    std::vector<std::string> tokens_;
    core::StatusSink* status_;
};

}  // namespace torvane::build
