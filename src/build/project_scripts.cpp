#include "build/project_scripts.h"

#include "core/interaction.h"
#include "project/project.h"

namespace torvane::build {

void ProjectScripts::PreCompile() {
    if (!project_.doPreBatch) return;
    const core::WorkspaceStatusScope status(status_);
    if (status_) status_->SetWorkspaceStatus("Performing Pre-Compile");
    interpreter_.RunScript(project_.preBatch, tokens_);
}

void ProjectScripts::PostCompile(bool success) {
    if (!project_.doPostBatch) return;
    if (!success) state_.errorCount = 1;
    const core::WorkspaceStatusScope status(status_);
    if (status_) status_->SetWorkspaceStatus("Performing Post-Compile");
    struct ResetErrorCount {
        CompileState& state;
        ~ResetErrorCount() { state.errorCount = 0; }
    } reset{state_};
    interpreter_.RunScript(project_.postBatch, tokens_);
}

}  // namespace torvane::build
