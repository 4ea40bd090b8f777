// The package export on game trees in a temporary directory: questions, folders, log lines,
// progress, the consent rule for changed files, names that are refused, and every class of the
// fixture packages in both ways.
#include "unrealpkg/package_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "platform/memory_status.h"
#include "resource_packages.h"
#include "support/recording_export_progress.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "unrealpkg/export_progress.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

using testing::ScriptedPrompter;
using testing::ShownMessage;

// Every file below root, relative, sorted.
std::vector<std::string> FilesBelow(const std::string& root) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) files.push_back(std::filesystem::relative(entry.path(), root).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class PackageExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = dir_.Path("ut");
        dir_.Write("ut/System/UnrealTournament.ini", "[Editor.EditorEngine]\r\nEditPackages=Core\r\n");
        Copy("/compiled/System/DecoTest.u", "DecoTest.u");
        progress_.shown = true;
    }
    void Copy(const std::string& fixture, const std::string& name) {
        platform::CopyFileOverwrite(testing::FixturesDir() + fixture, game_ + "/System/" + name);
    }
    platform::GameInstall Install() const { return platform::GameInstall::Detect(game_, {}); }
    bool Export(const std::string& name, const PackageExportOptions& options = {}) {
        PackageExportServices services;
        services.prompter = &prompter_;
        services.log = &log_;
        services.pump = &pump_;
        services.progress = &progress_;
        return ExportCompiledPackage(Install(), name, options, services);
    }

    testing::TempDir dir_;
    std::string game_;
    ScriptedPrompter prompter_;
    testing::RecordingOutputLog log_;
    testing::ScriptedEventPump pump_;
    testing::RecordingExportProgress progress_;
};

TEST_F(PackageExportTest, NewPackageGetsItsClassesWithLogLinesAndProgress) {
    log_.AppendLine("an older line");
    ASSERT_TRUE(Export("DecoTest"));
    EXPECT_TRUE(prompter_.shown().empty());
    EXPECT_EQ(FilesBelow(game_ + "/DecoTest"),
              (std::vector<std::string>{"Classes/DecoChild.uc", "Classes/DecoFlow.uc", "Classes/DecoStates.uc"}));
    // The log was cleared first; one line per file, in export order.
    EXPECT_EQ(log_.lines(), (std::vector<std::string>{"Exporting " + game_ + "/DecoTest/Classes/DecoChild.uc",
                                                      "Exporting " + game_ + "/DecoTest/Classes/DecoFlow.uc",
                                                      "Exporting " + game_ + "/DecoTest/Classes/DecoStates.uc"}));
    EXPECT_EQ(progress_.statuses.front(), "Reading in " + game_ + "/System/DecoTest.u");
    EXPECT_EQ(progress_.statuses.back(), "Exporting DecoStates.uc");
    ASSERT_EQ(progress_.memory.size(), 1u);
    EXPECT_EQ(progress_.memory[0].rfind("Memory: ", 0), 0u);
    TUTPackage package(game_ + "/System/DecoTest.u");
    EXPECT_EQ(pump_.calls(), package.ExportCount());  // before every export entry
    const std::string source = dir_.Read("ut/DecoTest/Classes/DecoStates.uc");
    EXPECT_EQ(source.rfind("class DecoStates extends Object;\r\n", 0), 0u);
    EXPECT_EQ(source.substr(source.size() - 3), "}\r\n");
}

TEST_F(PackageExportTest, ExistingFolderIsAskedAboutOnceAndNoLeavesItAlone) {
    dir_.Write("ut/DecoTest/Classes/DecoFlow.uc", "// changed\r\n");
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_FALSE(Export("DecoTest"));
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text,
              "The package you are attempting to export (DecoTest) already exists.  If you continue, you may "
              "overwrite any changes you have made since the last compile.  Continue?");
    EXPECT_EQ(FilesBelow(game_ + "/DecoTest"), (std::vector<std::string>{"Classes/DecoFlow.uc"}));

    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_TRUE(Export("DecoTest"));
    EXPECT_EQ(prompter_.shown().size(), 2u);  // no second question for the changed file
    EXPECT_EQ(dir_.Read("ut/DecoTest/Classes/DecoFlow.~uc"), "// changed\r\n");
    EXPECT_EQ(dir_.Read("ut/DecoTest/Classes/DecoFlow.uc").rfind("class DecoFlow", 0), 0u);
}

TEST_F(PackageExportTest, QuietExportAsksBeforeReplacingAChangedFileOnly) {
    PackageExportOptions quiet;
    quiet.quiet = true;
    ASSERT_TRUE(Export("DecoTest", quiet));
    // An unchanged file is not written again.
    const std::string flow = game_ + "/DecoTest/Classes/DecoFlow.uc";
    platform::SetFileModifiedTime(flow, 1000000000);
    dir_.Write("ut/DecoTest/Classes/DecoStates.uc", "// changed\r\n");
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_FALSE(Export("DecoTest", quiet));
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].kind, ShownMessage::Kind::Confirm);
    EXPECT_EQ(dir_.Read("ut/DecoTest/Classes/DecoStates.uc"), "// changed\r\n");
    EXPECT_EQ(platform::FileModifiedTime(flow), 1000000000);
    EXPECT_FALSE(platform::FileExists(game_ + "/DecoTest/Classes/DecoStates.~uc"));
}

TEST_F(PackageExportTest, FolderThatCannotBeMadeEndsTheExport) {
    dir_.Write("ut/DecoTest", "a file where the folder should be");
    EXPECT_FALSE(Export("DecoTest", PackageExportOptions{false, false, false, false, true, false}));
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, "Could not creative directory " + game_ + "/DecoTest");

    platform::DeleteFile(game_ + "/DecoTest");
    dir_.Write("ut/DecoTest/Classes", "a file where the subfolder should be");
    PackageExportOptions quiet;
    quiet.quiet = true;
    EXPECT_FALSE(Export("DecoTest", quiet));
    EXPECT_EQ(prompter_.shown().back().text, "Could not creative directory " + game_ + "/DecoTest/Classes");
}

TEST_F(PackageExportTest, TexturesAndSoundsWhenAskedAndHostileNamesRefused) {
    testdata::ResourcePackageSpec spec;
    spec.palettes.push_back({"Pal", {0xFF0000}});
    testdata::TextureSpec texture;
    texture.withPalette = true;
    texture.mips = {{2, 2, std::string(4, '\0')}};
    spec.textures.push_back(texture);
    for (const char* name : {"Boom", "../Evil", "a/b", "x\\y", "ctl\x01", ".."}) spec.sounds.push_back({name, "RIFF"});
    testdata::WriteResourcePackage(game_ + "/System/Res.u", spec);

    ASSERT_TRUE(Export("Res"));
    EXPECT_EQ(FilesBelow(game_ + "/Res"), std::vector<std::string>{});  // classes only: nothing to write
    EXPECT_FALSE(std::filesystem::exists(game_ + "/Res/Textures"));

    PackageExportOptions all;
    all.graphics = true;
    all.sounds = true;
    all.models = true;
    prompter_.QueueAnswer(core::Answer::Yes);  // the folder exists now
    ASSERT_TRUE(Export("Res", all));
    EXPECT_EQ(FilesBelow(game_ + "/Res"), (std::vector<std::string>{"Sounds/Boom.wav", "Textures/Tex.bmp"}));
    EXPECT_EQ(dir_.Read("ut/Res/Sounds/Boom.wav"), "RIFF");
    // Nothing was written anywhere else in the game tree.
    const std::vector<std::string> everything = FilesBelow(game_);
    EXPECT_EQ(everything.size(), 5u) << ::testing::PrintToString(everything);
    const ShownMessage& warning = prompter_.shown().back();
    EXPECT_EQ(warning.kind, ShownMessage::Kind::Warning);
    EXPECT_EQ(warning.text,
              "These objects of Res were not exported, their names are not safe file names: "
              "\"../Evil\", \"a/b\", \"x\\y\", \"ctl#1\", \"..\"");
    EXPECT_EQ(log_.lines().back(), warning.text);

    EXPECT_FALSE(Export("../System"));
    EXPECT_EQ(prompter_.shown().back().text,
              "The package \"../System\" was not exported: its name is not a safe folder name.");
}

TEST_F(PackageExportTest, ClassesNamedNoneAreSkipped) {
    Copy("/ut99/System/UWeb.u", "UWeb.u");
    ASSERT_TRUE(Export("UWeb"));
    const std::vector<std::string> files = FilesBelow(game_ + "/UWeb");
    EXPECT_EQ(files.size(), 7u);
    EXPECT_EQ(std::find(files.begin(), files.end(), "Classes/None.uc"), files.end());
}

TEST_F(PackageExportTest, MissingCompiledFileIsAnError) {
    EXPECT_THROW(Export("Nothing"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(game_ + "/Nothing"));
}

// A class that cannot be read ends the export with an error that says which object it was, by
// its export number where the package's names are damaged too.
TEST_F(PackageExportTest, AClassThatCannotBeReadIsNamedInTheError) {
    platform::CopyFileOverwrite(std::string(TORVANE_EXPECTED_DIR) + "/../data/deep-outer-chains-2.u",
                                game_ + "/System/Damaged.u");
    try {
        Export("Damaged", PackageExportOptions{});
        ADD_FAILURE() << "the export went through";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Export ", 0), 0u) << e.what();
        EXPECT_NE(std::string(e.what()).find(": Stream read error"), std::string::npos) << e.what();
    }
}

TEST(MemoryStatusTextTest, LoadAndAvailableFigures) {
    EXPECT_EQ(MemoryStatusText(platform::ParseMemInfo(
                  "MemTotal:       1000 kB\nMemFree:         100 kB\nMemAvailable:    250 kB\nSwapFree:        50 kB\n")),
              "Memory: 75 % (250/300)");
    EXPECT_EQ(MemoryStatusText(std::nullopt), "Memory: unknown");
}

// Every class of every fixture package, from its embedded source and rebuilt.
TEST(RealPackageExportTest, EveryClassExportsInBothWays) {
    const std::string fixtures = testing::FixturesDir();
    std::vector<std::string> files;
    for (const char* folder : {"/ut99/System", "/ut469/System", "/compiled/System"}) {
        for (const auto& entry : std::filesystem::directory_iterator(fixtures + folder)) {
            if (entry.path().extension() == ".u") files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 15u);
    testing::TempDir dir;
    int total = 0;
    for (const std::string& file : files) {
        int classes = 0;
        {
            TUTPackage package(file);
            for (const auto& entry : package.Exports) {
                classes += entry->ClassIndex == 0 && entry->GetObjectName() != "None";
            }
        }
        const std::string name = std::filesystem::path(file).stem().string();
        for (bool rebuild : {false, true}) {
            const std::string out = dir.Path(name + (rebuild ? "-rebuilt" : ""));
            platform::CreateDirectories(out);
            PackageExportOptions options;
            options.rebuild = rebuild;
            const PackageExportResult result =
                ExportPackageFiles(file, out, name, options, PackageExportServices{}, false,
                                   {fixtures + "/ut469/System", fixtures + "/ut99/System"});
            EXPECT_TRUE(result.completed) << file;
            EXPECT_EQ(result.classes, classes) << file;
            for (const std::string& uc : FilesBelow(out)) {
                const std::string text = platform::ReadWholeFile(out + "/" + uc);
                const std::string className = std::filesystem::path(uc).stem().string();
                EXPECT_NE(core::FindIgnoringCase(text, "class " + className), std::string::npos) << file << " " << uc;
                if (rebuild) {
                    EXPECT_EQ(text.rfind("//====", 0), 0u) << file << " " << uc;
                    const std::string_view end = core::TrimRight(text);
                    EXPECT_TRUE(end.back() == '}' || end.back() == ';') << file << " " << uc;
                } else {
                    EXPECT_EQ(text.substr(text.size() - 3), "}\r\n") << file << " " << uc;  // the defaults
                }
            }
        }
        total += classes;
    }
    EXPECT_GE(total, 300);
}

}  // namespace
}  // namespace torvane::unrealpkg
