#pragma once

#include <functional>
#include <string>
#include <vector>

#include "build/compiler_output.h"
#include "platform/game_install.h"

namespace torvane::core {
class EventPump;
class OutputLog;
class Prompter;
class StatusSink;
}
namespace torvane::project {
struct Project;
}
namespace torvane::workspace {
class ClassBrowser;
}

// The compile: prepare the game so that its tool rebuilds exactly the wanted packages, run the
// tool, put the game's configuration back and open the first error.
namespace torvane::build {

// The progress dialog (or its stand-in without windows).
class CompileMonitor {
public:
    virtual ~CompileMonitor() = default;
    virtual void Prepare(int packageCount, bool autoClose) = 0;
    // Shows the progress and calls runTool (in the dialog: 250 ms after it is on screen);
    // returns when the progress is closed.
    virtual void Show(const std::function<void()>& runTool) = 0;
    virtual void LineHandled(const CompilerOutput& output) = 0;
    // The tool ended (or could not start): the Finished state; closes itself when asked to.
    virtual void ToolFinished(const CompilerOutput& output, bool closeNow) = 0;
    // Cancel was pressed while the tool ran.
    virtual bool CancelRequested() = 0;
};

// The batch scripts of the project; throw to abandon the compile.
class CompileScripts {
public:
    virtual ~CompileScripts() = default;
    virtual void PreCompile() = 0;
    virtual void PostCompile(bool success) = 0;
};

// Workspace compile state: ErrorCount and RunFlag, read by the script macros, and the error lines
// of the last compile that ran the tool, which decide whether Compile & Run starts the game.
struct CompileState {
    int errorCount = 0;
    int runFlag = 0;
    std::vector<std::string> errorLines;
};

// How a compile ended.
enum class CompileOutcome {
    ToolRan,           // the tool ran to its end; the error lines tell how it went
    NothingToCompile,  // "Nothing to compile."
    Declined,          // the rebuild list was cancelled
    Failed,            // an error ended it (shown), or the tool could not start
    Aborted,           // the user ended the tool with Cancel
};

struct CompileContext {
    platform::GameInstall install;  // the tool, the configuration it reads, its package folders
    workspace::ClassBrowser* browser = nullptr;
    const project::Project* project = nullptr;  // nullptr or not open: no project
    core::Prompter* prompter = nullptr;
    core::OutputLog* log = nullptr;
    core::StatusSink* status = nullptr;
    core::EventPump* pump = nullptr;
    CompileMonitor* monitor = nullptr;
    CompileScripts* scripts = nullptr;
    std::function<void()> saveAll;
    // The rebuild dialog: true for OK.
    std::function<bool(const std::vector<std::string>& packages)> confirmRebuild;
    // Opens the class of the first error at its line (the class was found in the tree).
    std::function<void(const ErrorLocation& location, int position, const std::string& errorLine)> jumpToError;
    bool autoCloseCompile = true;  // the preference
    CompileState* state = nullptr;  // nullptr: the pipeline's own
};

// "UnrealTournament.torvane" beside the configuration file.
std::string CompileCopyPath(const std::string& configPath);

// A compile copy left behind (the IDE ended during a compile): asks, then puts the
// configuration back from it. Returns whether a copy was found.
bool RestoreInterruptedCompile(const std::string& configPath, core::Prompter& prompter);

// Whether a package without a project is out of date: the tool finds no ".u", or a source is
// newer than the ".u" it finds.
bool NeedsCompile(const platform::GameInstall& install, const std::string& package);

class CompilePipeline final {
public:
    explicit CompilePipeline(CompileContext context) : context_(std::move(context)) {}

    // The whole sequence; false when it stopped before the tool ran.
    bool DoCompile(bool autoClose);
    // How the last DoCompile ended.
    CompileOutcome outcome() const { return outcome_; }
    void JumpToFirstError();

    int errorCount() const { return State().errorCount; }
    int runFlag() const { return State().runFlag; }
    const CompilerOutput& output() const { return output_; }
    CompileContext& context() { return context_; }

private:
    void Log(const std::string& text);
    bool CompileCopyResolved();
    void RunTool(bool autoClose);
    void BackupAndDeletePackage(const std::string& package);
    void CheckConfigNamedByTool();
    void RestoreConfig();
    const std::string& ConfigPath() const { return context_.install.configPath(); }
    CompileState& State() { return context_.state ? *context_.state : ownState_; }
    const CompileState& State() const { return context_.state ? *context_.state : ownState_; }

    CompileContext context_;
    CompilerOutput output_;
    std::vector<std::string> outputLines_;
    CompileState ownState_;
    CompileOutcome outcome_ = CompileOutcome::NothingToCompile;
};

}  // namespace torvane::build
