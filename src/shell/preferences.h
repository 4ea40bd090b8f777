#pragma once

#include <string>
#include <vector>

namespace torvane::shell {

class SettingsFile;

struct Token {
    std::string name;  // upper case as entered; compared without regard to case
    std::string value;
};

// The live preference values (the preferences dialog's controls).
struct Preferences {
    std::string utPath;
    bool autoSave = true;
    bool minimizeOnRun = true;
    bool limitPopups = false;
    bool autoLoadProject = true;
    bool autoCloseCompile = true;
    bool autoExpand = true;
    std::vector<Token> tokens;
    std::vector<std::string> headerTemplate;
};

// The six lines of the new-class template when "NewClass.ucd" does not exist.
std::vector<std::string> DefaultHeaderTemplate();

// Reads section Preferences and the template file (templatePath, "NewClass.ucd").
Preferences LoadPreferences(const SettingsFile& settings, const std::string& templatePath);
// Writes them back; the token list ends with an empty Token<n>/TokenValue<n> pair.
void SavePreferences(const Preferences& preferences, SettingsFile& settings,
                     const std::string& templatePath);

// "&Add / Update": replaces the value of the token named so (without regard to case), or
// appends the pair; returns the row.
int AddOrUpdateToken(std::vector<Token>& tokens, const std::string& name, const std::string& value);

// The tokens as lines "NAME=value", as the batch interpreter takes them.
std::vector<std::string> TokenLines(const std::vector<Token>& tokens);

}  // namespace torvane::shell
