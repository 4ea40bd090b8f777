#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "support/package_builder.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace torvane {
namespace {

using testing::RunCommand;
using testing::ShellQuote;

const std::string kCli = ShellQuote(TORVANE_CLI);

TEST(CliTest, HelpAndVersion) {
    const auto help = RunCommand(kCli + " --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("game-config"), std::string::npos);
    const auto version = RunCommand(kCli + " --version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "Torvane 4.0\n");
}

TEST(CliTest, UnknownCommandFailsWithAMessage) {
    const auto result = RunCommand(kCli + " frobnicate 2>&1");
    EXPECT_NE(result.exitCode, 0);
    EXPECT_FALSE(result.output.empty());
}

TEST(CliTest, IniGetAndSet) {
    testing::TempDir dir;
    const std::string file = dir.Write("T.ini", "; keep\r\n[A]\r\nx=1\r\n");
    EXPECT_EQ(RunCommand(kCli + " ini set " + ShellQuote(file) + " A y 'two words'").exitCode, 0);
    EXPECT_EQ(dir.Read("T.ini"), "; keep\r\n[A]\r\nx=1\r\ny=two words\r\n");
    EXPECT_EQ(RunCommand(kCli + " ini get " + ShellQuote(file) + " a Y").output, "two words\n");
}

TEST(CliTest, GameConfigNamesTheFileInUse) {
    testing::TempDir dir;
    testing::TempHome home;
    const std::string windows = testing::CopySampleGame(dir);
    EXPECT_EQ(RunCommand(kCli + " game-config " + ShellQuote(windows)).output,
              windows + "/System/UnrealTournament.ini\n");

    testing::TempDir linuxGameDir;
    const std::string linuxRoot = testing::CopyLinuxSampleGame(linuxGameDir);
    const auto result = RunCommand(kCli + " game-config " + ShellQuote(linuxRoot) + " --describe");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "Game tool: " + linuxRoot + "/System64/ucc-bin-amd64\n"
                             "Game configuration: " + linuxRoot + "/System64/UnrealTournament.ini\n"
                             "Compiled packages are written to: " + home.PreferenceDirectory() + "\n"
                             "Compiled packages are found in: " + home.PreferenceDirectory() + ", then " +
                                 linuxRoot + "/System64, then " + linuxRoot + "/System\n"
                             "Run starts the game: " + linuxRoot + "/System64/ut-bin-amd64\n");
    const std::string user = testing::WriteFile(home.PreferenceDirectory() + "/UnrealTournament.ini", "x");
    EXPECT_EQ(RunCommand(kCli + " game-config " + ShellQuote(linuxRoot)).output, user + "\n");

    EXPECT_NE(RunCommand(kCli + " game-config " + ShellQuote(dir.Path("none")) + " 2>/dev/null")
                  .exitCode,
              0);
}

}  // namespace
}  // namespace torvane

namespace torvane {
namespace {

const std::string kDecoTest =
    ShellQuote(testing::FixturesDir() + "/compiled/System/DecoTest.u");

TEST(CliPackageTest, InfoListsExportsAndImports) {
    const auto result = RunCommand(kCli + " pkg info " + kDecoTest);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.output.find("Version: 69\n"), std::string::npos);
    EXPECT_NE(result.output.find("export 38 Class DecoStates 146 0x000F0004\n"), std::string::npos);
    EXPECT_NE(result.output.find("import 0 "), std::string::npos);
}

TEST(CliPackageTest, PropsAndDecompile) {
    const auto props = RunCommand(kCli + " pkg props " + kDecoTest + " DecoStates");
    EXPECT_EQ(props.exitCode, 0);
    EXPECT_NE(props.output.find("Mood=MOOD_Happy\n"), std::string::npos);
    const auto body = RunCommand(kCli + " pkg decompile " + kDecoTest + " DecoChild.Describe --body");
    EXPECT_EQ(body.exitCode, 0);
    EXPECT_EQ(body.output,
              "\tif ( C == None )\r\n\t{\r\n\t\treturn \"none\";\r\n\t}\r\n"
              "\treturn C.Greeting @ C.Limit;\r\n");
    const auto function = RunCommand(kCli + " pkg decompile " + kDecoTest + " DecoChild.Describe");
    EXPECT_EQ(function.exitCode, 0);
    EXPECT_EQ(function.output.rfind("static function string Describe (DecoChild C)\r\n{\r\n", 0), 0u) << function.output;
    EXPECT_EQ(function.output.substr(function.output.size() - 3), "}\r\n");
    const auto state = RunCommand(kCli + " pkg decompile " + kDecoTest + " DecoStates.Resting");
    EXPECT_EQ(state.output, "state() Resting\r\n{\r\n\tignores  Begin;\r\n}\r\n");
    const auto cls = RunCommand(kCli + " pkg decompile " + kDecoTest + " DecoChild");
    EXPECT_NE(cls.output.find("class DecoChild expands DecoFlow\r\n\tabstract;\r\n"), std::string::npos);
    EXPECT_NE(cls.output.find("defaultproperties\r\n{\r\n    Limit=50\r\n"), std::string::npos);
    const auto all = RunCommand(kCli + " pkg decompile " + kDecoTest + " --all --flat");
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.output, "bodies: 16, failed: 0\n");
}

TEST(CliPackageTest, ExportWritesTheSourceFolder) {
    testing::TempDir dir;
    const std::string out = dir.Path("DecoTest");
    const auto embedded = RunCommand(kCli + " pkg export " + kDecoTest + " --out " + ShellQuote(out));
    EXPECT_EQ(embedded.exitCode, 0) << embedded.output;
    EXPECT_NE(embedded.output.find("Exporting " + out + "/Classes/DecoFlow.uc\n"), std::string::npos) << embedded.output;
    EXPECT_EQ(embedded.output.substr(embedded.output.find("classes:")), "classes: 3, textures: 0, sounds: 0\n");
    const std::string source = dir.Read("DecoTest/Classes/DecoChild.uc");
    EXPECT_EQ(source.rfind("class DecoChild extends DecoFlow\r\n", 0), 0u);  // the embedded text
    EXPECT_FALSE(std::filesystem::exists(dir.Path("DecoTest/Textures")));

    // The same again changes nothing; a changed file is kept unless --yes.
    dir.Write("DecoTest/Classes/DecoChild.uc", "// mine\r\n");
    const auto kept = RunCommand(kCli + " pkg export " + kDecoTest + " --out " + ShellQuote(out) + " --rebuild 2>&1");
    EXPECT_NE(kept.exitCode, 0);
    EXPECT_NE(kept.output.find("The package you are attempting to export (DecoTest) already exists."), std::string::npos);
    EXPECT_EQ(dir.Read("DecoTest/Classes/DecoChild.uc"), "// mine\r\n");
    const auto rebuilt = RunCommand(kCli + " pkg export " + kDecoTest + " --out " + ShellQuote(out) + " --rebuild --yes 2>&1");
    EXPECT_EQ(rebuilt.exitCode, 0) << rebuilt.output;
    EXPECT_EQ(dir.Read("DecoTest/Classes/DecoChild.~uc"), "// mine\r\n");
    EXPECT_EQ(dir.Read("DecoTest/Classes/DecoChild.uc").rfind("//====", 0), 0u);  // rebuilt
}

// Resources only when asked: the textures of a texture package as BMP files, sounds as WAV files.
TEST(CliPackageTest, ExportWritesTexturesAndSoundsWhenAsked) {
    testing::TempDir dir;
    const std::string fire = ShellQuote(testing::FixturesDir() + "/ut99/Textures/GreatFire.utx");
    const auto plain = RunCommand(kCli + " pkg export " + fire + " --out " + ShellQuote(dir.Path("Plain")));
    EXPECT_EQ(plain.output, "classes: 0, textures: 0, sounds: 0\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("Plain/Textures")));
    const auto textures = RunCommand(kCli + " pkg export " + fire + " --out " + ShellQuote(dir.Path("Fire")) + " --graphics");
    EXPECT_EQ(textures.exitCode, 0);
    EXPECT_NE(textures.output.find("\nclasses: 0, textures: 12, sounds: 0\n"), std::string::npos) << textures.output;
    EXPECT_EQ(dir.Read("Fire/Textures/ancbutt.bmp").substr(0, 2), "BM");
    const std::string rain = ShellQuote(testing::FixturesDir() + "/ut99/Sounds/rain.uax");
    const auto sounds = RunCommand(kCli + " pkg export " + rain + " --out " + ShellQuote(dir.Path("Rain")) + " --sounds");
    EXPECT_NE(sounds.output.find("\nclasses: 0, textures: 0, sounds: 3\n"), std::string::npos) << sounds.output;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("Rain/Sounds")), {}), 3);
}

TEST(CliPackageTest, VerifyComparesBodiesWithTheEmbeddedSource) {
    const auto verify = RunCommand(kCli + " pkg verify " + kDecoTest + " --show 1");
    EXPECT_EQ(verify.exitCode, 0);
    EXPECT_NE(verify.output.find(": compared 11, equal "), std::string::npos) << verify.output;
    EXPECT_NE(verify.output.find("\n  DecoFlow."), std::string::npos) << verify.output;
    EXPECT_NE(verify.output.find("\ntotal: compared 11, "), std::string::npos) << verify.output;
    const auto rebuilt = RunCommand(kCli + " pkg decompile " + kDecoTest + " DecoFlow.Loops");
    EXPECT_NE(rebuilt.output.find("\tdo\r\n"), std::string::npos) << rebuilt.output;
    const auto labelled = RunCommand(kCli + " pkg decompile " + kDecoTest + " DecoFlow.Loops --body --no-loops");
    EXPECT_NE(labelled.output.find("goto JL"), std::string::npos) << labelled.output;
}

TEST(CliPackageTest, BadFileFailsWithTheErrorText) {
    testing::TempDir dir;
    const std::string bad = ShellQuote(dir.Write("Bad.u", "junk junk junk junk junk junk junk"));
    const auto result = RunCommand(kCli + " pkg info " + bad + " 2>&1");
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.output.find("ERROR! This isn't an Unreal package"), std::string::npos);
    EXPECT_NE(RunCommand(kCli + " pkg props " + kDecoTest + " NoSuchThing 2>/dev/null").exitCode, 0);
}

}  // namespace
}  // namespace torvane

namespace torvane {
namespace {

TEST(CliClassesTest, ScansThePrintsTheTreeAndWritesCaches) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    const auto result = RunCommand(kCli + " classes --game " + ShellQuote(root) + " --caches " +
                                   ShellQuote(dir.path()) + " --print object");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output,
              "Object\n  Actor\n    Info\n      Mutator\n        DemoMutator\n    Inventory\n"
              "      DemoPickup\n  DemoObject\n    DemoMath\n"
              "classes: 9, top-level: 1, actors: 6\n");
    EXPECT_EQ(dir.Read("Packages.ucd"), "Core\r\nEngine\r\nDemoLib\r\nDemoMod\r\n");
    EXPECT_EQ(dir.Read("Classes.ucd").substr(0, 5), "\rTNT\r");
}

// One line per property: category, name, value, declaring class:line, setting class:line.
TEST(CliDefaultsTest, PrintsTheDefaultPropertiesOfAClass) {
    testing::TempDir dir;
    const std::string root = ShellQuote(testing::CopySampleGame(dir));
    const auto result = RunCommand(kCli + " defaults --game " + root + " --package DemoMod DemoPickup");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output,
              "Advanced\tbHidden\tFalse\tActor:10\tActor:10\n"
              "DemoPickup\tBonusCharge\t25\tDemoPickup:6\tDemoPickup:15\n"
              "Display\tDrawScale\t1.000000\tActor:11\tActor:20\n"
              "Inventory\tCharge\t0\tInventory:9\tInventory:9\n"
              "Inventory\tPickupMessage\t\"You picked up a demo pickup\"\tInventory:8\tDemoPickup:16\n");
    const auto wrongPackage = RunCommand(kCli + " defaults --game " + root + " --package Engine DemoPickup 2>&1");
    EXPECT_EQ(wrongPackage.exitCode, 1);
    EXPECT_EQ(wrongPackage.output, "torvane-cli: no class Engine.DemoPickup in the class trees\n");

    // A whole real game tree, read where it lies.
    const auto rifle = RunCommand(kCli + " defaults --game " + ShellQuote(testing::FixturesDir() + "/ut99") +
                                  " ShockRifle");
    EXPECT_EQ(rifle.exitCode, 0);
    EXPECT_NE(rifle.output.find("\nWeapon\tAmmoName\tClass'Botpack.ShockCore'\tWeapon:15\tShockRifle:416\n"),
              std::string::npos);
    EXPECT_EQ(std::count(rifle.output.begin(), rifle.output.end(), '\n'), 190);
}

// The System page's package commands on a copy of the sample game (Core, Engine, DemoLib, DemoMod).
TEST(CliPackagesTest, ListNewInstallMoveAndRemove) {
    testing::TempDir dir;
    const std::string game = testing::CopySampleGame(dir);
    const std::string packages = kCli + " packages ";
    const std::string root = " --game " + ShellQuote(game);
    const auto names = [&] {  // the first column of the list
        std::istringstream list(RunCommand(packages + "list" + root).output);
        std::string text;
        for (std::string line; std::getline(list, line);) text += line.substr(0, line.find('\t')) + " ";
        return text;
    };
    const std::string list = RunCommand(packages + "list" + root).output;
    EXPECT_EQ(list.substr(0, list.find('\n')), "Core\t[ Not Compiled ]");
    EXPECT_EQ(names(), "Core Engine DemoLib DemoMod ");

    // A new package: its directories, then its line after the last EditPackages line.
    const auto created = RunCommand(packages + "new Fresh --textures --other Maps" + root);
    EXPECT_EQ(created.exitCode, 0);
    EXPECT_TRUE(platform::DirectoryExists(game + "/Fresh/Classes"));
    EXPECT_TRUE(platform::DirectoryExists(game + "/Fresh/Textures"));
    EXPECT_TRUE(platform::DirectoryExists(game + "/Fresh/Maps"));
    EXPECT_FALSE(platform::DirectoryExists(game + "/Fresh/Sounds"));
    EXPECT_NE(dir.Read("game/System/UnrealTournament.ini").find("EditPackages=DemoMod\r\nEditPackages=Fresh\r\n\r\n"),
              std::string::npos);
    const auto again = RunCommand(packages + "new fresh" + root + " 2>&1");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.output, "Sorry, but that package already exists.\n");

    // Package directories the list lacks; installing one of them.
    dir.Write("game/Found/Classes/FoundThing.uc", "class FoundThing extends Actor;\r\n");
    EXPECT_EQ(RunCommand(packages + "importable" + root).output, "Found\n");
    const auto installed = RunCommand(packages + "install Found DemoLib" + root);
    EXPECT_EQ(installed.exitCode, 0);
    EXPECT_EQ(installed.output, "EditPackages=Found\n");  // DemoLib is listed already
    EXPECT_EQ(names(), "Core Engine DemoLib DemoMod Fresh Found ");

    // The order: only after the warning is answered.
    const std::string ini = dir.Read("game/System/UnrealTournament.ini");
    const auto refused = RunCommand(packages + "move Found --before demolib" + root + " 2>&1");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.output,
              "Warning!  Adjusting the order of the EditPackages may cause some classes to no longer compile.  "
              "Continue? [No]\n");
    EXPECT_EQ(dir.Read("game/System/UnrealTournament.ini"), ini);
    EXPECT_EQ(RunCommand(packages + "move Found --before demolib --yes" + root + " 2>/dev/null").exitCode, 0);
    EXPECT_EQ(names(), "Core Engine Found DemoLib DemoMod Fresh ");
    EXPECT_EQ(RunCommand(packages + "move Nothing --before Core --yes" + root + " 2>&1").output,
              "torvane-cli: Nothing is not in the EditPackages list\n");

    // Removing: refused while another package's classes build on it.
    const auto relied = RunCommand(packages + "remove Engine" + root + " 2>&1");
    EXPECT_EQ(relied.exitCode, 1);
    EXPECT_EQ(relied.output, "Other packages rely on the package you are trying to remove.  Please remove them first\n");
    EXPECT_EQ(RunCommand(packages + "remove Found" + root).exitCode, 0);
    EXPECT_EQ(names(), "Core Engine DemoLib DemoMod Fresh ");
}

// The flags word read with the package reader, and set through the game's tool (the stand-in).
TEST(CliPackagesTest, FlagsPrintedAndSetThroughTheTool) {
    testing::TempDir dir;
    const std::string game = testing::CopySampleGame(dir);
    testing::PackageSpec spec;
    spec.flags = 0x1;
    spec.names = {"None"};
    dir.Write("game/System/DemoLib.u", testing::BuildPackage(spec));
    const std::string flags = kCli + " packages flags DemoLib --game " + ShellQuote(game);
    EXPECT_EQ(RunCommand(flags).output, "+AllowDownload -ClientOptional -ServerSideOnly -BrokenLinks -Unsecure\n");
    const auto set = RunCommand(flags + " --set serversideonly --set Unsecure --clear AllowDownload");
    EXPECT_EQ(set.exitCode, 0);
    EXPECT_EQ(set.output, "Package DemoLib.u written with flags 20\nDone\n");
    EXPECT_EQ(RunCommand(flags).output, "-Allowdownload -ClientOptional +ServerSideOnly -BrokenLinks +Unsecure\n");
    EXPECT_TRUE(platform::FileExists(game + "/System/DemoLib.v"));

    const auto unknown = RunCommand(flags + " --set Shiny 2>&1");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.output, "torvane-cli: no package flag Shiny (AllowDownload, ClientOptional, ServerSideOnly, "
                              "BrokenLinks, Unsecure)\n");
    const auto missing = RunCommand(kCli + " packages flags Nowhere --game " + ShellQuote(game) + " 2>&1");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.output, "torvane-cli: The package Nowhere.u could not be found.\n");
}

// The 64-bit tool's own ini lists the packages; its ";EditPackages=RelicsBindings" is a comment.
TEST(CliClassesTest, LinuxLayoutScansThePackagesOfTheIniTheToolReads) {
    testing::TempDir dir;
    testing::TempHome home;
    const std::string root = testing::CopyLinuxSampleGame(dir);
    dir.Write("game/System/UnrealTournament.ini", "[Editor.EditorEngine]\r\nEditPackages=Core\r\n");
    const auto result = RunCommand(kCli + " classes --game " + ShellQuote(root) + " --caches " +
                                   ShellQuote(dir.path()) + " --print package 2>&1");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.find("RelicsBindings"), std::string::npos);
    EXPECT_EQ(dir.Read("Packages.ucd"), "Core\r\nEngine\r\nDemoLib\r\nDemoMod\r\n");
}

// A cache directory that is missing is created; one that cannot be written ends the command with
// one line on stderr and exit status 2.
TEST(CliClassesTest, CacheDirectoryIsCreatedOrRefusedWithOneLine) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    const std::string scan = kCli + " classes --game " + ShellQuote(root) + " --caches ";
    EXPECT_EQ(RunCommand(scan + ShellQuote(dir.Path("new/caches")) + " 2>&1").exitCode, 0);
    EXPECT_EQ(dir.Read("new/caches/Packages.ucd"), "Core\r\nEngine\r\nDemoLib\r\nDemoMod\r\n");

    dir.Write("plain-file", "not a directory");
    const auto notADirectory = RunCommand(scan + ShellQuote(dir.Path("plain-file")) + " 2>&1 >/dev/null");
    EXPECT_EQ(notADirectory.exitCode, 2);
    EXPECT_EQ(std::count(notADirectory.output.begin(), notADirectory.output.end(), '\n'), 1) << notADirectory.output;
    EXPECT_EQ(notADirectory.output.rfind("torvane-cli: ", 0), 0u) << notADirectory.output;

    platform::CreateDirectories(dir.Path("caches/Classes.ucd"));  // a cache that cannot be replaced
    const auto unwritable = RunCommand(scan + ShellQuote(dir.Path("caches")) + " 2>&1 >/dev/null");
    EXPECT_EQ(unwritable.exitCode, 2);
    EXPECT_NE(unwritable.output.find("Classes.ucd"), std::string::npos) << unwritable.output;
}

}  // namespace
}  // namespace torvane

namespace torvane {
namespace {

TEST(CliCompileTest, CompilesAndReportsErrorsByExitStatus) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    const std::string game = ShellQuote(root);
    const auto refused = RunCommand(kCli + " compile --game " + game + " 2>&1");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.output.find("--yes"), std::string::npos);
    const auto compiled = RunCommand(kCli + " compile --game " + game + " --yes 2>/dev/null");
    EXPECT_EQ(compiled.exitCode, 0);
    EXPECT_NE(compiled.output.find("Success - 0 error(s), 0 warnings\n"), std::string::npos);
    dir.Write("game/DemoLib/Classes/DemoMath.uc", "class DemoMath extends DemoObject;\r\n// STANDIN: Error, Bad\r\n");
    ::truncate((root + "/System/DemoLib.u").c_str(), 0);
    RunCommand("touch -d '2000-01-01' " + ShellQuote(root + "/System/DemoLib.u"));
    const auto failed = RunCommand(kCli + " compile --game " + game + " --yes 2>/dev/null");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.output.find("DemoLib\\Classes\\DemoMath.uc(2) : Error, Bad\n"), std::string::npos);
    EXPECT_EQ(RunCommand(kCli + " compile --game " + ShellQuote(dir.Path("none")) + " 2>/dev/null").exitCode, 2);
}

// Compile, edit a source, compile again: in both layouts the second compile really compiles the
// package again (the current patch's Linux tool keeps it in ~/.utpg/System, where an old copy
// would make it skip the package and report success).
TEST(CliCompileTest, EditedSourceIsCompiledAgainInBothLayouts) {
    for (const bool linux64 : {false, true}) {
        testing::TempDir dir;
        testing::TempHome home;
        const std::string root = linux64 ? testing::CopyLinuxSampleGame(dir) : testing::CopySampleGame(dir);
        const std::string compile = kCli + " compile --game " + ShellQuote(root) + " --yes 2>&1";
        const auto first = RunCommand(compile);
        ASSERT_EQ(first.exitCode, 0) << first.output;
        const std::string packageDir = linux64 ? home.PreferenceDirectory() : root + "/System";
        EXPECT_NE(first.output.find("Compiled packages are written to: " + packageDir + "\n"), std::string::npos)
            << first.output;
        const std::string package = packageDir + "/DemoMod.u";
        ASSERT_TRUE(platform::FileExists(package)) << first.output;
        const std::string before = platform::ReadWholeFile(package);
        RunCommand("touch -d '2000-01-01' " + ShellQuote(package));
        dir.Write("game/DemoMod/Classes/DemoPickup.uc", "class DemoPickup extends Inventory;\r\nvar int Edited;\r\n");
        const auto second = RunCommand(compile);
        EXPECT_EQ(second.exitCode, 0) << second.output;
        EXPECT_NE(second.output.find("Compiling DemoPickup\n"), std::string::npos) << second.output;
        EXPECT_NE(platform::ReadWholeFile(package), before) << (linux64 ? "Linux64" : "Windows");
    }
}

// A per-user ini that appears once the install has been looked at (here made by the project's
// pre-compile script, in life by the game) is read by the tool instead of the one prepared: the
// compile says so in one line and fails.
TEST(CliCompileTest, ToolReadingAnotherIniFailsTheCompile) {
    testing::TempDir dir;
    testing::TempHome home;
    const std::string root = testing::CopyLinuxSampleGame(dir);
    const std::string project = dir.Write(
        "Demo.tvx", "[Project]\r\nName=Demo\r\nDoPreBatch=True\r\n[PreBatch]\r\nCommand0=MKDIR " +
                        home.PreferenceDirectory() + "\r\nCommand1=COPY %UTPATH%/System64/UnrealTournament.ini " +
                        home.PreferenceDirectory() + "\r\n[Packages]\r\nPackage0=DemoMod\r\n");
    const auto result = RunCommand(kCli + " compile --game " + ShellQuote(root) + " --project " +
                                   ShellQuote(project) + " --yes 2>&1");
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_NE(result.output.find("\nCompile failed: the game's tool read " + home.PreferenceDirectory() +
                                 "/UnrealTournament.ini, not " + root +
                                 "/System64/UnrealTournament.ini, which Torvane prepared and shows.\n"),
              std::string::npos)
        << result.output;
}

// The command line compiles as the window does: the project's pre- and post-compile scripts run
// around the tool, with the tokens given.
TEST(CliCompileTest, ProjectScriptsRunAroundTheTool) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    const std::string project = dir.Write(
        "Demo.tvx",
        "[Project]\r\nName=Demo\r\nDoPostBatch=True\r\nDoPreBatch=True\r\nCompileMode=1\r\n"
        "[PostBatch]\r\nCommand0=ECHO after %ERRORCOUNT% %PROJECT%\r\n"
        "[PreBatch]\r\nCommand0=ECHO before %MAP% %MODE%\r\n[Packages]\r\nPackage0=DemoMod\r\n");
    const auto result = RunCommand(kCli + " compile --game " + ShellQuote(root) + " --project " +
                                   ShellQuote(project) + " --token MAP=dm-demo --yes 2>/dev/null");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    const auto before = result.output.find("before DM-DEMO Debug Mode\n");
    const auto tool = result.output.find("Success - 0 error(s), 0 warnings\n");
    const auto after = result.output.find("after 0 Demo\n");
    ASSERT_NE(before, std::string::npos) << result.output;
    ASSERT_NE(tool, std::string::npos) << result.output;
    ASSERT_NE(after, std::string::npos) << result.output;
    EXPECT_LT(before, tool);
    EXPECT_LT(tool, after);
}

// A compile copy left by an interrupted compile is kept when the repair is declined, and the
// compile refuses to run over it; a copy that cannot be made stops the compile before anything
// changes.
TEST(CliCompileTest, CompileCopyIsNeverOverwrittenAndMustBeMade) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    const std::string compile = kCli + " compile --game " + ShellQuote(root);
    const std::string good = dir.Read("game/System/UnrealTournament.ini");
    const std::string prepared = good + "[Prepared]\r\nForTheCompile=True\r\n";
    dir.Write("game/System/UnrealTournament.torvane", good);
    dir.Write("game/System/UnrealTournament.ini", prepared);
    const auto refused = RunCommand(compile + " 2>&1");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.output.find("Nothing was compiled."), std::string::npos) << refused.output;
    EXPECT_EQ(dir.Read("game/System/UnrealTournament.torvane"), good);
    EXPECT_EQ(dir.Read("game/System/UnrealTournament.ini"), prepared);

    EXPECT_EQ(RunCommand(compile + " --yes >/dev/null 2>&1").exitCode, 0);  // repaired, then compiled
    EXPECT_EQ(dir.Read("game/System/UnrealTournament.ini"), good);
    EXPECT_FALSE(platform::FileExists(root + "/System/UnrealTournament.torvane"));

    platform::DeleteFile(root + "/System/DemoMod.u");
    const std::string demoLib = dir.Read("game/System/DemoLib.u");
    platform::CreateDirectories(root + "/System/UnrealTournament.torvane");  // cannot be written
    const auto uncopied = RunCommand(compile + " --yes 2>&1");
    EXPECT_EQ(uncopied.exitCode, 2);
    EXPECT_NE(uncopied.output.find("Could not copy"), std::string::npos) << uncopied.output;
    EXPECT_EQ(uncopied.output.find("--------------------"), std::string::npos) << uncopied.output;
    EXPECT_EQ(dir.Read("game/System/UnrealTournament.ini"), good);
    EXPECT_EQ(dir.Read("game/System/DemoLib.u"), demoLib);
}

}  // namespace
}  // namespace torvane

namespace torvane {
namespace {

TEST(CliScriptTest, RunsHeadlessWithTokensAndAsk) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    const std::string script = dir.Write("s.bat", "ECHO %MAP% // the map\r\nASK %1 \"Name?\"\r\nECHO hi %1\r\n"
                                                  "IF EXISTS %UTSYSTEM%\\UCC.exe ok\r\nECHO no tool\r\n:ok\r\n");
    const auto result = RunCommand("echo Ann | " + kCli + " script --game " + ShellQuote(root) +
                                   " --token MAP=dm-demo " + ShellQuote(script));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "DM-DEMO\nName?\nhi Ann\n");
    const std::string bad = dir.Write("bad.bat", "STOP soon\r\n");
    EXPECT_EQ(RunCommand(kCli + " script --game " + ShellQuote(root) + " " + ShellQuote(bad) + " 2>/dev/null").exitCode, 1);
}

// A program named without a directory is found in the current directory before the search path,
// as the game's users expect; one that cannot be started at all says so in the log.
TEST(CliScriptTest, ProgramsAreLookedUpInTheCurrentDirectoryFirst) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    for (const auto& [file, body] : {std::pair{"tools/mytool.exe", "echo tool $1"},
                                     std::pair{"tools/real.bat", "echo bat $1 $2"},
                                     std::pair{"bin/mytool.exe", "echo from the search path"}}) {
        ::chmod(dir.Write(file, std::string("#!/bin/sh\n") + body + "\n").c_str(), 0755);
    }
    const std::string script = dir.Write(
        "s.bat", "CD " + dir.Path("tools") + "\r\nmytool.exe first\r\nMyTool second\r\nreal.bat one two\r\n"
                 "missing.exe\r\nECHO done\r\n");
    const auto result = RunCommand("PATH=" + ShellQuote(dir.Path("bin")) + ":$PATH " + kCli + " script --game " +
                                   ShellQuote(root) + " " + ShellQuote(script));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    for (const char* line : {"\ntool first\n", "\ntool second\n", "\nbat one two\n",
                             "\n -- Could not start missing.exe: Could not find file missing.exe\n", "\ndone\n"}) {
        EXPECT_NE(result.output.find(line), std::string::npos) << line << " in\n" << result.output;
    }
    EXPECT_EQ(result.output.find("from the search path"), std::string::npos) << result.output;
}

// torvane-cli tools lists and runs the Tools menu's entries of a settings file as the menu does,
// but says what went wrong.
TEST(CliToolsTest, ListsAndRunsTheToolsOfASettingsFile) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    ::chmod(dir.Write("bin/greet", "#!/bin/sh\necho \"hello $1\" > \"$2\"\n").c_str(), 0755);
    const std::string settings = dir.Write(
        "prog/Torvane.ini",
        "[Preferences]\r\nUTPath=" + root + "\r\nToken0=MAP\r\nTokenValue0=dm-demo\r\n"
        "[Tools]\r\nTool0=Greet\r\nToolExec0=" + dir.Path("bin/greet") + " there " + dir.Path("out.txt") +
        "\r\nTool1=Where\r\nToolExec1=@macro ECHO %UTPATH% %MAP% %MOD% %TORVANEPATH%\r\n"
        "Tool2=Empty\r\nTool3=Missing\r\nToolExec3=" + dir.Path("no/such") + "\r\n"
        "Tool4=Broken\r\nToolExec4=@MACRO SLEEP soon\r\nTool6=Stale\r\n");
    const std::string tools = kCli + " tools ";
    const std::string withSettings = " --settings " + ShellQuote(settings);

    auto result = RunCommand(tools + "list" + withSettings);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "0\tGreet\t" + dir.Path("bin/greet") + " there " + dir.Path("out.txt") +
                                 "\n1\tWhere\t@macro ECHO %UTPATH% %MAP% %MOD% %TORVANEPATH%\n2\tEmpty\t\n"
                                 "3\tMissing\t" + dir.Path("no/such") + "\n4\tBroken\t@MACRO SLEEP soon\n");

    result = RunCommand(tools + "run 0" + withSettings);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(dir.Read("out.txt"), "hello there\n");
    result = RunCommand(tools + "run 1" + withSettings + " --token MOD=demomod");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, root + " DM-DEMO DEMOMOD " + dir.Path("prog") + "\n");

    const struct {
        std::string arguments;
        std::string error;
    } failures[] = {
        {"run 2" + withSettings, "torvane-cli: tool 2 has no command line\n"},
        {"run 3" + withSettings, "torvane-cli: " + dir.Path("no/such") + " could not be started\n"},
        {"run 4" + withSettings, "torvane-cli: 'soon' is not a valid integer value\n"},
        {"run 5" + withSettings, "torvane-cli: there is no tool 5 (5 tools)\n"},
        {"list --settings " + ShellQuote(dir.Path("none.ini")), "torvane-cli: " + dir.Path("none.ini") + " does not exist\n"},
    };
    for (const auto& failure : failures) {
        result = RunCommand(tools + failure.arguments + " 2>&1 >/dev/null");
        EXPECT_EQ(result.exitCode, 1) << failure.arguments;
        EXPECT_EQ(result.output, failure.error) << failure.arguments;
    }
}

// torvane-cli find lists what the output log lists: path(line): text in the location's order.
TEST(CliFindTest, ListsTheHitLinesOfALocationOnACopiedTree) {
    testing::TempDir dir;
    const std::string root = testing::CopySampleGame(dir);
    // A class written with line feeds only: its hits keep their own line numbers.
    const std::string lf = dir.Write("game/DemoMod/Classes/DemoLf.uc",
                                     "class DemoLf extends DemoPickup;\n\n// a pickup ACTOR\n");
    const std::string find = kCli + " find --game " + ShellQuote(root);
    const std::string pickup = root + "/DemoMod/Classes/DemoPickup.uc";
    const std::string mutator = root + "/DemoMod/Classes/DemoMutator.uc";

    auto result = RunCommand(find + " --location actors 'PICKUP'");
    EXPECT_EQ(result.exitCode, 0);
    const std::string inventory = root + "/Engine/Classes/Inventory.uc";
    EXPECT_EQ(result.output, inventory + "(8): var() localized string PickupMessage;\n" + inventory +
                                 "(13): PickupMessage=\"You picked up an item\"\n" + pickup +
                                 "(2): // DemoPickup: a pickup that grants a few charges.\n" +
                                 pickup + "(4): class DemoPickup extends Inventory;\n" +
                                 pickup + "(16): PickupMessage=\"You picked up a demo pickup\"\n" +
                                 lf + "(1): class DemoLf extends DemoPickup;\n" + lf + "(3): // a pickup ACTOR\n");

    result = RunCommand(find + " --location branch --class mutator 'super.'");
    EXPECT_EQ(result.output, mutator + "(15): return Super.AlwaysKeep(Other);\n");

    const std::string project = dir.Write("Demo.tvx", "[Project]\r\nName=Demo\r\n[Packages]\r\nPackage0=DemoMod\r\n");
    result = RunCommand(find + " --location 'All Classes in Current Project' --project " + ShellQuote(project) +
                        " maxseen");
    EXPECT_EQ(result.output, mutator + "(7): var config int MaxSeen;\n" + mutator + "(13): if ( Seen > MaxSeen )\n" +
                                 mutator + "(20): MaxSeen=100\n");

    const struct {
        const char* arguments;
        int exitCode;
        const char* stderrText;
    } failures[] = {
        {"no-such-text-anywhere", 1, ""},
        {"--location project x", 1, "No Project Loaded.\n"},
        {"--location branch x", 1, "You must select an branch in the Actor or Object Tree first!\n"},
        {"--location nowhere x", 2, "torvane-cli: unknown location \"nowhere\"\n"},
    };
    for (const auto& f : failures) {
        result = RunCommand(find + " " + f.arguments + " 2>&1");
        EXPECT_EQ(result.exitCode, f.exitCode) << f.arguments;
        EXPECT_EQ(result.output, f.stderrText) << f.arguments;
    }
}

TEST(CliTest, SymbolsDefAndRefsOnTheSampleGame) {
    testing::TempDir dir, caches;
    const std::string root = testing::CopySampleGame(dir);
    const std::string game = " --game " + ShellQuote(root);
    const std::string pickup = root + "/DemoMod/Classes/DemoPickup.uc";

    const auto symbols = RunCommand(kCli + " symbols" + game + " --cache " + ShellQuote(caches.path()) + " --class demopickup");
    EXPECT_EQ(symbols.exitCode, 0);
    EXPECT_EQ(symbols.output, pickup + "(4): class DemoMod.DemoPickup extends Inventory\n" +
                                  pickup + "(6): variable DemoPickup.BonusCharge: var() int BonusCharge\n" +
                                  pickup + "(8): function DemoPickup.GiveCharge: function GiveCharge()\n"
                                  "classes: 9, symbols: 35, sources read: 9, packages read: 0, from cache: 0\n");
    const auto cached = RunCommand(kCli + " symbols" + game + " --cache " + ShellQuote(caches.path()) + " --class Actor");
    EXPECT_NE(cached.output.find("sources read: 0, packages read: 0, from cache: 9"), std::string::npos) << cached.output;

    // Line 10: "<tab>Charge = class'DemoMath'.static.Clamp3(Charge + BonusCharge, 0, 100);"
    const std::string at = " def" + game + " " + ShellQuote(pickup) + " 10 ";
    EXPECT_EQ(RunCommand(kCli + at + "2").output, root + "/Engine/Classes/Inventory.uc(9): var() int Charge;\n");
    EXPECT_EQ(RunCommand(kCli + at + "35").output,
              root + "/DemoLib/Classes/DemoMath.uc(7): static function int Clamp3( int Value, int Low, int High )\n");
    EXPECT_EQ(RunCommand(kCli + at + "20").output, root + "/DemoLib/Classes/DemoMath.uc(4): class DemoMath extends DemoObject\n");
    const auto keyword = RunCommand(kCli + at + "29 2>&1");
    EXPECT_EQ(keyword.exitCode, 1);
    EXPECT_EQ(keyword.output, "torvane-cli: no name at " + pickup + "(10) column 29\n");

    const auto refs = RunCommand(kCli + " refs" + game + " Inventory.Charge");
    EXPECT_EQ(refs.exitCode, 0);
    EXPECT_EQ(refs.output, root + "/Engine/Classes/Inventory.uc(9): var() int Charge;\n" + pickup +
                               "(10): Charge = class'DemoMath'.static.Clamp3(Charge + BonusCharge, 0, 100);\n");
    const auto missing = RunCommand(kCli + " refs" + game + " Inventory.Nothing 2>&1");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.output, "torvane-cli: no member Nothing in Inventory's chain\n");
}

}  // namespace
}  // namespace torvane
