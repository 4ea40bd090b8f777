#include "build/script_interpreter.h"

#include <unistd.h>

#include <chrono>
#include <climits>
#include <random>
#include <thread>

#include "build/console_app.h"
#include "core/backup.h"
#include "core/format.h"
#include "core/interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/locale_formats.h"
#include "platform/udp_sender.h"
#include "shell/settings_file.h"

namespace torvane::build {
namespace {

constexpr std::size_t kMaxRest = 255;
// Macro passes end when nothing is replaced; values that name macros end here instead.
constexpr int kMaxMacroPasses = 256;
constexpr std::size_t kMaxExpandedLength = 65536;

std::string Trimmed(std::string_view text) { return std::string(core::Trim(text)); }

bool ReplaceFirst(std::string& text, std::string_view what, std::string_view with) {
    const std::size_t at = core::FindIgnoringCase(text, what);
    if (at == std::string::npos) return false;
    text.replace(at, what.size(), with);
    return true;
}

using platform::CurrentDirectory;

// The separator a path already uses (a backslash only when it has one and no slash).
char SeparatorOf(std::string_view path) {
    return path.find('\\') != std::string_view::npos && path.find('/') == std::string_view::npos ? '\\' : '/';
}

std::string WithTrailingSeparator(std::string path) {
    if (path.empty() || !platform::IsPathSeparator(path.back())) path += SeparatorOf(path);
    return path;
}

bool HasWildcards(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

// A pattern split at its last separator: the directory as written (with its separator) and the
// name pattern; without a separator, the current directory.
std::pair<std::string, std::string> SplitPattern(const std::string& pattern) {
    const auto at = pattern.find_last_of("\\/");
    if (at == std::string::npos) return {WithTrailingSeparator(CurrentDirectory()), pattern};
    return {pattern.substr(0, at + 1), pattern.substr(at + 1)};
}

// Regular files that are neither read-only nor hidden (the archive-only filter of Windows).
std::vector<std::string> MatchingFiles(const std::string& directory, const std::string& namePattern) {
    platform::ListFilter filter;
    filter.includeHidden = false;
    filter.includeReadOnly = false;
    std::vector<std::string> names;
    for (const auto& entry : platform::ListDirectory(platform::ResolvePath(directory), namePattern, filter)) {
        names.push_back(entry.name);
    }
    return names;
}

std::string Native(const std::string& path) { return platform::ResolvePath(path); }

}  // namespace

struct ScriptInterpreter::Run {
    const std::vector<std::string>& lines;
    const std::vector<std::string>& tokens;
    std::size_t index = 0;
    std::string variables[9];
    std::int64_t errorLevel = 0;
    bool stopped = false;
    int result = 0;
};

std::string MakeInstanceKey(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(10, 31);
    std::string key;
    for (int i = 0; i < 8; ++i) key += core::Format("%-2.2x", {value(random)});
    return key;
}

std::string SplitWord(std::string& line) {
    std::string word;
    bool quoted = false;
    std::size_t i = 0;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '%' && i + 1 < line.size() && line[i + 1] == '"') {
            word += '"';
            ++i;
        } else if (c == ' ' && !quoted) {
            break;
        } else {
            word += c;
        }
    }
    if (i < line.size()) {
        std::string rest = line.substr(i, kMaxRest);
        line = Trimmed(rest);
    } else {
        line.clear();
    }
    return word;
}

ScriptInterpreter::ScriptInterpreter(ScriptValues values, ScriptHost host)
    : values_(std::move(values)), host_(std::move(host)) {}

void ScriptInterpreter::Write(const std::string& text) {
    if (!host_.log) return;
    host_.log->AppendLine(text);
    host_.log->ScrollToEnd();
}

void ScriptInterpreter::StatementError(Run& run, const std::string& text, bool lowerNo) {
    Write(std::string(lowerNo ? "Error at Line no. " : "Error at Line No. ") + std::to_string(run.index) +
          ": " + text + ", statement skipped");
}

std::string ScriptInterpreter::ExpandTokens(const std::string& line, const std::vector<std::string>& tokens) {
    std::string result = line;
    if (const auto comment = result.find("//"); comment != std::string::npos) result.erase(comment);
    for (const std::string& token : tokens) {
        const std::string entry = core::UpperCase(core::Trim(token));
        const auto equals = entry.find('=');
        if (equals == std::string::npos) {
            Write("Illegal Token " + entry);
            break;
        }
        const std::string name = Trimmed(entry.substr(0, equals));
        std::string value = Trimmed(entry.substr(equals + 1));
        if (value.size() > kMaxRest) value.resize(kMaxRest);
        ReplaceFirst(result, "%" + name + "%", value);
    }
    return result;
}

std::string ScriptInterpreter::ExpandMacros(const std::string& line) {
    const std::time_t now = values_.clock();
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string system = platform::ResolveGamePath(values_.gameRoot, "\\System");
    const std::pair<const char*, std::function<std::string()>> macros[] = {
        {"%UTPATH%", [&] { return values_.gameRoot; }},
        {"%UTSYSTEM%", [&] { return system; }},
        {"%PROJECT%", [&] { return values_.project; }},
        {"%ERRORCOUNT%", [&] { return std::to_string(values_.errorCount()); }},
        {"%MODE%", [&] { return values_.compileMode(); }},
        {"%TORVANEPATH%", [&] { return values_.programDirectory; }},
        {"%RANDKEY%", [&] { return values_.instanceKey; }},
        {"%RUN%", [&] { return std::to_string(values_.runFlag()); }},
        {"%TIME%", [&] { return platform::FormatLongTime(now); }},
        {"%DATE%", [&] { return platform::FormatShortDate(now); }},
        {"%VERSION%", [&] {
             return std::to_string((local.tm_year + 1900) % 10) + "." + std::to_string(local.tm_mon + 1) + "." +
                    std::to_string(local.tm_mday);
         }},
        {"%DATETIME%", [&] {
             return std::to_string(local.tm_year + 1900) + std::to_string(local.tm_mon + 1) +
                    std::to_string(local.tm_mday) + "." + std::to_string(local.tm_hour) +
                    std::to_string(local.tm_min);
         }},
    };
    std::string result = line;
    for (int pass = 0; pass < kMaxMacroPasses && result.size() < kMaxExpandedLength; ++pass) {
        bool replaced = false;
        for (const auto& [name, value] : macros) {
            if (core::FindIgnoringCase(result, name) != std::string::npos) {
                replaced = ReplaceFirst(result, name, value()) || replaced;
            }
        }
        if (!replaced) break;
    }
    return result;
}

bool ScriptInterpreter::Jump(Run& run, const std::string& label) {
    for (std::size_t i = 0; i < run.lines.size(); ++i) {
        const std::string trimmed = Trimmed(run.lines[i]);
        if (trimmed.empty() || trimmed[0] != ':') continue;
        std::string name = trimmed.substr(1);
        name = Trimmed(name.substr(0, name.find(' ')));
        if (core::EqualsIgnoringCase(name, label)) {
            run.index = i;  // execution goes on after the label line
            return true;
        }
    }
    return false;
}

int ScriptInterpreter::RunScript(const std::vector<std::string>& lines, const std::vector<std::string>& tokens) {
    if (lines.empty()) return 0;
    const std::string saved = CurrentDirectory();
    struct RestoreDirectory {
        std::string path;
        ~RestoreDirectory() {
            if (::chdir(path.c_str()) != 0) {
                // The directory may have gone meanwhile; nothing else to put back.
            }
        }
    } restore{saved};
    Run run{lines, tokens, 0, {}, 0, false, 0};
    while (run.index < lines.size() && !run.stopped) {
        std::string line = Trimmed(ExpandTokens(lines[run.index], tokens));
        line = Trimmed(ExpandMacros(line));
        if (!line.empty() && line[0] != ':') {
            const std::string word = SplitWord(line);
            Execute(run, core::UpperCase(word), line);
        }
        ++run.index;
    }
    return run.result;
}

namespace {

std::string SubstituteVariables(std::string text, const std::string (&variables)[9]) {
    for (int v = 0; v < 9; ++v) {
        const std::string name = "%" + std::to_string(v + 1);
        const auto at = text.find(name);
        if (at != std::string::npos) text.replace(at, 2, variables[v]);
    }
    return text;
}

int VariableIndex(std::string_view word) {
    if (word.size() < 2 || word[0] != '%' || word[1] < '1' || word[1] > '9') return -1;
    return word[1] - '1';
}

}  // namespace

void ScriptInterpreter::Execute(Run& run, const std::string& word, std::string args) {
    auto vars = [&](const std::string& text) { return SubstituteVariables(text, run.variables); };
    if (word == "GOTO") {
        const std::string label = SplitWord(args);
        if (!Jump(run, label)) StatementError(run, "Destination does not exist in Goto");
    } else if (word == "IF") {
        If(run, vars(args));
    } else if (word == "ASK") {
        Ask(run, args);
    } else if (word == "SET") {
        const int variable = VariableIndex(SplitWord(args));
        if (variable < 0) {
            StatementError(run, "Illegal Var in Set");
        } else {
            run.variables[variable] = vars(args);
        }
    } else if (word == "DEL") {
        Del(run, vars(args));
    } else if (word == "COPY" || word == "MOVE") {
        CopyOrMove(run, vars(args), word == "MOVE");
    } else if (word == "REN") {
        Ren(run, vars(args));
    } else if (word == "CHANGEEXT") {
        ChangeExt(run, vars(args));
    } else if (word == "MD" || word == "MKDIR") {
        const std::string directory = vars(args);
        if (!platform::DirectoryExists(Native(directory))) {
            std::string error;
            if (!platform::CreateDirectories(Native(directory), &error)) {
                throw ScriptError("Unable to create directory " + directory + ". " + error);
            }
            Write("MD " + directory);
        }
    } else if (word == "CD" || word == "CHDIR") {
        const std::string directory = vars(args);
        if (platform::DirectoryExists(Native(directory)) && ::chdir(Native(directory).c_str()) == 0) {
            Write("CD " + directory);
        } else {
            Write(" Can not change to " + directory);
        }
    } else if (word == "MOUNT") {
        // Connecting network disks needs the system's mount helpers and privileges; not attempted.
        Write("Failed to mount " + SplitWord(args = vars(args)));
    } else if (word == "ECHO") {
        Write(vars(args));
    } else if (word == "MESSAGE") {
        if (host_.prompter) host_.prompter->Information(args);
    } else if (word == "SLEEP") {
        std::this_thread::sleep_for(std::chrono::milliseconds(shell::StrToInt(args)));
    } else if (word == "UDP") {
        const std::string host = SplitWord(args);
        const int port = shell::StrToInt(SplitWord(args));
        try {
            platform::SendDatagram(host, port, args);
        } catch (const std::runtime_error& e) {
            throw ScriptError(e.what());
        }
    } else if (word == "DEFPROP") {
        DefProp(run, args);
    } else if (word == "STOP") {
        run.result = shell::StrToInt(args);
        run.stopped = true;
    } else {
        Program(run);
    }
}

void ScriptInterpreter::If(Run& run, std::string args) {
    auto operand = [&](std::string text) {
        if (core::EqualsIgnoringCase(text, "%ERRORLEVEL%")) return std::to_string(run.errorLevel);
        if (const int variable = VariableIndex(text); variable >= 0) return run.variables[variable];
        return text;
    };
    bool holds = false;
    std::string label;
    const auto notEqual = args.find("!=");
    const auto equal = args.find('=');
    if (notEqual != std::string::npos || equal != std::string::npos) {
        const bool different = notEqual != std::string::npos;
        const std::size_t at = different ? notEqual : equal;
        const std::string left = operand(Trimmed(args.substr(0, at)));
        std::string rest = args.substr(at + (different ? 2 : 1), kMaxRest);
        rest = Trimmed(rest);
        const std::string right = operand(SplitWord(rest));
        label = Trimmed(rest);
        holds = different ? left != right : left == right;
    } else {
        const std::string kind = SplitWord(args);
        if (core::EqualsIgnoringCase(kind, "EXISTS") || core::EqualsIgnoringCase(kind, "DIREXISTS")) {
            const std::string path = Native(SplitWord(args));
            label = SplitWord(args);
            holds = core::EqualsIgnoringCase(kind, "EXISTS") ? platform::FileExists(path)
                                                             : platform::DirectoryExists(path);
        } else {
            StatementError(run, "Unkown IF command", true);
            return;
        }
    }
    if (!holds) return;
    if (label.empty()) {
        StatementError(run, "No destination in IF Goto");
    } else if (!Jump(run, label)) {
        StatementError(run, "Destination does not exist in IF Goto");
    }
}

void ScriptInterpreter::Ask(Run& run, std::string args) {
    const int variable = VariableIndex(SplitWord(args));
    if (variable < 0) {
        StatementError(run, "Illegal Var in Ask");
        return;
    }
    std::string question = SplitWord(args);
    if (question.empty()) question = "Ask?";
    run.variables[variable] = host_.ask ? host_.ask(question) : std::string();
}

void ScriptInterpreter::Del(Run&, std::string args) {
    const auto [directory, pattern] = SplitPattern(SplitWord(args));
    for (const std::string& name : MatchingFiles(directory, pattern)) {
        Write("Deleting " + directory + name);
        if (!platform::DeleteFile(Native(directory) + "/" + name)) Write(" -- Could not delete file");
    }
}

void ScriptInterpreter::CopyOrMove(Run& run, std::string args, bool move) {
    const std::string source = SplitWord(args);
    std::string destination = SplitWord(args);
    if (destination.empty()) destination = CurrentDirectory();
    destination = WithTrailingSeparator(destination);
    const auto [directory, pattern] = SplitPattern(source);
    if (!HasWildcards(pattern) && !platform::FileExists(Native(directory + pattern))) {
        StatementError(run, std::string("Source param in ") + "Copy" + " does not exist");
        return;
    }
    if (!platform::DirectoryExists(Native(destination))) {
        StatementError(run, std::string("Dest. param in ") + "Copy" + " does not exist");
        return;
    }
    for (const std::string& file : MatchingFiles(directory, pattern)) {
        if (host_.pump) host_.pump->ProcessPendingEvents();
        Write(std::string(move ? "Moving " : "Copying ") + directory + file);
        const std::string from = Native(directory) + "/" + file;
        if (!platform::CopyFileOverwrite(from, Native(destination) + "/" + file)) {
            Write(move ? " -- Could not move file" : " -- Could not copy file");
        } else if (move) {
            platform::DeleteFile(from);
        }
    }
}

void ScriptInterpreter::Ren(Run&, std::string args) {
    const std::string file = SplitWord(args);
    const std::string newName = SplitWord(args);
    const auto separator = file.find_last_of("\\/");
    const std::string directory =
        separator == std::string::npos ? WithTrailingSeparator(CurrentDirectory()) : file.substr(0, separator + 1);
    const std::string newPath = directory + newName;
    Write("Renaming " + file + " to " + newPath);
    if (!platform::RenameFile(Native(file), Native(newPath))) Write(" -- Rename Failed!");
}

void ScriptInterpreter::ChangeExt(Run& run, std::string args) {
    const std::string source = SplitWord(args);
    const std::string extension = SplitWord(args);
    if (extension.empty() || extension[0] != '.') {
        StatementError(run, "EXT in ChangeExt does illegal");
        return;
    }
    const auto [directory, pattern] = SplitPattern(source);
    if (!HasWildcards(pattern) && !platform::FileExists(Native(directory + pattern))) {
        StatementError(run, "Source param in ChangeExt does not exist");
        return;
    }
    for (const std::string& file : MatchingFiles(directory, pattern)) {
        if (host_.pump) host_.pump->ProcessPendingEvents();
        Write("Changing EXT " + directory + file + " to " + extension);
        const auto dot = file.find_last_of('.');
        const std::string renamed = (dot == std::string::npos ? file : file.substr(0, dot)) + extension;
        if (!platform::RenameFile(Native(directory) + "/" + file, Native(directory) + "/" + renamed)) {
            Write(" -- Could not rename file");
        }
    }
}

void ScriptInterpreter::DefProp(Run& run, std::string args) {
    const std::string file = SplitWord(args);
    const std::string property = SplitWord(args);
    const std::string value = SplitWord(args);
    if (property.empty() || value.empty()) {
        StatementError(run, "Illegal Prop/Value in DefProp");
        return;
    }
    const std::string path = Native(file);
    if (!platform::FileExists(path)) {
        StatementError(run, "Source does not exists in DefProp");
        return;
    }
    std::string bytes;
    try {
        bytes = platform::ReadWholeFile(path);
    } catch (const platform::FileError& e) {
        throw ScriptError(e.what());
    }
    std::vector<std::string> lines = core::SplitLines(bytes);
    enum class State { Code, Comment, Open, Body, Done } state = State::Code;
    std::size_t first = 0, last = 0;
    for (std::size_t i = 0; i < lines.size() && state != State::Done; ++i) {
        std::string text = lines[i].substr(0, lines[i].find("//"));
        text = Trimmed(text);
        switch (state) {
            case State::Code:
                if (text.find("/*") != std::string::npos) {
                    state = State::Comment;
                } else if (core::UpperCase(text).find("DEFAULTPROPERTIES") != std::string::npos) {
                    state = text.find('{') != std::string::npos ? State::Body : State::Open;
                    first = i + 1;
                }
                break;
            case State::Comment:
                if (text.find("*/") != std::string::npos) state = State::Code;
                break;
            case State::Open:
                if (text.find('{') != std::string::npos) {
                    state = State::Body;
                    first = i + 1;
                }
                break;
            case State::Body:
                if (text.find('}') != std::string::npos) {
                    state = State::Done;
                    last = i;  // one past the block's last line
                }
                break;
            case State::Done: break;
        }
    }
    if (state != State::Done) return;
    for (std::size_t i = first; i < last; ++i) {
        const auto equals = lines[i].find('=');
        if (equals == std::string::npos) continue;
        if (!core::EqualsIgnoringCase(core::Trim(std::string_view(lines[i]).substr(0, equals)), property)) continue;
        Write("Setting " + property + " to " + value + " in " + file);
        std::string newValue = value.substr(0, kMaxRest);
        lines[i] = lines[i].substr(0, equals + 1) + newValue;
        try {
            core::BackupFile(path);
            platform::WriteFileAtomic(path, core::JoinLinesCrLf(lines));
        } catch (const platform::FileError& e) {
            throw ScriptError(e.what());
        }
        return;
    }
}

void ScriptInterpreter::Program(Run& run) {
    std::string line = Trimmed(ExpandTokens(run.lines[run.index], run.tokens));
    line = Trimmed(ExpandMacros(line));
    line = SubstituteVariables(line, run.variables);
    const std::string program = SplitWord(line);
    const std::string& parameters = line;
    Write("Executing " + program + " " + parameters);
    std::vector<std::string> output;
    try {
        run.errorLevel = RunConsoleProgram(program, parameters, output, [&](std::vector<std::string>& lines) {
            if (host_.log && !lines.empty()) host_.log->AppendLine(lines.back());
            if (host_.pump) host_.pump->ProcessPendingEvents();
        });
    } catch (const ConsoleError& e) {
        // Not a console program: the desktop opens it. When that fails too, the log says why.
        if (!host_.shellOpen || !host_.shellOpen(program, parameters)) {
            Write(" -- Could not start " + program + ": " + e.what());
        }
    }
}

}  // namespace torvane::build
