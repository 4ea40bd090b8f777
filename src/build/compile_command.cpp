#include "build/compile_command.h"

#include <ctime>

#include "build/compile_run.h"
#include "build/headless_compile_monitor.h"
#include "core/stream_interaction.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "project/project.h"
#include "workspace/class_browser.h"

namespace torvane::build {

int RunCompileCommand(const std::string& gameRoot, const std::string& projectFile,
                      const std::vector<std::string>& tokens, bool yes, std::istream& in, std::ostream& out,
                      std::ostream& err) {
    core::StreamPrompter prompter(err, yes ? core::Answer::Yes : core::Answer::No);
    core::StreamOutputLog log(out);
    const platform::GameInstall install = platform::GameInstall::Detect(gameRoot);
    for (const std::string& line : install.Describe()) log.AppendLine(line);
    const std::string configPath = install.configPath();
    if (!platform::FileExists(configPath)) {
        err << "torvane-cli: " << configPath << " does not exist\n";
        return 2;
    }
    RestoreInterruptedCompile(configPath, prompter);

    workspace::ClassBrowserContext browserContext;
    browserContext.install = install;
    browserContext.prompter = &prompter;
    workspace::ClassBrowser browser(browserContext);
    if (!browser.LoadEditPackages()) return 2;

    project::Project project;
    if (!projectFile.empty()) {
        try {
            project::ReadProjectFile(projectFile, gameRoot, project);
        } catch (const std::exception& e) {
            err << "torvane-cli: " << e.what() << "\n";
            return 2;
        }
    }

    HeadlessCompileMonitor monitor;
    bool refused = false;
    CompileSetup setup;
    setup.install = install;
    setup.browser = &browser;
    setup.project = &project;
    setup.instanceKey = MakeInstanceKey(static_cast<unsigned>(std::time(nullptr)));
    setup.tokens = tokens;
    setup.prompter = &prompter;
    setup.log = &log;
    setup.monitor = &monitor;
    setup.ask = [&](const std::string& question) { return core::AskOnStreams(in, out, question); };
    setup.confirmRebuild = [&](const std::vector<std::string>& packages) {
        err << "The following packages are out of data and need to be rebuilt...\n";
        for (const auto& package : packages) err << "  " << package << "\n";
        if (!yes) {
            err << "torvane-cli: confirm the rebuild with --yes\n";
            refused = true;
        }
        return yes;
    };
    CompileRun run(std::move(setup));
    bool ran = false;
    try {
        ran = run.DoCompile(false);
    } catch (const std::exception& e) {  // a project script's error ends the compile
        err << "torvane-cli: " << e.what() << "\n";
        return 2;
    }
    if (refused) return 2;
    if (ran && prompter.errors() > 0 && run.pipeline().output().errorLines().empty()) return 2;
    if (!ran && prompter.errors() > 0) return 2;
    return run.state().errorCount > 0 ? 1 : 0;
}

}  // namespace torvane::build
