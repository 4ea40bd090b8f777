#include "build/compile_controller.h"

#include <QAction>
#include <QListWidget>
#include <ctime>

#include "build/compile_run.h"
#include "build/task.h"
#include "build/tcompile.h"
#include "core/interaction.h"
#include "shell/preferences.h"
#include "editor/find_in_files.h"
#include "editor/teditor.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "shell/command_ids.h"
#include "shell/main_window_rules.h"
#include "shell/qt_interaction.h"
#include "shell/settings_file.h"
#include "shell/tmain.h"
#include "shell/tprefs.h"
#include "widgets/text_codec.h"
#include "workspace/tworkspace.h"

namespace torvane::build {

using widgets::FromQString;
using widgets::ToQString;

CompileController::CompileController(shell::TMain& main, workspace::TWorkspace& workspace,
                                     TCompile& progress, Trebuild& rebuild, shell::TPrefs& prefs, TAsk& ask)
    : QObject(&main), main_(main), workspace_(workspace), progress_(progress), rebuild_(rebuild),
      pump_(std::make_unique<shell::QtEventPump>()), prefs_(prefs), ask_(ask),
      instanceKey_(MakeInstanceKey(static_cast<unsigned>(std::time(nullptr)))) {
    shell::CommandRegistry& c = main_.Commands();
    using namespace shell::cmd;
    c.Connect(kCompile, this, [this] { Compile(false); });
    c.Connect(kDoPreBatch, this, [this] { DoPreBatch(); });
    c.Connect(kPostBatchSuccess, this, [this] { DoPostBatch(true); });
    c.Connect(kPostBatchFailure, this, [this] { DoPostBatch(false); });
    c.SetAvailability(kCompile, [this] { return main_.BusyReason(); });
    c.SetAvailability(kDoPreBatch, [this] { return main_.ProjectReason(); });
    auto postBatch = [this] {
        const QString reason = main_.ProjectReason();
        if (!reason.isEmpty() || !workspace_.Session()->project().postBatch.empty()) return reason;
        return QStringLiteral("The project has no post-compile script.");
    };
    c.SetAvailability(kPostBatchSuccess, postBatch);
    c.SetAvailability(kPostBatchFailure, postBatch);
    connect(main_.OutputLogWidget(), &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        shell::RunGuarded(main_.Prompter(), [&] { OutputLogDblClick(item); });
    });
}

CompileController::~CompileController() = default;

std::vector<std::string> CompileController::Tokens() const { return shell::TokenLines(prefs_.Current().tokens); }

// Everything a compile or a script run takes from the windows; CompileRun builds the rest.
CompileSetup CompileController::MakeSetup() {
    CompileSetup setup;
    setup.install = main_.Install();
    setup.programDirectory = main_.Paths().programDirectory;
    setup.browser = workspace_.Browser();
    setup.project = workspace_.Session() ? &workspace_.Session()->project() : nullptr;
    setup.state = &state_;
    setup.instanceKey = instanceKey_;
    setup.tokens = Tokens();
    setup.compileMode = [this] { return widgets::FromQString(main_.CompileMode()); };
    setup.prompter = &main_.Prompter();
    setup.log = &main_.Log();
    setup.status = workspace_.StatusSink();
    setup.pump = pump_.get();
    setup.monitor = &progress_;
    setup.ask = [this](const std::string& question) { return ask_.AskQuestion(question); };
    setup.saveAll = [this] { main_.SaveAll(); };
    setup.confirmRebuild = [this](const std::vector<std::string>& packages) {
        if (confirmRebuild_) return confirmRebuild_(packages);
        rebuild_.SetPackages(packages);
        return rebuild_.exec() == QDialog::Accepted;
    };
    setup.jumpToError = [this](const ErrorLocation& location, int position, const std::string& line) {
        JumpToError(location, position, line);
    };
    setup.autoCloseCompile = main_.Settings().ReadIniBool("Preferences", "AutoCloseCompile", true);
    return setup;
}

// A compile or a script lets window messages through while it runs; another one started then
// (a key, a tool bar button, a signal) is refused until it has ended.
void CompileController::Compile(bool autoClose) {
    if (main_.Busy().Busy()) return;
    const shell::BusyState::Scope busy(main_.Busy());
    RunCompile(autoClose);
}

CompileOutcome CompileController::CompileForLaunch() { return RunCompile(true); }

CompileOutcome CompileController::RunCompile(bool autoClose) {
    if (main_.GameRoot().empty() || !workspace_.Browser()) return CompileOutcome::Failed;
    if (workspace_.Session()) workspace_.Session()->project().compileMode = main_.CompileModeIndex();
    CompileRun run(MakeSetup());
    run.DoCompile(autoClose);
    return run.pipeline().outcome();
}

void CompileController::DoPreBatch() {
    if (!workspace_.ProjectOpen() || main_.Busy().Busy()) return;
    const shell::BusyState::Scope busy(main_.Busy());
    main_.Log().Clear();
    CompileRun run(MakeSetup());
    run.scripts().PreCompile();
}

void CompileController::DoPostBatch(bool success) {
    if (!workspace_.ProjectOpen() || workspace_.Session()->project().postBatch.empty() || main_.Busy().Busy()) {
        return;
    }
    const shell::BusyState::Scope busy(main_.Busy());
    main_.Log().Clear();
    CompileRun run(MakeSetup());
    run.scripts().PostCompile(success);
}

void CompileController::RunMacro(const std::string& scriptLine) {
    if (main_.Busy().Busy()) return;
    const shell::BusyState::Scope busy(main_.Busy());
    CompileRun run(MakeSetup());
    if (core::StatusSink* status = workspace_.StatusSink()) status->SetWorkspaceStatus("Performing Macro");
    run.RunScript({scriptLine});
}

void CompileController::GotoLine(const std::string& lineText) {
    editor::TEditor* editor = main_.ActiveEditor();
    if (!editor) return;
    try {
        editor->QuickGotoLine(shell::StrToInt(lineText), true);
    } catch (const std::exception& e) {
        main_.Prompter().Error(e.what());
    }
}

void CompileController::JumpToError(const ErrorLocation& location, int position, const std::string& errorLine) {
    workspace_.OpenClass(position);
    GotoLine(location.lineText);
    QListWidget* log = main_.OutputLogWidget();
    const int itemHeight = std::max(1, log->sizeHintForRow(0));
    const int rows = shell::VisibleRows(log->viewport()->height(), itemHeight);
    for (int i = 0; i < log->count(); ++i) {
        if (FromQString(log->item(i)->text()) != errorLine) continue;
        log->setCurrentRow(i);
        const int top = rows <= 0 ? i : std::max(0, i - rows + 1);
        log->scrollToItem(log->item(top), QAbstractItemView::PositionAtTop);
    }
}

void CompileController::OutputLogDblClick(QListWidgetItem* item) {
    if (!item || !workspace_.Browser()) return;
    const std::string line = FromQString(item->text());
    // A find-in-files line: the file it names, at its line (its class when it has one).
    if (const auto hit = editor::ParseHitOutputLine(line, [](const std::string& path) { return platform::FileExists(path); })) {
        if (!workspace_.OpenClassFile(hit->path)) main_.OpenSourceFile(hit->path, "", "");
        GotoLine(std::to_string(hit->line));
        return;
    }
    const bool compilerLine = line.find(": Error,") != std::string::npos ||
                              line.find(": ExecWarning,") != std::string::npos;
    if (!compilerLine && line.find("):") == std::string::npos) return;
    const ErrorLocation location = ParseErrorLine(line);
    if (!location.valid) return;
    const int position = workspace_.Browser()->FindClass(location.className);
    if (position >= 0) {
        workspace_.OpenClass(position);
        GotoLine(location.lineText);
        return;
    }
    if (compilerLine) return;
    // Another tool's "file(line): message": the path as printed, below the game root or System.
    std::string path = location.file;
    if (!platform::FileExists(path)) {
        for (const char* base : {"", "\\System\\"}) {
            const std::string candidate = platform::ResolveGamePath(main_.GameRoot(), base + location.file);
            if (platform::FileExists(candidate)) path = candidate;
        }
    }
    main_.OpenSourceFile(path, "", "");
    GotoLine(location.lineText);
}

}  // namespace torvane::build
