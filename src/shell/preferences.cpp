#include "shell/preferences.h"

#include "core/text.h"
#include "platform/file_ops.h"
#include "shell/settings_file.h"

namespace torvane::shell {
namespace {

constexpr const char* kSection = "Preferences";

}  // namespace

std::vector<std::string> DefaultHeaderTemplate() {
    const std::string rule = "// " + std::string(68, '=');
    return {rule, "//  Class:  <@PACK>.<@CLASS>", "//  Parent: <@PARENT>", "//",
            "//  <Enter a description here>", rule};
}

Preferences LoadPreferences(const SettingsFile& settings, const std::string& templatePath) {
    Preferences p;
    p.utPath = settings.ReadIniString(kSection, "UTPath", "");
    p.autoSave = settings.ReadIniBool(kSection, "AutoSaveDSK", true);
    p.minimizeOnRun = settings.ReadIniBool(kSection, "MinimizeOnRun", true);
    p.limitPopups = settings.ReadIniBool(kSection, "LimitPopups", false);
    p.autoLoadProject = settings.ReadIniBool(kSection, "AutoLoadProject", true);
    p.autoCloseCompile = settings.ReadIniBool(kSection, "AutoCloseCompile", true);
    p.autoExpand = settings.ReadIniBool(kSection, "AutoExpand", true);
    for (int i = 0;; ++i) {
        const std::string index = std::to_string(i);
        std::string name = settings.ReadIniString(kSection, "Token" + index, "");
        if (name.empty()) break;
        p.tokens.push_back({std::move(name), settings.ReadIniString(kSection, "TokenValue" + index, "")});
    }
    if (platform::FileExists(templatePath)) {
        p.headerTemplate = core::SplitLines(platform::ReadWholeFile(templatePath));
    } else {
        p.headerTemplate = DefaultHeaderTemplate();
    }
    return p;
}

void SavePreferences(const Preferences& p, SettingsFile& settings, const std::string& templatePath) {
    settings.WriteIniString(kSection, "UTPath", p.utPath);
    settings.WriteIniBool(kSection, "AutoSaveDSK", p.autoSave);
    settings.WriteIniBool(kSection, "MinimizeOnRun", p.minimizeOnRun);
    settings.WriteIniBool(kSection, "LimitPopups", p.limitPopups);
    settings.WriteIniBool(kSection, "AutoLoadProject", p.autoLoadProject);
    settings.WriteIniBool(kSection, "AutoCloseCompile", p.autoCloseCompile);
    settings.WriteIniBool(kSection, "AutoExpand", p.autoExpand);
    std::size_t i = 0;
    for (; i < p.tokens.size(); ++i) {
        settings.WriteIniString(kSection, "Token" + std::to_string(i), p.tokens[i].name);
        settings.WriteIniString(kSection, "TokenValue" + std::to_string(i), p.tokens[i].value);
    }
    settings.WriteIniString(kSection, "Token" + std::to_string(i), "");
    settings.WriteIniString(kSection, "TokenValue" + std::to_string(i), "");
    platform::WriteFileAtomic(templatePath, core::JoinLinesCrLf(p.headerTemplate));
}

int AddOrUpdateToken(std::vector<Token>& tokens, const std::string& name, const std::string& value) {
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (core::EqualsIgnoringCase(tokens[i].name, name)) {
            tokens[i].value = value;
            return static_cast<int>(i);
        }
    }
    tokens.push_back({name, value});
    return static_cast<int>(tokens.size()) - 1;
}

std::vector<std::string> TokenLines(const std::vector<Token>& tokens) {
    std::vector<std::string> lines;
    for (const auto& token : tokens) lines.push_back(token.name + "=" + token.value);
    return lines;
}

}  // namespace torvane::shell
