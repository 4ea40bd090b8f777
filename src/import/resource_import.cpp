#include "import/resource_import.h"

#include "core/interaction.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"

namespace torvane::imports {

namespace {

// The package's Textures or Sounds directory, created after asking when it is missing; false
// when it is not there afterwards (the user has been told).
bool EnsureDirectory(const std::string& directory, const std::string& package, const char* word,
                     const char* group, ImportHost& host) {
    if (platform::DirectoryExists(directory)) return true;
    if (host.prompter->Confirm("The package " + package + " does not have a " + word + " directory.  Create it now?",
                               core::Buttons::YesNo) != core::Answer::Yes) {
        host.showInfo("Aborted.");
        return false;
    }
    if (!platform::CreateDirectories(directory)) {
        host.prompter->Error(std::string("Could not create /") + group + " directory");
        return false;
    }
    return true;
}

// Copies source to target; a copy that fails is reported and stops the import, since the
// directive would name a file the package does not have.
bool Copy(const std::string& source, const std::string& target, ImportHost& host) {
    std::string error;
    if (platform::CopyFileNoOverwrite(source, target, &error)) return true;
    host.prompter->Error("Could not copy " + source + " to " + target + ". " + error);
    return false;
}

// The file of that name in the directory, spelt as it is there when one exists.
std::string TargetIn(const std::string& directory, const std::string& fileName) {
    return platform::ResolvePath(directory + "/" + fileName);
}

void Written(const std::string& directive, const std::string& package, const char* group,
             const std::string& fileName, ImportHost& host) {
    host.writeDirective(directive);
    host.addProjectFile(package, group, fileName);
}

}  // namespace

ImportOutcome ImportImages(const ImageImportRequest& request, ImportHost& host) {
    if (request.package.empty()) return ImportOutcome::StayOpen;
    const std::string textures = platform::ResolveGamePath(request.gameRoot, "\\" + request.package + "\\Textures");
    for (const std::string& name : request.fileNames) {
        const std::string source = platform::JoinPath(request.directory, name);
        bool valid = false;
        try {
            valid = IsImportableImage(ReadImageInfo(ImageKindOfName(name), platform::ReadWholeFile(source)));
        } catch (const ImageError&) {
        } catch (const platform::FileError&) {
        }
        if (!valid) {
            host.prompter->Information("The File " + name + " is an invalid image file and can't be imported.");
            continue;
        }
        if (!EnsureDirectory(textures, request.package, "texture", "Textures", host)) return ImportOutcome::StayOpen;
        const std::string target = TargetIn(textures, name);
        if (!platform::FileExists(target)) {
            if (!Copy(source, target, host)) return ImportOutcome::StayOpen;
        } else if (!platform::SameFile(source, target)) {
            host.prompter->Information("An Image resource by the name " + name + " already exists in this package.");
            return ImportOutcome::StayOpen;
        }
        Written(TextureDirective(name, request.options), request.package, "Textures", name, host);
    }
    return ImportOutcome::Close;
}

ImportOutcome ImportSound(const SoundImportRequest& request, ImportHost& host) {
    if (!IsWaveFile(request.file)) return ImportOutcome::Close;
    const std::string name = platform::FileNamePart(request.file);
    const std::string sounds = platform::ResolveGamePath(request.gameRoot, "\\" + request.package + "\\Sounds");
    if (!EnsureDirectory(sounds, request.package, "sounds", "Sounds", host)) return ImportOutcome::StayOpen;
    const std::string target = TargetIn(sounds, name);
    if (!platform::FileExists(target)) {
        if (!Copy(request.file, target, host)) return ImportOutcome::StayOpen;
    } else if (!platform::SameFile(request.file, target) &&
               host.prompter->Confirm("The WAV " + name + " already exists in this package.  Continue",
                                      core::Buttons::YesNo) != core::Answer::Yes) {
        return ImportOutcome::StayOpen;  // Yes: the file that is there is used, not overwritten
    }
    Written(SoundDirective(name, request.name, request.group), request.package, "Sounds", name, host);
    return ImportOutcome::Close;
}

}  // namespace torvane::imports
