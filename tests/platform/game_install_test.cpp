#include "platform/game_install.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "support/temp_dir.h"

namespace torvane::platform {
namespace {

using testing::TempDir;

constexpr const char* kElf = "\x7F" "ELF";

GameInstallEnvironment Environment(const TempDir& dir, const char* machine = "x86_64", bool wine = false) {
    return {dir.Path("home"), machine, wine};
}

// Which tool runs, which configuration it reads, where its packages go and are found.
TEST(GameInstallTest, RulesPerToolAndLayout) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> files;
        const char* machine;
        bool wine;
        GameToolKind kind;
        const char* program;
        const char* config;
        const char* output;
        std::vector<const char*> search;
    } cases[] = {
        {"Windows tool under wine ignores the per-user copy",
         {{"ut/System/UCC.exe", "MZ"}, {"ut/System/UnrealTournament.ini", "x"},
          {"home/.utpg/System/UnrealTournament.ini", "user"}, {"ut/System64/ucc-bin-amd64", kElf}},
         "x86_64", true, GameToolKind::Windows, "ut/System/UCC.exe",
         "ut/System/UnrealTournament.ini", "ut/System", {"ut/System"}},
        {"native program named UCC.exe (the stand-in) follows the Windows rule",
         {{"ut/system/UCC.exe", kElf}, {"ut/system/UnrealTournament.ini", "x"}},
         "x86_64", false, GameToolKind::Windows, "ut/system/UCC.exe",
         "ut/system/UnrealTournament.ini", "ut/system", {"ut/system"}},
        {"64-bit tool reads the ini beside itself, writes to the preference directory",
         {{"ut/System/UCC.exe", "MZ"}, {"ut/System64/ucc-bin-amd64", kElf},
          {"ut/System64/UnrealTournament.ini", "x"}, {"ut/System/UnrealTournament.ini", "x"}},
         "x86_64", false, GameToolKind::CurrentPatchLinux, "ut/System64/ucc-bin-amd64",
         "ut/System64/UnrealTournament.ini", "home/.utpg/System",
         {"home/.utpg/System", "ut/System64", "ut/System"}},
        {"64-bit tool prefers the per-user ini",
         {{"ut/System64/ucc-bin-amd64", kElf}, {"ut/System64/UnrealTournament.ini", "x"},
          {"home/.utpg/System/UnrealTournament.ini", "user"}},
         "x86_64", false, GameToolKind::CurrentPatchLinux, "ut/System64/ucc-bin-amd64",
         "home/.utpg/System/UnrealTournament.ini", "home/.utpg/System",
         {"home/.utpg/System", "ut/System64", "ut/System"}},
        {"64-bit tool without any ini creates the per-user one",
         {{"ut/System64/ucc-bin-amd64", kElf}, {"ut/System64/Default.ini", "x"},
          {"ut/System/UnrealTournament.ini", "x"}},
         "x86_64", false, GameToolKind::CurrentPatchLinux, "ut/System64/ucc-bin-amd64",
         "home/.utpg/System/UnrealTournament.ini", "home/.utpg/System",
         {"home/.utpg/System", "ut/System64", "ut/System"}},
        {"ARM tool on aarch64",
         {{"ut/System64/ucc-bin-amd64", kElf}, {"ut/SystemARM64/ucc-bin-arm64", kElf},
          {"ut/SystemARM64/UnrealTournament.ini", "x"}},
         "aarch64", false, GameToolKind::CurrentPatchLinux, "ut/SystemARM64/ucc-bin-arm64",
         "ut/SystemARM64/UnrealTournament.ini", "home/.utpg/System",
         {"home/.utpg/System", "ut/SystemARM64", "ut/System"}},
        {"32-bit tool of the current patch (a System64 directory) when the 64-bit one cannot run",
         {{"ut/System/ucc-bin", kElf}, {"ut/System64/ucc-bin-amd64", kElf},
          {"ut/System/UnrealTournament.ini", "x"}},
         "i686", false, GameToolKind::CurrentPatchLinux, "ut/System/ucc-bin",
         "ut/System/UnrealTournament.ini", "home/.utpg/System", {"home/.utpg/System", "ut/System"}},
        {"original port with a preference directory",
         {{"ut/System/ucc-bin", kElf}, {"ut/System/UnrealTournament.ini", "x"},
          {"home/.loki/ut/System/UnrealTournament.ini", "user"}},
         "x86_64", false, GameToolKind::OriginalLinuxPort, "ut/System/ucc-bin",
         "home/.loki/ut/System/UnrealTournament.ini", "ut/System", {"home/.loki/ut/System", "ut/System"}},
        {"original port without one",
         {{"ut/System/ucc-bin", kElf}, {"ut/System/UnrealTournament.ini", "x"}},
         "x86_64", false, GameToolKind::OriginalLinuxPort, "ut/System/ucc-bin",
         "ut/System/UnrealTournament.ini", "ut/System", {"ut/System"}},
        {"Windows image without wine gives way to the Linux tool",
         {{"ut/System/UCC.exe", "MZ"}, {"ut/System64/ucc-bin-amd64", kElf},
          {"ut/System64/UnrealTournament.ini", "x"}},
         "x86_64", false, GameToolKind::CurrentPatchLinux, "ut/System64/ucc-bin-amd64",
         "ut/System64/UnrealTournament.ini", "home/.utpg/System",
         {"home/.utpg/System", "ut/System64", "ut/System"}},
        {"no tool at all names System/UCC.exe",
         {{"ut/System/UnrealTournament.ini", "x"}},
         "x86_64", false, GameToolKind::Missing, "ut/System/UCC.exe",
         "ut/System/UnrealTournament.ini", "ut/System", {"ut/System"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const auto& [path, bytes] : c.files) dir.Write(path, bytes);
        const GameInstall install = GameInstall::Detect(dir.Path("ut"), Environment(dir, c.machine, c.wine));
        EXPECT_EQ(install.tool().kind, c.kind) << c.name;
        EXPECT_EQ(install.tool().program, dir.Path(c.program)) << c.name;
        EXPECT_EQ(install.configPath(), dir.Path(c.config)) << c.name;
        EXPECT_EQ(install.packageOutputDirectory(), dir.Path(c.output)) << c.name;
        std::vector<std::string> search;
        for (const char* directory : c.search) search.push_back(dir.Path(directory));
        EXPECT_EQ(install.packageSearchDirectories(), search) << c.name;
    }
}

TEST(GameInstallTest, LinuxToolStartsInItsDirectoryWithItOnTheLibraryPath) {
    TempDir dir;
    dir.Write("ut/System64/ucc-bin-amd64", kElf);
    const GameInstall install = GameInstall::Detect(dir.Path("ut"), Environment(dir));
    EXPECT_EQ(install.tool().workingDirectory, dir.Path("ut/System64"));
    ASSERT_EQ(install.tool().environment.size(), 1u);
    EXPECT_EQ(install.tool().environment[0].first, "LD_LIBRARY_PATH");
    EXPECT_EQ(install.tool().environment[0].second.rfind(dir.Path("ut/System64"), 0), 0u);

    dir.Write("ut/System/UCC.exe", kElf);
    EXPECT_TRUE(GameInstall::Detect(dir.Path("ut"), Environment(dir)).tool().workingDirectory.empty());
}

// How Run starts the game: the Windows program where it can run, else the launcher of the Linux
// install, in its own directory; and where the game's log is looked for.
TEST(GameInstallTest, GameLaunchPerLayout) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> files;
        const char* machine;
        bool wine;
        GameToolKind kind;
        const char* program;
        const char* workingDirectory;
        std::vector<const char*> logDirectories;
    } cases[] = {
        {"Windows game under wine",
         {{"ut/System/UnrealTournament.exe", "MZ"}, {"ut/System64/ut-bin-amd64", kElf}},
         "x86_64", true, GameToolKind::Windows, "ut/System/UnrealTournament.exe", "ut/System", {"ut/System"}},
        {"native program named UnrealTournament.exe (the stand-in), any letter case of System",
         {{"ut/system/UnrealTournament.exe", kElf}},
         "x86_64", false, GameToolKind::Windows, "ut/system/UnrealTournament.exe", "ut/system", {"ut/system"}},
        {"Windows image without wine gives way to the 64-bit launcher",
         {{"ut/System/UnrealTournament.exe", "MZ"}, {"ut/System64/ut-bin-amd64", kElf}},
         "x86_64", false, GameToolKind::CurrentPatchLinux, "ut/System64/ut-bin-amd64", "ut/System64",
         {"home/.utpg/System", "ut/System64", "ut/System"}},
        {"ARM launcher on aarch64",
         {{"ut/System64/ut-bin-amd64", kElf}, {"ut/SystemARM64/ut-bin-arm64", kElf}},
         "aarch64", false, GameToolKind::CurrentPatchLinux, "ut/SystemARM64/ut-bin-arm64", "ut/SystemARM64",
         {"home/.utpg/System", "ut/SystemARM64", "ut/System"}},
        {"32-bit launcher of the current patch when the 64-bit one cannot run",
         {{"ut/System/ut-bin", kElf}, {"ut/System64/ut-bin-amd64", kElf}},
         "i686", false, GameToolKind::CurrentPatchLinux, "ut/System/ut-bin", "ut/System",
         {"home/.utpg/System", "ut/System"}},
        {"original port's launcher",
         {{"ut/System/ut-bin", kElf}, {"ut/ut", "#!/bin/sh\n"}},
         "x86_64", false, GameToolKind::OriginalLinuxPort, "ut/System/ut-bin", "ut/System",
         {"home/.loki/ut/System", "ut/System"}},
        {"original port's ut script in the game root",
         {{"ut/ut", "#!/bin/sh\n"}, {"ut/System/UnrealTournament.ini", "x"}},
         "x86_64", false, GameToolKind::OriginalLinuxPort, "ut/ut", "ut",
         {"home/.loki/ut/System", "ut", "ut/System"}},
        {"no game at all names System/UnrealTournament.exe",
         {{"ut/System/UnrealTournament.ini", "x"}},
         "x86_64", false, GameToolKind::Missing, "ut/System/UnrealTournament.exe", "ut/System", {"ut/System"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const auto& [path, bytes] : c.files) dir.Write(path, bytes);
        const GameInstall install = GameInstall::Detect(dir.Path("ut"), Environment(dir, c.machine, c.wine));
        const GameLaunch launch = install.Launch(false);
        EXPECT_EQ(launch.program.kind, c.kind) << c.name;
        EXPECT_EQ(launch.program.program, dir.Path(c.program)) << c.name;
        EXPECT_EQ(launch.program.workingDirectory, dir.Path(c.workingDirectory)) << c.name;
        const bool linux = c.kind == GameToolKind::CurrentPatchLinux || c.kind == GameToolKind::OriginalLinuxPort;
        ASSERT_EQ(launch.program.environment.size(), linux ? 1u : 0u) << c.name;
        if (linux) {
            EXPECT_EQ(launch.program.environment[0].first, "LD_LIBRARY_PATH") << c.name;
            EXPECT_EQ(launch.program.environment[0].second.rfind(dir.Path(c.workingDirectory), 0), 0u) << c.name;
        }
        EXPECT_EQ(launch.logName, "UnrealTournament.log") << c.name;
        std::vector<std::string> logDirectories;
        for (const char* directory : c.logDirectories) logDirectories.push_back(dir.Path(directory));
        EXPECT_EQ(launch.logDirectories, logDirectories) << c.name;
    }
}

// UseUCC starts the tool the compile runs, in System when it has no directory of its own, and
// looks for ucc.log where the tool writes it first.
TEST(GameInstallTest, ToolLaunchIsTheCompilesTool) {
    TempDir dir;
    dir.Write("ut/System/UCC.exe", kElf);
    const GameLaunch windows = GameInstall::Detect(dir.Path("ut"), Environment(dir)).Launch(true);
    EXPECT_EQ(windows.program.program, dir.Path("ut/System/UCC.exe"));
    EXPECT_EQ(windows.program.workingDirectory, dir.Path("ut/System"));
    EXPECT_EQ(windows.logName, "ucc.log");
    EXPECT_EQ(windows.logDirectories, std::vector<std::string>{dir.Path("ut/System")});

    DeleteFile(dir.Path("ut/System/UCC.exe"));
    dir.Write("ut/System64/ucc-bin-amd64", kElf);
    const GameInstall install = GameInstall::Detect(dir.Path("ut"), Environment(dir));
    const GameLaunch linux = install.Launch(true);
    EXPECT_EQ(linux.program.program, install.tool().program);
    EXPECT_EQ(linux.program.workingDirectory, dir.Path("ut/System64"));
    EXPECT_EQ(linux.program.environment, install.tool().environment);
    EXPECT_EQ(linux.logDirectories, (std::vector<std::string>{dir.Path("home/.utpg/System"), dir.Path("ut/System64"),
                                                              dir.Path("ut/System")}));
}

// The log a run wrote is the one written since it started, wherever it lies; otherwise the first
// that exists; otherwise the name in the first place.
TEST(GameInstallTest, LaunchLogIsTheOneTheRunWrote) {
    TempDir dir;
    GameLaunch launch;
    launch.logName = "UnrealTournament.log";
    launch.logDirectories = {dir.Path("home"), dir.Path("bin"), dir.Path("System")};
    CreateDirectories(dir.Path("System"));
    EXPECT_EQ(launch.LogPath(), dir.Path("home/UnrealTournament.log"));
    EXPECT_EQ(launch.LogPath(2000), dir.Path("home/UnrealTournament.log"));

    dir.Write("bin/UnrealTournament.log", "old");
    SetFileModifiedTime(dir.Path("bin/UnrealTournament.log"), 1000);
    dir.Write("System/unrealtournament.log", "new");
    SetFileModifiedTime(dir.Path("System/unrealtournament.log"), 2000);
    EXPECT_EQ(launch.LogPath(), dir.Path("bin/UnrealTournament.log"));
    EXPECT_EQ(launch.LogPath(2000), dir.Path("System/unrealtournament.log"));
    EXPECT_EQ(launch.LogPath(2001), dir.Path("bin/UnrealTournament.log"));
}

TEST(GameInstallTest, APackageIsFoundWhereTheToolLooksFirst) {
    TempDir dir;
    dir.Write("ut/System64/ucc-bin-amd64", kElf);
    dir.Write("ut/System64/UnrealTournament.ini", "x");
    const std::string user = dir.Write("home/.utpg/System/DemoMod.u", "new");
    const std::string beside = dir.Write("ut/System64/DemoMod.u", "older");
    const std::string system = dir.Write("ut/System/DemoMod.u", "oldest");
    dir.Write("ut/System/Engine.u", "engine");
    dir.Write("ut/System/engine.U", "shadowed by Engine.u, which sorts first");
    dir.Write("home/.utpg/System/Zeta.u", "z");
    const GameInstall install = GameInstall::Detect(dir.Path("ut"), Environment(dir));

    EXPECT_EQ(install.FindPackageFile("DemoMod"), user);
    EXPECT_EQ(install.FindPackageFile("demomod"), user);  // the letter case of the disk
    EXPECT_EQ(install.PackageFileCopies("DemoMod"), (std::vector<std::string>{user, beside, system}));
    EXPECT_EQ(install.FindPackageFile("Missing"), "");
    EXPECT_TRUE(install.PackageFileCopies("").empty());

    const auto packages = install.ListPackageFiles();
    ASSERT_EQ(packages.size(), 3u);
    EXPECT_EQ(packages[0].name, "DemoMod");
    EXPECT_EQ(packages[0].path, user);
    EXPECT_EQ(packages[0].modified, *FileModifiedTime(user));
    EXPECT_EQ(packages[1].name, "Engine");
    EXPECT_EQ(packages[2].name, "Zeta");
}

TEST(GameInstallTest, DescribeNamesTheConfigurationAndThePackageFolder) {
    TempDir dir;
    dir.Write("ut/System64/ucc-bin-amd64", kElf);
    const GameInstall fresh = GameInstall::Detect(dir.Path("ut"), Environment(dir));
    EXPECT_EQ(fresh.Describe(),
              (std::vector<std::string>{
                  "Game tool: " + dir.Path("ut/System64/ucc-bin-amd64"),
                  "Game configuration: " + dir.Path("home/.utpg/System/UnrealTournament.ini") +
                      " (not there yet: the game's tool creates it from Default.ini)",
                  "Compiled packages are written to: " + dir.Path("home/.utpg/System"),
                  "Compiled packages are found in: " + dir.Path("home/.utpg/System") + ", then " +
                      dir.Path("ut/System64") + ", then " + dir.Path("ut/System"),
                  "Run starts the game: " + dir.Path("ut/System/UnrealTournament.exe") + " (not found)"}));
    dir.Write("ut/System/UnrealTournament.ini", "x");
    DeleteFile(dir.Path("ut/System64/ucc-bin-amd64"));
    const GameInstall none = GameInstall::Detect(dir.Path("ut"), Environment(dir));
    EXPECT_EQ(none.Describe()[0], "Game tool: " + dir.Path("ut/System/UCC.exe") + " (not found)");
    EXPECT_EQ(none.Describe()[1], "Game configuration: " + dir.Path("ut/System/UnrealTournament.ini"));
}

TEST(GameInstallTest, WithoutAHomeTheLinuxToolKeepsToItsOwnDirectory) {
    TempDir dir;
    dir.Write("ut/System64/ucc-bin-amd64", kElf);
    const GameInstall install = GameInstall::Detect(dir.Path("ut"), {"", "x86_64", false});
    EXPECT_EQ(install.configPath(), dir.Path("ut/System64/UnrealTournament.ini"));
    EXPECT_EQ(install.packageOutputDirectory(), dir.Path("ut/System64"));
    EXPECT_EQ(install.packageSearchDirectories(),
              (std::vector<std::string>{dir.Path("ut/System64"), dir.Path("ut/System")}));
}

}  // namespace
}  // namespace torvane::platform
