#pragma once

#include <string>
#include <string_view>
#include <vector>

// The user's own entries of the Tools menu: a description (the menu caption) and a command line
// that either starts a program, waiting until it ends, or, with the command word "@MACRO", runs
// the rest as one script line. They are stored in section Tools of "Torvane.ini" as the pairs
// Tool<n> (description) and ToolExec<n> (command line), n counting from 0; the list ends at the
// first Tool<n> that reads empty.
namespace torvane::shell {

class SettingsFile;

struct ExternalTool {
    std::string description;
    std::string commandLine;

    bool operator==(const ExternalTool&) const = default;
};

inline constexpr char kToolsSection[] = "Tools";

// The descriptions, from Tool0 up to the first empty one (a stale Tool3 after a missing Tool2
// is not reached).
std::vector<std::string> ReadToolDescriptions(const SettingsFile& settings);
// The pairs, read the same way.
std::vector<ExternalTool> ReadExternalTools(const SettingsFile& settings);
// ToolExec<index> as it stands now.
std::string ReadToolCommandLine(const SettingsFile& settings, int index);

// What choosing a tool does.
struct ToolLaunchPlan {
    enum class Kind { Nothing, Program, Macro };
    Kind kind = Kind::Nothing;
    std::string program;     // Program: the command word, as written
    std::string parameters;  // Program: the rest of the line; Macro: the script line
};

// The command line split at its first blank: the part before it, trimmed, is the command word,
// the part after it, trimmed, the parameters (a program path with a blank is therefore cut
// there). "@MACRO" in any letter case makes the parameters one script line; an empty command
// word does nothing. Nothing is expanded here.
ToolLaunchPlan PlanToolLaunch(std::string_view commandLine);

// The file a tool's command word names: a word with a directory is resolved without regard to
// letter case; a bare name is taken from the current directory when it is there, else from
// PATH, else as written.
std::string ResolveToolProgram(const std::string& word);

// Starts the program a tool's command word names with the parameters (blank-separated words,
// double quotes grouping) in the current directory, as the desktop opens it, and waits until it
// has ended. False when it could not be started.
bool StartToolAndWait(const std::string& word, const std::string& parameters);

// The widths of the tools list's two columns for a list that wide: a quarter of it, and three
// such quarters less 15 pixels (never below 0).
struct ToolColumnWidths {
    int description = 0;
    int commandLine = 0;
};
ToolColumnWidths ToolColumnWidthsFor(int listWidth);

// A description that keeps the stored list whole: the list ends at the first empty Tool<n>, so
// a blank description would hide every tool after it.
bool IsUsableToolDescription(std::string_view description);

// The settings text with its Tools section rewritten to hold exactly the tools: the first header
// the settings reader takes for section Tools (any letter case, "[ tools ] ; mine" too) keeps its
// place, everything after it up to the next section header goes, and the pairs follow it, each Tool<n> line directly before
// its ToolExec<n> line, then one empty line. Without such a line, an empty line, the header and
// the pairs are appended. Every other line keeps its bytes; new lines end with CR LF.
std::string RewriteToolsSection(std::string_view settingsText, const std::vector<ExternalTool>& tools);

// RewriteToolsSection on the file at path (a missing file reads as empty), written atomically.
// Throws platform::FileError with the platform's text when the file cannot be read or written;
// the file is then unchanged.
void SaveExternalTools(const std::string& path, const std::vector<ExternalTool>& tools);

}  // namespace torvane::shell
