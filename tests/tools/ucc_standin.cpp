// A stand-in for the game's command-line tool, for tests and the sample game trees. It does not
// compile UnrealScript; it honours the tool's command lines, output line forms and files. Where it
// keeps its files depends on the name it is installed under, as the real tools do:
//
//   System/UCC.exe (the Windows tool): reads System/UnrealTournament.ini, writes packages and
//     ucc.log to System and finds packages there.
//   System64/ucc-bin-amd64 or any other ucc-bin* (a Linux build of the current patch): reads
//     $HOME/.utpg/System/UnrealTournament.ini when it exists, else the UnrealTournament.ini beside
//     itself, else creates the per-user one from the Default.ini beside itself. It writes packages
//     and ucc.log to $HOME/.utpg/System and finds a package there, then beside itself, then in
//     System. Its first lines name the preference directory, the ini and the user ini
//     ("WARNING: Using system ini file: <path>"). Without HOME it keeps to its own directory.
//
// These rules are the tool's own, written down here independently of the IDE's, so that tests
// see the IDE's mistakes.
//
//   UCC.exe make
//     Reads the EditPackages lines of [Editor.EditorEngine] (lines beginning with ';' are
//     comments) and, per package in order, prints "--------------------<Package>--------------------".
//     Packages it finds compiled are only loaded. The others are "compiled" from
//     <Package>/Classes/*.uc: a line holding the marker "STANDIN: Error, <message>" yields
//     "<Package>\Classes\<File>.uc(<line>) : Error, <message>" and fails the package; a line holding
//     "STANDIN: ExecWarning, <message>" yields the ": ExecWarning," form. A package without errors
//     is written as <Package>.u, a minimal valid package file whose GUID is taken from the
//     package's sources (so that a changed source gives a changed file). Ends with
//     "Success - 0 error(s), N warnings" (exit 0) or "Failed due to errors." (exit 1).
//   UCC.exe packageflag In.v Out.u [+|-]AllowDownload [+|-]ClientOptional [+|-]ServerSideOnly
//                                  [+|-]BrokenLinks [+|-]Unsecure
//     Copies the package In.v to Out.u with the package flags word set or cleared.
//   UCC.exe server ...
//     Runs until it is terminated, or for UCC_STANDIN_SERVER_MS milliseconds when that is set.
//
// Every run writes its output lines to ucc.log as well. The environment variable
// UCC_STANDIN_LINE_DELAY_MS makes it pause after each output line (to test Cancel).

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/ini_file.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace {

namespace core = torvane::core;
namespace platform = torvane::platform;

std::string g_log;
int g_delayMs = 0;

void Print(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
    g_log += line + "\r\n";
    if (g_delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(g_delayMs));
}

std::string ProgramPath() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n <= 0 ? std::string("./UCC.exe") : std::string(buffer, static_cast<std::size_t>(n));
}

// Where this tool keeps its files.
struct Layout {
    std::string root;        // the game root: the parent of the tool's directory
    std::string config;      // the UnrealTournament.ini it reads
    std::string output;      // where it writes packages and ucc.log
    std::vector<std::string> search;  // where it finds a compiled package, in order
    std::vector<std::string> greeting;  // its first output lines
};

Layout WindowsLayout(const std::string& root, const std::string& binaryDir) {
    return {root, platform::ResolvePath(binaryDir + "/UnrealTournament.ini"), binaryDir, {binaryDir}, {}};
}

Layout CurrentPatchLayout(const std::string& root, const std::string& binaryDir) {
    const char* home = std::getenv("HOME");
    const std::string system = platform::ResolveGamePath(root, "\\System");
    if (!home || !*home) {
        Layout layout{root, platform::ResolvePath(binaryDir + "/UnrealTournament.ini"), binaryDir, {binaryDir}, {}};
        if (system != binaryDir) layout.search.push_back(system);
        layout.greeting.push_back("WARNING: Not using preference directory");
        return layout;
    }
    const std::string preferences = std::string(home) + "/.utpg/System/";
    Layout layout{root, preferences + "UnrealTournament.ini", preferences, {preferences, binaryDir}, {}};
    if (system != binaryDir) layout.search.push_back(system);
    platform::CreateDirectories(preferences);
    if (!platform::FileExists(layout.config)) {
        const std::string beside = platform::ResolvePath(binaryDir + "/UnrealTournament.ini");
        if (platform::FileExists(beside)) {
            layout.config = beside;
        } else {
            platform::CopyFileOverwrite(platform::ResolvePath(binaryDir + "/Default.ini"), layout.config);
        }
    }
    const std::string configDir = platform::SplitLastSeparator(layout.config).first;
    layout.greeting = {"WARNING: using preference directory: " + preferences,
                       "WARNING: Using system ini file: " + layout.config,
                       "WARNING: Using user ini file: " + configDir + "/User.ini"};
    return layout;
}

Layout FindLayout() {
    const auto [binaryDir, name] = platform::SplitLastSeparator(ProgramPath());
    const std::string root = platform::SplitLastSeparator(binaryDir).first;
    if (core::StartsWithIgnoringCase(name, "ucc-bin")) return CurrentPatchLayout(root, binaryDir);
    return WindowsLayout(root, binaryDir);
}

std::string FindCompiled(const Layout& layout, const std::string& package) {
    for (const std::string& directory : layout.search) {
        const std::string path = platform::ResolvePath(directory + "/" + package + ".u");
        if (platform::FileExists(path)) return path;
    }
    return {};
}

void PutDword(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Header of file version 69 with empty name, export and import tables, and the given GUID.
std::string MinimalPackage(std::uint32_t flags, std::uint64_t guid = 0x1716151413121110u) {
    std::string bytes;
    PutDword(bytes, 0x9E2A83C1u);
    bytes += static_cast<char>(69);
    bytes += '\0';
    bytes += '\0';
    bytes += '\0';
    PutDword(bytes, flags);
    constexpr std::uint32_t kTables = 64;
    for (int table = 0; table < 3; ++table) {
        PutDword(bytes, 0);        // count
        PutDword(bytes, kTables);  // offset
    }
    for (int i = 0; i < 16; ++i) bytes += static_cast<char>((guid >> (8 * (i % 8))) & 0xFF);
    PutDword(bytes, 1);                                                 // generations
    PutDword(bytes, 0);
    PutDword(bytes, 0);
    return bytes;
}

std::vector<std::string> EditPackages(const std::string& iniPath) {
    std::vector<std::string> packages;
    std::string bytes;
    try {
        bytes = platform::ReadWholeFile(iniPath);
    } catch (const platform::FileError&) {
        return packages;
    }
    bool inEditor = false;
    for (const std::string& raw : core::SplitLines(bytes)) {
        const std::string_view line = core::Trim(raw);
        if (!line.empty() && line[0] == '[') {
            inEditor = core::StartsWithIgnoringCase(line, "[Editor.EditorEngine]");
            continue;
        }
        if (inEditor && core::StartsWithIgnoringCase(line, "EditPackages=")) {
            packages.emplace_back(core::Trim(line.substr(13)));
        }
    }
    return packages;
}

// Returns the number of errors; counts warnings into warnings and hashes the sources into digest.
int CompilePackage(const std::string& root, const std::string& package, int& warnings,
                   std::uint64_t& digest) {
    const std::string classesDir = platform::ResolveGamePath(root, package + "\\Classes");
    const auto sources = platform::ListDirectory(classesDir, "*.uc");
    for (const auto& source : sources) Print("Parsing " + source.name.substr(0, source.name.size() - 3));
    int errors = 0;
    for (const auto& source : sources) {
        Print("Compiling " + source.name.substr(0, source.name.size() - 3));
        std::string text;
        try {
            text = platform::ReadWholeFile(classesDir + "/" + source.name);
        } catch (const platform::FileError& e) {
            Print(package + "\\Classes\\" + source.name + "(0) : Error, " + e.what());
            ++errors;
            continue;
        }
        for (const char c : text) digest = (digest ^ static_cast<unsigned char>(c)) * 0x100000001B3u;
        const auto lines = core::SplitLines(text);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto marker = lines[i].find("STANDIN: ");
            if (marker == std::string::npos) continue;
            const std::string rest = lines[i].substr(marker + 9);
            const std::string where =
                package + "\\Classes\\" + source.name + "(" + std::to_string(i + 1) + ")";
            if (rest.rfind("Error,", 0) == 0) {
                Print(where + " : " + rest);
                ++errors;
            } else if (rest.rfind("ExecWarning,", 0) == 0) {
                Print(where + " : " + rest);
                ++warnings;
            }
        }
        if (errors > 0) break;
    }
    return errors;
}

int Make(const Layout& layout) {
    if (!platform::FileExists(layout.config)) {
        Print("Failed to find " + layout.config);
        return 1;
    }
    int warnings = 0;
    bool analyzed = false;
    for (const std::string& package : EditPackages(layout.config)) {
        Print("--------------------" + package + "--------------------");
        if (!FindCompiled(layout, package).empty()) continue;
        if (!analyzed) {
            Print("Analyzing...");
            analyzed = true;
        }
        std::uint64_t digest = 0xCBF29CE484222325u;
        if (CompilePackage(layout.root, package, warnings, digest) > 0) {
            Print("Failed due to errors.");
            Print("");
            Print("Exiting due to error");
            return 1;
        }
        platform::WriteFileAtomic(platform::ResolvePath(layout.output + "/" + package + ".u"),
                                  MinimalPackage(0x0001, digest));
    }
    Print("Success - 0 error(s), " + std::to_string(warnings) + " warnings");
    return 0;
}

int PackageFlag(const std::vector<std::string>& args) {
    if (args.size() < 3) {
        Print("Usage: packageflag src.u dest.u [+|-]flag...");
        return 1;
    }
    std::string bytes;
    try {
        bytes = platform::ReadWholeFile(args[1]);
    } catch (const platform::FileError& e) {
        Print(std::string("Error: ") + e.what());
        return 1;
    }
    if (bytes.size() < 12 || static_cast<unsigned char>(bytes[0]) != 0xC1 ||
        static_cast<unsigned char>(bytes[3]) != 0x9E) {
        Print("Error: " + args[1] + " is not a package file");
        return 1;
    }
    std::uint32_t flags = 0;
    std::memcpy(&flags, bytes.data() + 8, 4);
    static const char* kNames[] = {"AllowDownload", "ClientOptional", "ServerSideOnly",
                                   "BrokenLinks", "Unsecure"};
    for (std::size_t i = 3; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option.size() < 2 || (option[0] != '+' && option[0] != '-')) continue;
        for (int bit = 0; bit < 5; ++bit) {
            if (!core::EqualsIgnoringCase(option.substr(1), kNames[bit])) continue;
            if (option[0] == '+') {
                flags |= 1u << bit;
            } else {
                flags &= ~(1u << bit);
            }
        }
    }
    std::memcpy(bytes.data() + 8, &flags, 4);
    platform::WriteFileAtomic(args[2], bytes);
    Print("Package " + args[2] + " written with flags " + std::to_string(flags));
    return 0;
}

int Server(const std::vector<std::string>& args) {
    std::string line = "Server started:";
    for (const auto& arg : args) line += " " + arg;
    Print(line);
    if (const char* run = std::getenv("UCC_STANDIN_SERVER_MS")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(run)));
        Print("Server ended.");
        return 0;
    }
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

}  // namespace

int main(int argc, char** argv) {
    if (const char* delay = std::getenv("UCC_STANDIN_LINE_DELAY_MS")) g_delayMs = std::atoi(delay);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const Layout layout = FindLayout();
    const std::string logPath = platform::ResolvePath(layout.output + "/ucc.log");
    for (const std::string& line : layout.greeting) Print(line);
    int result = 0;
    if (args.empty()) {
        Print("Usage: UCC <command> <parameters>");
        result = 1;
    } else if (core::EqualsIgnoringCase(args[0], "make")) {
        result = Make(layout);
    } else if (core::EqualsIgnoringCase(args[0], "packageflag")) {
        result = PackageFlag(args);
    } else if (core::EqualsIgnoringCase(args[0], "server")) {
        g_log.clear();
        platform::WriteFileAtomic(logPath, "Log: server starting\r\n");
        result = Server(args);
    } else {
        Print("Executing " + args[0]);
    }
    try {
        platform::WriteFileAtomic(logPath, g_log);
    } catch (const platform::FileError&) {
    }
    return result;
}
