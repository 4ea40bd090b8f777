#include "build/game_tool.h"

#include <sys/utsname.h>

#include <cstdlib>

#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/process.h"
#include "platform/tool_command.h"

namespace torvane::build {
namespace {

bool IsX86_64() {
    utsname name{};
    return ::uname(&name) == 0 && std::string(name.machine) == "x86_64";
}

GameToolCommand LinuxBuild(const std::string& program) {
    const std::string directory = platform::SplitLastSeparator(program).first;
    std::string libraryPath = directory;
    if (const char* existing = std::getenv("LD_LIBRARY_PATH"); existing && *existing) {
        libraryPath += ":" + std::string(existing);
    }
    return {program, directory, {{"LD_LIBRARY_PATH", libraryPath}}};
}

}  // namespace

GameToolCommand ResolveGameTool(const std::string& gameRoot) {
    const std::string ucc = platform::ResolveGamePath(gameRoot, "\\System\\UCC.exe");
    if (platform::FileExists(ucc)) {
        switch (platform::SniffProgramFile(ucc)) {
            case platform::ProgramFileKind::Native:
            case platform::ProgramFileKind::Script: return {ucc, {}, {}};
            case platform::ProgramFileKind::WindowsImage:
                if (!platform::FindInPath("wine").empty()) return {ucc, {}, {}};
                break;
            case platform::ProgramFileKind::Unknown: break;
        }
    }
    if (IsX86_64()) {
        const std::string amd64 = platform::ResolveGamePath(gameRoot, "\\System64\\ucc-bin-amd64");
        if (platform::FileExists(amd64)) return LinuxBuild(amd64);
    }
    const std::string x86 = platform::ResolveGamePath(gameRoot, "\\System\\ucc-bin");
    if (platform::FileExists(x86)) return LinuxBuild(x86);
    return {ucc, {}, {}};  // the runner reports what is wrong with it
}

}  // namespace torvane::build
