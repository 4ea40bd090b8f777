#include "shell/external_tools_command.h"

#include "build/script_command.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "shell/external_tools.h"
#include "shell/preferences.h"
#include "shell/settings_file.h"

namespace torvane::shell {

namespace {

bool SettingsExist(const std::string& settingsFile, std::ostream& err) {
    if (platform::FileExists(settingsFile)) return true;
    err << "torvane-cli: " << settingsFile << " does not exist\n";
    return false;
}

}  // namespace

int ListToolsCommand(const std::string& settingsFile, std::ostream& out, std::ostream& err) {
    if (!SettingsExist(settingsFile, err)) return 1;
    const std::vector<ExternalTool> tools = ReadExternalTools(SettingsFile(settingsFile));
    for (std::size_t n = 0; n < tools.size(); ++n) {
        out << n << "\t" << tools[n].description << "\t" << tools[n].commandLine << "\n";
    }
    return 0;
}

int RunToolCommand(const RunToolOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    if (!SettingsExist(options.settingsFile, err)) return 1;
    const SettingsFile settings(options.settingsFile);
    const std::size_t count = ReadToolDescriptions(settings).size();
    if (options.index < 0 || static_cast<std::size_t>(options.index) >= count) {
        err << "torvane-cli: there is no tool " << options.index << " (" << count << " tools)\n";
        return 1;
    }
    const ToolLaunchPlan plan = PlanToolLaunch(ReadToolCommandLine(settings, options.index));
    switch (plan.kind) {
        case ToolLaunchPlan::Kind::Nothing:
            err << "torvane-cli: tool " << options.index << " has no command line\n";
            return 1;
        case ToolLaunchPlan::Kind::Program:
            if (StartToolAndWait(plan.program, plan.parameters)) return 0;
            err << "torvane-cli: " << plan.program << " could not be started\n";
            return 1;
        case ToolLaunchPlan::Kind::Macro: break;
    }
    const std::string gameRoot =
        options.gameRoot.empty() ? LoadPreferences(settings, "").utPath : options.gameRoot;
    if (gameRoot.empty()) {
        err << "torvane-cli: a macro needs the game: --game, or UTPath in the settings\n";
        return 1;
    }
    std::vector<std::string> tokens = TokenLines(LoadPreferences(settings, "").tokens);
    tokens.insert(tokens.end(), options.tokens.begin(), options.tokens.end());
    const std::string programDirectory = platform::SplitLastSeparator(platform::AbsolutePath(settings.path())).first;
    return build::RunScriptLinesCommand(gameRoot, programDirectory, tokens, {plan.parameters}, in, out, err);
}

}  // namespace torvane::shell
