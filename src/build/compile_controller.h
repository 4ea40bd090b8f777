#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "build/compile_run.h"

class QListWidgetItem;

namespace torvane::shell {
class QtEventPump;
class TMain;
class TPrefs;
}
namespace torvane::workspace {
class TWorkspace;
}

namespace torvane::build {

class TAsk;
class TCompile;
class Trebuild;

// Starts compiles from the windows and shows their outcome: the progress dialog, the jump to
// the first error, and the output log's double-click on error lines.
class CompileController final : public QObject {
    Q_OBJECT

public:
    CompileController(shell::TMain& main, workspace::TWorkspace& workspace, TCompile& progress,
                      Trebuild& rebuild, shell::TPrefs& prefs, TAsk& ask);
    ~CompileController() override;

    // Project > Compile (F7). Refused while a compile or script runs.
    void Compile(bool autoClose);
    // The compile of Compile && Run, with AutoClose; the caller holds the busy state. Says how
    // the compile ended.
    CompileOutcome CompileForLaunch();
    void OutputLogDblClick(QListWidgetItem* item);
    // Project > Do PreBatch... and Do PostBatch...: the output log is cleared first. Refused
    // while a compile or script runs; a script's error propagates to the command boundary.
    void DoPreBatch();
    void DoPostBatch(bool success);
    // A macro tool: "Performing Macro" in the status line, then the one script line with the
    // preference tokens. Refused while a compile or script runs; a script's error propagates to
    // the command boundary.
    void RunMacro(const std::string& scriptLine);
    // ErrorCount and RunFlag: the last compile's, read by the script macros.
    const CompileState& State() const { return state_; }
    CompileState& State() { return state_; }
    const std::string& InstanceKey() const { return instanceKey_; }
    // Replaces the rebuild dialog (tests).
    void SetRebuildConfirmation(std::function<bool(const std::vector<std::string>&)> confirm) {
        confirmRebuild_ = std::move(confirm);
    }

private:
    CompileSetup MakeSetup();
    CompileOutcome RunCompile(bool autoClose);
    void JumpToError(const ErrorLocation& location, int position, const std::string& errorLine);
    void GotoLine(const std::string& lineText);
    std::vector<std::string> Tokens() const;

    shell::TMain& main_;
    workspace::TWorkspace& workspace_;
    TCompile& progress_;
    Trebuild& rebuild_;
    std::unique_ptr<shell::QtEventPump> pump_;
    std::function<bool(const std::vector<std::string>&)> confirmRebuild_;
    shell::TPrefs& prefs_;
    TAsk& ask_;
    CompileState state_;
    std::string instanceKey_;
};

}  // namespace torvane::build
