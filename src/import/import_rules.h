#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/image_info.h"

// The rules of importing images and sounds into a package's sources, and of showing an image:
// which images the game takes, the names and "#exec" lines written for them, and the texts the
// windows show.
namespace torvane::imports {

// A texture side the game takes: 2, 4, 8, ... 512, or 1024 and more.
bool IsValidTextureSide(int side);
// Both sides valid and a palette of exactly 256 colours.
bool IsImportableImage(const ImageInfo& info);

// The resource name of an image: its file name without the extension (the last four characters)
// put in place of the first "*" of the mask; an empty mask gives that base alone, a mask without
// "*" gives "img" followed by it.
std::string TextureName(std::string_view fileName, std::string_view mask);

struct TextureImportOptions {
    std::string mask = "img*";
    std::string group;
    bool masked = false;       // "Import Textures with Flags=2 (Masked)"
    bool disableMips = false;  // "Disable Mips"
};

// "#exec Texture Import File=Textures\<file> Name=<name>", then " Group=", " Mips=Off" and
// " Flags=2" as chosen.
std::string TextureDirective(std::string_view fileName, const TextureImportOptions& options);
// "#exec Audio Import File=Sounds\<file> Name=<name>", then " Group=" when there is one.
std::string SoundDirective(std::string_view fileName, std::string_view name, std::string_view group);

// The name a browsed sound gets when none is given: "snd" and the file name without directory
// and extension (the last four characters).
std::string SoundNameOfFile(std::string_view path);
// Whether a sound can be played or imported: an existing file with the extension ".WAV".
bool IsWaveFile(const std::string& path);

// The size text of the preview: "(" width "x" height and the colours ")": "x256c" for 256
// colours, "x16M" for true colour, else "x" and the number of colours and "c".
std::string DimsText(const ImageInfo& info);

// The image files of a directory (names matching "*.BMP" or "*.PCX" without regard to case), in
// name order.
std::vector<std::string> ListImageFiles(const std::string& directory);

// The message of a file that cannot be drawn: "PCX Error" or "BMP Error".
std::string DrawErrorText(ImageKind kind);

// The image viewer shows a side below 128 pixels as 256.
int ViewerSide(int side);
// Its hint: the file name, " (", width, " x ", height and ")".
std::string ViewerHint(std::string_view fileName, int width, int height);

}  // namespace torvane::imports
