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
    const std::string copy = CompileCopyPath(context_.configPath);
    if (!platform::FileExists(copy)) return true;
    if (context_.prompter->Confirm(copy + " is left from a compile that did not finish; it may be the only good "
                                   "copy of the game's configuration.  Restore " + context_.configPath +
                                   " from it now?",
                                   core::Buttons::YesNo) == core::Answer::Yes) {
        std::string error;
        if (platform::CopyFileOverwrite(copy, context_.configPath, &error)) {
            platform::DeleteFile(copy);
            return true;
        }
        context_.prompter->Error("Could not restore " + context_.configPath + ": " + error + ".  Nothing was compiled.");
        return false;
    }
    context_.prompter->Error("Nothing was compiled.  Restore " + context_.configPath + " from " + copy +
                                   ", or delete " + copy + " when the configuration is good, then compile again.");
    return false;
}

bool NeedsCompile(const std::string& gameRoot, const std::string& package) {
    if (editor::IsProtectedPackage(package)) return false;
    const auto compiled = platform::FileModifiedTime(platform::ResolveGamePath(gameRoot, "\\System\\" + package + ".u"));
    if (!compiled) return true;
    for (const auto& source : platform::ListDirectory(
             platform::ResolveGamePath(gameRoot, "\\" + package + "\\Classes"), "*.uc")) {
        if (source.modified > *compiled) return true;
    }
    return false;
}

void CompilePipeline::Log(const std::string& text) {
    if (context_.log) context_.log->AppendLine(text);
}

bool CompilePipeline::DoCompile(bool autoClose) {
    const project::Project* project =
        context_.project && context_.project->IsOpen() ? context_.project : nullptr;
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
            if (NeedsCompile(context_.gameRoot, package)) compList.push_back(package);
        }
    }
    Log("Checking CompList.Count");
    if (compList.empty()) {
        context_.prompter->Information("Nothing to compile.");
        return false;
    }
    Log("Clearing Rebuild.BuildList");
    Log("Building Rebuild.BuildList");
    Log("Off to rebuild");
    if (context_.confirmRebuild && !context_.confirmRebuild(compList)) return false;

    context_.monitor->Prepare(static_cast<int>(editPacks.size()), autoClose);
    output_.Reset(static_cast<int>(editPacks.size()));
    outputLines_.clear();
    State().errorCount = 0;
    if (context_.log) context_.log->Clear();

    // The compile copy comes first: when it cannot be made, nothing has been changed yet and the
    // compile stops here, before any package is deleted or the configuration rewritten.
    std::string copyError;
    if (!platform::CopyFileOverwrite(context_.configPath, CompileCopyPath(context_.configPath), &copyError)) {
        context_.prompter->Error("Could not copy " + context_.configPath + " to " +
                                 CompileCopyPath(context_.configPath) + ": " + copyError +
                                 ".  Nothing was compiled.");
        return false;
    }
    if (context_.status) context_.status->SetWorkspaceStatus("Making backups...");
    for (const std::string& package : compList) {
        BackupPackage(package);
        platform::DeleteFile(platform::ResolveGamePath(context_.gameRoot, "\\System\\" + package + ".u"));
    }
    try {
        if (project && project->userInclude) RewriteEditPackages();
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
    const platform::GameTool tool = platform::GameInstall::Detect(context_.gameRoot).tool();
    pid_t child = -1;
    bool aborted = false;
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
    }
    output_.Finish();
    State().errorCount = static_cast<int>(output_.errorLines().size());
    const bool closeNow = output_.errorLines().empty() && (autoClose || context_.autoCloseCompile) && !aborted;
    context_.monitor->ToolFinished(output_, closeNow || aborted);
}

void CompilePipeline::BackupPackage(const std::string& package) {
    const std::string compiled = platform::ResolveGamePath(context_.gameRoot, "\\System\\" + package + ".u");
    const project::Project* project = context_.project;
    const std::string backupDir = project && project->IsOpen() ? project->backupDir : std::string();
    if (!backupDir.empty() && platform::DirectoryExists(platform::ResolvePath(backupDir))) {
        if (platform::FileExists(compiled)) {
            platform::CopyFileOverwrite(compiled, platform::JoinPath(platform::ResolvePath(backupDir), package + ".~u"));
        }
        return;
    }
    platform::CopyFileOverwrite(compiled, core::BackupName(compiled));
}

void CompilePipeline::RewriteEditPackages() {
    std::vector<std::string> lines = core::SplitLines(platform::ReadWholeFile(context_.configPath));
    std::ptrdiff_t first = -1;
    for (std::size_t i = 0; i < lines.size();) {
        if (core::UpperCase(lines[i]).find("EDITPACKAGES") != std::string::npos &&
            (lines[i].empty() || lines[i][0] != '!')) {
            if (first < 0) first = static_cast<std::ptrdiff_t>(i);
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    if (first < 0) return;
    std::vector<std::string> included;
    for (const std::string& name : context_.project->includePacks) included.push_back("EditPackages=" + name);
    lines.insert(lines.begin() + first, included.begin(), included.end());
    core::BackupFile(context_.configPath);
    platform::WriteFileAtomic(context_.configPath, core::JoinLinesCrLf(lines));
}

void CompilePipeline::RestoreConfig() {
    const std::string copy = CompileCopyPath(context_.configPath);
    if (!platform::FileExists(copy)) return;
    if (platform::CopyFileOverwrite(copy, context_.configPath)) platform::DeleteFile(copy);
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
