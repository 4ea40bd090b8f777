#include "import/import_rules.h"

#include <algorithm>

#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace torvane::imports {

namespace {

// The name without its last four characters (a dot and a three-letter extension).
std::string_view BaseName(std::string_view fileName) {
    return fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
}

// A value with a blank is quoted, as the game's own sources write it, so that it stays one value.
std::string Value(std::string_view value) {
    if (value.find(' ') == std::string_view::npos) return std::string(value);
    return "\"" + std::string(value) + "\"";
}

}  // namespace

bool IsValidTextureSide(int side) {
    if (side >= 1024) return true;
    return side >= 2 && side <= 512 && (side & (side - 1)) == 0;
}

bool IsImportableImage(const ImageInfo& info) {
    return IsValidTextureSide(info.width) && IsValidTextureSide(info.height) && info.paletteEntries == 256;
}

std::string TextureName(std::string_view fileName, std::string_view mask) {
    const std::string base(BaseName(fileName));
    if (mask.empty()) return base;
    const auto star = mask.find('*');
    if (star == std::string_view::npos) return "img" + base;
    return std::string(mask.substr(0, star)) + base + std::string(mask.substr(star + 1));
}

std::string TextureDirective(std::string_view fileName, const TextureImportOptions& options) {
    std::string line = "#exec Texture Import File=" + Value("Textures\\" + std::string(fileName)) +
                       " Name=" + Value(TextureName(fileName, options.mask));
    if (!options.group.empty()) line += " Group=" + Value(options.group);
    if (options.disableMips) line += " Mips=Off";
    if (options.masked) line += " Flags=2";
    return line;
}

std::string SoundDirective(std::string_view fileName, std::string_view name, std::string_view group) {
    std::string line = "#exec Audio Import File=" + Value("Sounds\\" + std::string(fileName)) + " Name=" + Value(name);
    if (!group.empty()) line += " Group=" + Value(group);
    return line;
}

std::string SoundNameOfFile(std::string_view path) {
    return "snd" + std::string(BaseName(platform::FileNamePart(path)));
}

bool IsWaveFile(const std::string& path) {
    return core::EndsWithIgnoringCase(path, ".WAV") && platform::FileExists(path);
}

std::string DimsText(const ImageInfo& info) {
    std::string colours;
    if (info.paletteEntries == 256) {
        colours = "x256c";
    } else if (info.paletteEntries == 0) {
        colours = "x16M";
    } else {
        colours = "x" + std::to_string(info.paletteEntries) + "c";
    }
    return "(" + std::to_string(info.width) + "x" + std::to_string(info.height) + colours + ")";
}

std::vector<std::string> ListImageFiles(const std::string& directory) {
    std::vector<std::string> names;
    for (const char* pattern : {"*.BMP", "*.PCX"}) {
        for (const auto& entry : platform::ListDirectory(directory, pattern)) names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string ua = core::UpperCase(a), ub = core::UpperCase(b);
        return ua != ub ? ua < ub : a < b;
    });
    return names;
}

std::string DrawErrorText(ImageKind kind) { return kind == ImageKind::Pcx ? "PCX Error" : "BMP Error"; }

int ViewerSide(int side) { return side < 128 ? 256 : side; }

std::string ViewerHint(std::string_view fileName, int width, int height) {
    return std::string(fileName) + " (" + std::to_string(width) + " x " + std::to_string(height) + ")";
}

}  // namespace torvane::imports
