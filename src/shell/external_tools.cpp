#include "shell/external_tools.h"

#include <algorithm>

#include "core/ini_file.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/process.h"
#include "platform/shell_open.h"
#include "shell/settings_file.h"

namespace torvane::shell {

namespace {

std::string ToolKey(std::string_view name, std::size_t index) { return std::string(name) + std::to_string(index); }

// A value stays on its line: a line break would split the pair.
std::string OneLine(std::string value) {
    std::replace_if(value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return value;
}

// The header the settings reader takes for section Tools.
bool IsToolsHeader(std::string_view line) {
    const auto name = core::IniSectionName(line);
    return name && core::EqualsIgnoringCase(*name, kToolsSection);
}

}  // namespace

std::vector<std::string> ReadToolDescriptions(const SettingsFile& settings) {
    std::vector<std::string> descriptions;
    for (std::size_t n = 0;; ++n) {
        std::string description = settings.ReadIniString(kToolsSection, ToolKey("Tool", n), "");
        if (description.empty()) break;
        descriptions.push_back(std::move(description));
    }
    return descriptions;
}

std::vector<ExternalTool> ReadExternalTools(const SettingsFile& settings) {
    std::vector<ExternalTool> tools;
    for (std::string& description : ReadToolDescriptions(settings)) {
        const std::size_t n = tools.size();
        tools.push_back({std::move(description), settings.ReadIniString(kToolsSection, ToolKey("ToolExec", n), "")});
    }
    return tools;
}

std::string ReadToolCommandLine(const SettingsFile& settings, int index) {
    if (index < 0) return {};
    return settings.ReadIniString(kToolsSection, ToolKey("ToolExec", static_cast<std::size_t>(index)), "");
}

ToolLaunchPlan PlanToolLaunch(std::string_view commandLine) {
    const std::size_t blank = commandLine.find(' ');
    const std::string_view word = core::Trim(commandLine.substr(0, blank));
    const std::string_view rest = blank == std::string_view::npos ? std::string_view() : core::Trim(commandLine.substr(blank + 1));
    ToolLaunchPlan plan;
    if (word.empty()) return plan;
    if (core::UpperCase(word) == "@MACRO") {
        plan.kind = ToolLaunchPlan::Kind::Macro;
    } else {
        plan.kind = ToolLaunchPlan::Kind::Program;
        plan.program = std::string(word);
    }
    plan.parameters = std::string(rest);
    return plan;
}

std::string ResolveToolProgram(const std::string& word) {
    if (word.find_first_of("/\\") != std::string::npos) return platform::ResolvePath(word);
    const std::string here = platform::ResolvePath(word);
    if (platform::FileExists(here)) return platform::AbsolutePath(here);
    if (std::string found = platform::FindInPath(word); !found.empty()) return found;
    return word;
}

bool StartToolAndWait(const std::string& word, const std::string& parameters) {
    return platform::ShellOpenAndWait(ResolveToolProgram(word), parameters);
}

ToolColumnWidths ToolColumnWidthsFor(int listWidth) {
    const int quarter = std::max(0, listWidth) / 4;
    return {quarter, std::max(0, quarter * 3 - 15)};  // a list narrower than 20 pixels: no width
}

bool IsUsableToolDescription(std::string_view description) {
    // Profile values are read with their blanks trimmed: a blank description reads as none.
    return !core::Trim(OneLine(std::string(description))).empty();
}

std::string RewriteToolsSection(std::string_view settingsText, const std::vector<ExternalTool>& tools) {
    std::vector<core::TextLine> lines = core::SplitTextLines(settingsText);
    std::vector<core::TextLine> pairs;
    for (std::size_t n = 0; n < tools.size(); ++n) {
        pairs.push_back({ToolKey("Tool", n) + "=" + OneLine(tools[n].description), "\r\n"});
        pairs.push_back({ToolKey("ToolExec", n) + "=" + OneLine(tools[n].commandLine), "\r\n"});
    }
    const auto header = std::find_if(lines.begin(), lines.end(), [](const core::TextLine& line) { return IsToolsHeader(line.text); });
    if (header == lines.end()) {
        lines.push_back({"", "\r\n"});
        lines.push_back({"[Tools]", "\r\n"});
        lines.insert(lines.end(), pairs.begin(), pairs.end());
    } else {
        const auto first = header + 1;
        const auto next = std::find_if(first, lines.end(), [](const core::TextLine& line) {
            return core::IniSectionName(line.text).has_value();
        });
        const auto at = lines.erase(first, next);
        pairs.push_back({"", "\r\n"});
        lines.insert(at, pairs.begin(), pairs.end());
    }
    return core::JoinTextLines(lines);
}

void SaveExternalTools(const std::string& path, const std::vector<ExternalTool>& tools) {
    const std::string text = platform::FileExists(path) ? platform::ReadWholeFile(path) : std::string();
    platform::WriteFileAtomic(path, RewriteToolsSection(text, tools));
}

}  // namespace torvane::shell
