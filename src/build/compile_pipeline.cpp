#include "build/compile_pipeline.h"

#include <sys/types.h>

#include "build/console_app.h"
#include "core/backup.h"
#include "core/interaction.h"
#include "core/text.h"
#include "editor/editor_rules.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "platform/game_paths.h"
#include "platform/process.h"
#include "project/project.h"
#include "workspace/class_browser.h"
#include "workspace/edit_packages.h"

namespace torvane::build {

std::string CompileCopyPath(const std::string& configPath) {
    return platform::SplitLastSeparator(configPath).first + "/UnrealTournament.torvane";
}

bool RestoreInterruptedCompile(const std::string& configPath, core::Prompter& prompter) {
    const std::string copy = CompileCopyPath(configPath);
    if (!platform::FileExists(copy)) return false;
    if (prompter.Confirm("A compile did not finish: the game's configuration may still be prepared for it.  "
                         "Restore UnrealTournament.ini from UnrealTournament.torvane?",
                         core::Buttons::YesNo) == core::Answer::Yes) {
        if (platform::CopyFileOverwrite(copy, configPath)) platform::DeleteFile(copy);
    }
    return true;
}

// A compile copy left by a compile that did not finish may be the only good copy of the game's
// configuration: it is never overwritten. The user restores from it now or keeps it, and then
// nothing is compiled.
bool CompilePipeline::CompileCopyResolved() {
    const std::string copy = CompileCopyPath(ConfigPath());
    if (!platform::FileExists(copy)) return true;
    if (context_.prompter->Confirm(copy + " is left from a compile that did not finish; it may be the only good "
                                   "copy of the game's configuration.  Restore " + ConfigPath() +
                                   " from it now?",
                                   core::Buttons::YesNo) == core::Answer::Yes) {
        std::string error;
        if (platform::CopyFileOverwrite(copy, ConfigPath(), &error)) {
            platform::DeleteFile(copy);
            return true;
        }
        context_.prompter->Error("Could not restore " + ConfigPath() + ": " + error + ".  Nothing was compiled.");
        return false;
    }
    context_.prompter->Error("Nothing was compiled.  Restore " + ConfigPath() + " from " + copy +
                                   ", or delete " + copy + " when the configuration is good, then compile again.");
    return false;
}

bool NeedsCompile(const platform::GameInstall& install, const std::string& package) {
    if (editor::IsProtectedPackage(package)) return false;
    const auto compiled = platform::FileModifiedTime(install.FindPackageFile(package));
    if (!compiled) return true;
    for (const auto& source : platform::ListDirectory(
             platform::ResolveGamePath(install.gameRoot(), "\\" + package + "\\Classes"), "*.uc")) {
        if (source.modified > *compiled) return true;
    }
    return false;
}

void CompilePipeline::Log(const std::string& text) {
    if (context_.log) context_.log->AppendLine(text);
}

bool CompilePipeline::DoCompile(bool autoClose) {
    const core::WorkspaceStatusScope status(context_.status);
    const project::Project* project =
        context_.project && context_.project->IsOpen() ? context_.project : nullptr;
    outcome_ = CompileOutcome::Failed;
    if (!CompileCopyResolved()) return false;
    State().runFlag = autoClose ? 1 : 0;
    Log("------- In DoCompile");
    Log("Creating Lists");
    std::vector<std::string> editPacks;
    std::vector<std::string> compList;
    Log("Saving All Files");
    if (context_.saveAll) context_.saveAll();
    Log("Processing EditPacks");
    if (context_.browser) editPacks = context_.browser->EditPackageNames();
    Log("Checking Project");
    if (project) {
        compList = project->packages;
        if (project->userInclude) {
            std::erase_if(editPacks, [&](const std::string& p) { return !core::ContainsIgnoringCase(project->includePacks, p); });
        }
    } else {
        for (const std::string& package : editPacks) {
            if (NeedsCompile(context_.install, package)) compList.push_back(package);
        }
    }
    Log("Checking CompList.Count");
    if (compList.empty()) {
        context_.prompter->Information("Nothing to compile.");
        outcome_ = CompileOutcome::NothingToCompile;
        return false;
    }
    Log("Clearing Rebuild.BuildList");
    Log("Building Rebuild.BuildList");
    Log("Off to rebuild");
    if (context_.confirmRebuild && !context_.confirmRebuild(compList)) {
        outcome_ = CompileOutcome::Declined;
        return false;
    }

    context_.monitor->Prepare(static_cast<int>(editPacks.size()), autoClose);
    output_.Reset(static_cast<int>(editPacks.size()));
    outputLines_.clear();
    State().errorCount = 0;
    State().errorLines.clear();
    if (context_.log) context_.log->Clear();

    // The compile copy comes first: when it cannot be made, nothing has been changed yet and the
    // compile stops here, before any package is deleted or the configuration rewritten.
    std::string copyError;
    if (!platform::CopyFileOverwrite(ConfigPath(), CompileCopyPath(ConfigPath()), &copyError)) {
        context_.prompter->Error("Could not copy " + ConfigPath() + " to " + CompileCopyPath(ConfigPath()) + ": " + copyError +
                                 ".  Nothing was compiled.");
        return false;
    }
    if (context_.status) context_.status->SetWorkspaceStatus("Making backups...");
    for (const std::string& package : compList) BackupAndDeletePackage(package);
    try {
        if (project && project->userInclude) workspace::ReplaceEditPackageLines(ConfigPath(), project->includePacks);
        if (project && project->doPreBatch && context_.scripts) context_.scripts->PreCompile();
    } catch (const std::exception& e) {
        context_.prompter->Error(e.what());
        RestoreConfig();  // the configuration is never left prepared
        return false;
    }
    if (context_.status) context_.status->SetWorkspaceStatus("Compiling...");
    context_.monitor->Show([this, autoClose] { RunTool(autoClose); });
    RestoreConfig();
    if (!output_.errorLines().empty()) JumpToFirstError();
    if (project && project->doPostBatch && context_.scripts) {
        try {
            context_.scripts->PostCompile(output_.errorLines().empty());
        } catch (const std::exception& e) {
            context_.prompter->Error(e.what());
        }
    }
    if (context_.browser) context_.browser->LoadEditPackages();
    return true;
}

void CompilePipeline::RunTool(bool autoClose) {
    const platform::GameTool& tool = context_.install.tool();
    pid_t child = -1;
    bool aborted = false;
    bool started = true;
    RunOptions options;
    options.workingDirectory = tool.workingDirectory;
    options.environment = tool.environment;
    options.started = [&child](pid_t pid) { child = pid; };
    try {
        RunConsoleProgram(tool.program, "make", outputLines_, [&](std::vector<std::string>& lines) {
            output_.HandleLine(lines, *context_.log);
            context_.monitor->LineHandled(output_);
            if (context_.pump) context_.pump->ProcessPendingEvents();
            if (!aborted && context_.monitor->CancelRequested() && child > 0) {
                aborted = true;
                context_.log->AppendLine("Compile aborted by User!");
                platform::TerminateProcessGroup(child);
            }
        }, options);
    } catch (const std::exception& e) {  // the tool could not start; the dialog still finishes
        context_.prompter->Error(e.what());
        started = false;
    }
    CheckConfigNamedByTool();
    output_.Finish();
    State().errorCount = static_cast<int>(output_.errorLines().size());
    State().errorLines = output_.errorLines();
    outcome_ = !started ? CompileOutcome::Failed : aborted ? CompileOutcome::Aborted : CompileOutcome::ToolRan;
    const bool closeNow = output_.errorLines().empty() && (autoClose || context_.autoCloseCompile) && !aborted;
    context_.monitor->ToolFinished(output_, closeNow || aborted);
}

// Every copy of the package the tool could find goes, or the tool would skip the package and
// report success over the old one. The copy it would have found is the backup (in the project's
// backup directory when that exists, else beside itself as <Package>.~u); any other copy is kept
// beside itself as <Package>.~u. Failures are not reported.
void CompilePipeline::BackupAndDeletePackage(const std::string& package) {
    const project::Project* project = context_.project;
    const std::string backupDir =
        project && project->IsOpen() && !project->backupDir.empty() ? platform::ResolvePath(project->backupDir) : std::string();
    const std::vector<std::string> copies = context_.install.PackageFileCopies(package);
    for (std::size_t i = 0; i < copies.size(); ++i) {
        if (i == 0 && !backupDir.empty() && platform::DirectoryExists(backupDir)) {
            platform::CopyFileOverwrite(copies[i], platform::JoinPath(backupDir, package + ".~u"));
        } else {
            platform::CopyFileOverwrite(copies[i], core::BackupName(copies[i]));
        }
        platform::DeleteFile(copies[i]);
    }
}

// The current patch's Linux tool names the configuration it reads. When that is not the file
// this compile prepared, the tool compiled another package list: the compile has failed, whatever
// the tool says.
void CompilePipeline::CheckConfigNamedByTool() {
    const std::string& named = output_.configNamedByTool();
    if (named.empty() || platform::SameFile(named, ConfigPath()) || !context_.log) return;
    output_.AddFailure(ConfigMismatchLine(named, ConfigPath()), *context_.log);
}

void CompilePipeline::RestoreConfig() {
    const std::string copy = CompileCopyPath(ConfigPath());
    if (!platform::FileExists(copy)) return;
    if (platform::CopyFileOverwrite(copy, ConfigPath())) platform::DeleteFile(copy);
}

void CompilePipeline::JumpToFirstError() {
    if (output_.errorLines().empty() || !context_.browser) return;
    const std::string& line = output_.errorLines().front();
    const ErrorLocation location = ParseErrorLine(line);
    if (!location.valid) return;
    const int position = context_.browser->FindClass(location.className);
    if (position < 0 || !context_.jumpToError) return;
    context_.jumpToError(location, position, line);
}

}  // namespace torvane::build
