// Importing images and sounds into a package: copies, questions, messages and directives.
#include <gtest/gtest.h>

#include <tuple>

#include "import/resource_import.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "support/image_files.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace torvane::imports {
namespace {

using testing::BmpBytes;
using testing::PcxBytes;

class ResourceImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.Write("game/DemoMod/Classes/DemoMutator.uc", "class DemoMutator extends Mutator;\r\n");
        host_.prompter = &prompter_;
        host_.showInfo = [this](const std::string& text) { info_.push_back(text); };
        host_.writeDirective = [this](const std::string& line) { directives_.push_back(line); };
        host_.addProjectFile = [this](const std::string& package, const std::string& group, const std::string& file) {
            listed_.push_back(package + "|" + group + "|" + file);
        };
    }
    ImageImportRequest Images(std::vector<std::string> names) {
        ImageImportRequest request;
        request.gameRoot = dir_.Path("game");
        request.package = "DemoMod";
        request.directory = dir_.Path("art");
        request.fileNames = std::move(names);
        return request;
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const auto& m : prompter_.shown()) texts.push_back(m.text);
        return texts;
    }

    testing::TempDir dir_;
    testing::ScriptedPrompter prompter_;
    ImportHost host_;
    std::vector<std::string> info_, directives_, listed_;
};

TEST_F(ResourceImportTest, AnImageIsCopiedAndItsDirectiveWritten) {
    platform::CreateDirectories(dir_.Path("game/DemoMod/Textures"));
    dir_.Write("art/wall.pcx", PcxBytes(256, 128));
    EXPECT_EQ(ImportImages(Images({"wall.pcx"}), host_), ImportOutcome::Close);
    EXPECT_EQ(dir_.Read("game/DemoMod/Textures/wall.pcx"), PcxBytes(256, 128));
    EXPECT_EQ(directives_, std::vector<std::string>{"#exec Texture Import File=Textures\\wall.pcx Name=imgwall"});
    EXPECT_EQ(listed_, std::vector<std::string>{"DemoMod|Textures|wall.pcx"});
    EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(ResourceImportTest, AnInvalidImageAmongThreeIsReportedAndPassedOver) {
    platform::CreateDirectories(dir_.Path("game/DemoMod/Textures"));
    dir_.Write("art/a.bmp", BmpBytes(64, 64));
    dir_.Write("art/b.bmp", BmpBytes(100, 100));
    dir_.Write("art/c.pcx", PcxBytes(1100, 2));
    auto request = Images({"a.bmp", "b.bmp", "c.pcx"});
    request.options.mask = "Tex_*_A";
    request.options.group = "Skins";
    request.options.disableMips = true;
    EXPECT_EQ(ImportImages(request, host_), ImportOutcome::Close);
    EXPECT_EQ(Shown(), std::vector<std::string>{"The File b.bmp is an invalid image file and can't be imported."});
    EXPECT_EQ(directives_, (std::vector<std::string>{
                               "#exec Texture Import File=Textures\\a.bmp Name=Tex_a_A Group=Skins Mips=Off",
                               "#exec Texture Import File=Textures\\c.pcx Name=Tex_c_A Group=Skins Mips=Off"}));
    EXPECT_TRUE(platform::FileExists(dir_.Path("game/DemoMod/Textures/a.bmp")));
    EXPECT_FALSE(platform::FileExists(dir_.Path("game/DemoMod/Textures/b.bmp")));
    EXPECT_TRUE(platform::FileExists(dir_.Path("game/DemoMod/Textures/c.pcx")));
}

// Wrong palettes, wrong sizes and files that are no images are all the same message.
TEST_F(ResourceImportTest, EveryKindOfInvalidImageIsRefused) {
    platform::CreateDirectories(dir_.Path("game/DemoMod/Textures"));
    const std::pair<const char*, std::string> files[] = {
        {"small.pcx", PcxBytes(100, 100)},      {"sixteen.pcx", PcxBytes(64, 64, 4, 1)},
        {"true.bmp", BmpBytes(64, 64, 24)},     {"cut.pcx", PcxBytes(64, 64).substr(0, 300)},
        {"text.bmp", "just some text"},
    };
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) {
        dir_.Write(std::string("art/") + name, bytes);
        names.push_back(name);
    }
    names.push_back("gone.pcx");  // deleted since the list was read
    EXPECT_EQ(ImportImages(Images(names), host_), ImportOutcome::Close);
    ASSERT_EQ(prompter_.shown().size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(prompter_.shown()[i].text, "The File " + names[i] + " is an invalid image file and can't be imported.");
    }
    EXPECT_TRUE(directives_.empty());
    EXPECT_TRUE(platform::ListDirectory(dir_.Path("game/DemoMod/Textures"), "*").empty());
}

TEST_F(ResourceImportTest, AMissingTexturesDirectoryIsCreatedOnlyOnYes) {
    dir_.Write("art/wall.pcx", PcxBytes(32, 32));
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_EQ(ImportImages(Images({"wall.pcx"}), host_), ImportOutcome::StayOpen);
    EXPECT_EQ(Shown(), std::vector<std::string>{"The package DemoMod does not have a texture directory.  Create it now?"});
    EXPECT_EQ(info_, std::vector<std::string>{"Aborted."});
    EXPECT_FALSE(platform::DirectoryExists(dir_.Path("game/DemoMod/Textures")));
    EXPECT_TRUE(directives_.empty());

    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_EQ(ImportImages(Images({"wall.pcx"}), host_), ImportOutcome::Close);
    EXPECT_TRUE(platform::FileExists(dir_.Path("game/DemoMod/Textures/wall.pcx")));
    EXPECT_EQ(directives_.size(), 1u);
}

TEST_F(ResourceImportTest, NothingIsOverwritten) {
    dir_.Write("game/DemoMod/Textures/WALL.PCX", "someone else's wall");
    dir_.Write("game/DemoMod/Textures/sky.pcx", PcxBytes(64, 64));
    dir_.Write("art/first.pcx", PcxBytes(64, 64));
    dir_.Write("art/wall.pcx", PcxBytes(64, 64));
    dir_.Write("art/last.pcx", PcxBytes(64, 64));
    EXPECT_EQ(ImportImages(Images({"first.pcx", "wall.pcx", "last.pcx"}), host_), ImportOutcome::StayOpen);
    EXPECT_EQ(Shown(), std::vector<std::string>{"An Image resource by the name wall.pcx already exists in this package."});
    EXPECT_EQ(dir_.Read("game/DemoMod/Textures/WALL.PCX"), "someone else's wall");
    EXPECT_EQ(directives_.size(), 1u);  // the first one only; the import stopped
    EXPECT_FALSE(platform::FileExists(dir_.Path("game/DemoMod/Textures/last.pcx")));

    // The package's own file chosen from its Textures directory is used as it is.
    auto own = Images({"sky.pcx"});
    own.directory = dir_.Path("game/DemoMod/Textures");
    EXPECT_EQ(ImportImages(own, host_), ImportOutcome::Close);
    EXPECT_EQ(directives_.back(), "#exec Texture Import File=Textures\\sky.pcx Name=imgsky");
}

TEST_F(ResourceImportTest, FailuresStopTheImport) {
    dir_.Write("art/wall.pcx", PcxBytes(64, 64));
    // Without a package nothing happens.
    auto none = Images({"wall.pcx"});
    none.package.clear();
    EXPECT_EQ(ImportImages(none, host_), ImportOutcome::StayOpen);
    EXPECT_TRUE(prompter_.shown().empty());

    // A file where the package directory should be: the directory cannot be created.
    dir_.Write("game/Flat", "not a directory");
    auto flat = Images({"wall.pcx"});
    flat.package = "Flat";
    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_EQ(ImportImages(flat, host_), ImportOutcome::StayOpen);
    EXPECT_EQ(prompter_.shown().back().text, "Could not create /Textures directory");

    // A directory in the way of the copy: the copy fails, and no directive names a missing file.
    platform::CreateDirectories(dir_.Path("game/DemoMod/Textures/wall.pcx"));
    EXPECT_EQ(ImportImages(Images({"wall.pcx"}), host_), ImportOutcome::StayOpen);
    EXPECT_EQ(prompter_.shown().back().kind, testing::ShownMessage::Kind::Error);
    EXPECT_NE(prompter_.shown().back().text.find("Could not copy"), std::string::npos);
    EXPECT_TRUE(directives_.empty());
}

class SoundImportTest : public ResourceImportTest {
protected:
    SoundImportRequest Sound(const std::string& file, const std::string& name = "sndBoom") {
        SoundImportRequest request;
        request.gameRoot = dir_.Path("game");
        request.package = "DemoMod";
        request.file = file;
        request.name = name;
        return request;
    }
};

TEST_F(SoundImportTest, ASoundIsCopiedIntoANewSoundsDirectory) {
    const std::string wav = dir_.Write("noise/Boom.wav", "RIFF....WAVE");
    prompter_.QueueAnswer(core::Answer::Yes);
    auto request = Sound(wav);
    request.group = "Weapons";
    EXPECT_EQ(ImportSound(request, host_), ImportOutcome::Close);
    EXPECT_EQ(Shown(), std::vector<std::string>{"The package DemoMod does not have a sounds directory.  Create it now?"});
    EXPECT_EQ(dir_.Read("game/DemoMod/Sounds/Boom.wav"), "RIFF....WAVE");
    EXPECT_EQ(directives_, std::vector<std::string>{"#exec Audio Import File=Sounds\\Boom.wav Name=sndBoom Group=Weapons"});
    EXPECT_EQ(listed_, std::vector<std::string>{"DemoMod|Sounds|Boom.wav"});
}

TEST_F(SoundImportTest, AnExistingSoundIsKeptAfterTheQuestion) {
    dir_.Write("game/DemoMod/Sounds/Boom.wav", "the package's own");
    const std::string wav = dir_.Write("noise/Boom.wav", "another");
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_EQ(ImportSound(Sound(wav), host_), ImportOutcome::StayOpen);
    EXPECT_EQ(Shown(), std::vector<std::string>{"The WAV Boom.wav already exists in this package.  Continue"});
    EXPECT_TRUE(directives_.empty());
    prompter_.QueueAnswer(core::Answer::Yes);
    EXPECT_EQ(ImportSound(Sound(wav), host_), ImportOutcome::Close);
    EXPECT_EQ(dir_.Read("game/DemoMod/Sounds/Boom.wav"), "the package's own");
    EXPECT_EQ(directives_.size(), 1u);
    // The package's own file is used without a question.
    EXPECT_EQ(ImportSound(Sound(dir_.Path("game/DemoMod/Sounds/Boom.wav")), host_), ImportOutcome::Close);
    EXPECT_EQ(prompter_.shown().size(), 2u);
}

TEST_F(SoundImportTest, RefusedDirectoryAndFilesThatAreNoSounds) {
    const std::string wav = dir_.Write("noise/Boom.wav", "RIFF");
    prompter_.QueueAnswer(core::Answer::No);
    EXPECT_EQ(ImportSound(Sound(wav), host_), ImportOutcome::StayOpen);
    EXPECT_EQ(info_, std::vector<std::string>{"Aborted."});
    EXPECT_FALSE(platform::DirectoryExists(dir_.Path("game/DemoMod/Sounds")));

    EXPECT_EQ(ImportSound(Sound(dir_.Write("noise/Boom.mp3", "ID3")), host_), ImportOutcome::Close);
    EXPECT_EQ(ImportSound(Sound(dir_.Path("noise/Gone.wav")), host_), ImportOutcome::Close);
    EXPECT_EQ(prompter_.shown().size(), 1u);
    EXPECT_TRUE(directives_.empty());
}

// An editor without a package imports into the game root's own Sounds directory.
TEST_F(SoundImportTest, WithoutAPackageTheGamesSoundsDirectoryIsUsed) {
    platform::CreateDirectories(dir_.Path("game/Sounds"));
    auto request = Sound(dir_.Write("noise/Click.WAV", "RIFF"), "");
    request.package.clear();
    EXPECT_EQ(ImportSound(request, host_), ImportOutcome::Close);
    EXPECT_TRUE(platform::FileExists(dir_.Path("game/Sounds/Click.WAV")));
    EXPECT_EQ(directives_, std::vector<std::string>{"#exec Audio Import File=Sounds\\Click.WAV Name="});
    EXPECT_EQ(listed_, std::vector<std::string>{"|Sounds|Click.WAV"});
}

}  // namespace
}  // namespace torvane::imports
