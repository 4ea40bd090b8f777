#include "unrealpkg/package_export.h"

#include <stdexcept>

#include "core/backup.h"
#include "core/interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "platform/memory_status.h"
#include "unrealpkg/bmp_writer.h"
#include "unrealpkg/class_declaration.h"
#include "unrealpkg/class_lookup.h"
#include "unrealpkg/ut_decompiler_context.h"
#include "unrealpkg/export_progress.h"
#include "unrealpkg/export_file_names.h"
#include "unrealpkg/mip_bitmap.h"
#include "unrealpkg/package_places.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_resource_objects.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

enum class ExportKind { None, Class, Texture, Sound };

struct KindFolder {
    const char* folder;
    const char* extension;
};

KindFolder FolderOf(ExportKind kind) {
    switch (kind) {
        case ExportKind::Class: return {"Classes", ".uc"};
        case ExportKind::Texture: return {"Textures", ".bmp"};
        default: return {"Sounds", ".wav"};
    }
}

ExportKind KindOf(TUTObject& object, const PackageExportOptions& options) {
    if (options.classes && dynamic_cast<TUTObjectClassClass*>(&object) &&
        core::UpperCase(object.GetObjectName()) != "NONE") {
        return ExportKind::Class;
    }
    if (options.graphics && dynamic_cast<TUTObjectClassTexture*>(&object)) return ExportKind::Texture;
    if (options.sounds && dynamic_cast<TUTObjectClassSound*>(&object)) return ExportKind::Sound;
    return ExportKind::None;
}

std::string FileBytes(TUTObject& object, ExportKind kind, const PackageExportOptions& options,
                      ClassLookup& lookup, DecompileContext& context) {
    switch (kind) {
        case ExportKind::Class: {
            auto& cls = dynamic_cast<TUTObjectClassClass&>(object);
            return options.rebuild ? ClassDeclaration(cls, true, &lookup, &context)
                                   : ClassSource(cls, true, &lookup, &context);
        }
        case ExportKind::Texture:
            return EncodeBmp(dynamic_cast<TUTObjectClassTexture&>(object).MipImage(0));
        default: {
            const auto& data = dynamic_cast<TUTObjectClassSound&>(object).SoundData();
            return std::string(reinterpret_cast<const char*>(data.data()), data.size());
        }
    }
}

// Writes one export file. Unchanged content is left alone; other content is replaced only with
// consent, after the "~" backup. False when the user declined.
class FileWriter final {
public:
    FileWriter(const std::string& packageName, core::Prompter* prompter, bool agreed)
        : packageName_(packageName), prompter_(prompter), agreed_(agreed) {}

    bool Write(const std::string& path, const std::string& bytes) {
        if (platform::FileExists(path)) {
            if (platform::ReadWholeFile(path) == bytes) return true;
            if (!agreed_) {
                if (!prompter_ || prompter_->Confirm(ExistingPackageQuestion(packageName_),
                                                     core::Buttons::YesNo) == core::Answer::No) {
                    return false;
                }
                agreed_ = true;
            }
            core::BackupFile(path);
        }
        // Exported files can be made again: no flush to disk for each of them.
        platform::WriteFileAtomic(path, bytes, false);
        return true;
    }

private:
    const std::string& packageName_;
    core::Prompter* prompter_;
    bool agreed_;
};

void CouldNotCreate(const PackageExportServices& services, const std::string& folder) {
    if (services.prompter) services.prompter->Information("Could not creative directory " + folder);
}

}  // namespace

std::string ExistingPackageQuestion(const std::string& packageName) {
    return "The package you are attempting to export (" + packageName +
           ") already exists.  If you continue, you may overwrite any changes you have made since "
           "the last compile.  Continue?";
}

std::string MemoryStatusText(const std::optional<platform::MemoryStatus>& status) {
    if (!status) return "Memory: unknown";
    return "Memory: " + std::to_string(status->loadPercent) + " % (" +
           std::to_string(status->availablePhysicalKb) + "/" + std::to_string(status->availableVirtualKb) + ")";
}

PackageExportResult ExportPackageFiles(const std::string& compiledFile, const std::string& packageFolder,
                                       const std::string& packageName, const PackageExportOptions& options,
                                       const PackageExportServices& services, bool overwriteAgreed,
                                       const std::vector<std::string>& packageFolders) {
    PackageExportResult result;
    TUTPackage package;
    package.Open(compiledFile);
    ExportProgress* progress = services.progress;
    if (progress && progress->IsShown()) {
        progress->ShowStatus("Reading in " + compiledFile);
        progress->ShowMemory(MemoryStatusText(platform::ReadMemoryStatus()));
    }
    FileWriter writer(packageName, services.prompter, overwriteAgreed);
    PackageFolderLookup lookup(packageFolders);
    const auto context = DecompileContext::WithPackagesAtHand(package);  // types and natives
    for (const auto& entry : package.Exports) {
        if (services.pump) services.pump->ProcessPendingEvents();
        TUTObject& object = entry->GetObject();
        const ExportKind kind = KindOf(object, options);
        if (kind == ExportKind::None) continue;
        const std::string name = object.GetObjectName();
        if (!IsSafeExportName(name)) {
            result.refused.push_back(name);
            continue;
        }
        const KindFolder where = FolderOf(kind);
        const std::string folder = platform::ResolveGamePath(packageFolder, std::string("\\") + where.folder);
        if (!platform::DirectoryExists(folder) && !platform::CreateDirectories(folder)) {
            CouldNotCreate(services, folder);
            return result;
        }
        const std::string target = platform::ResolvePath(platform::JoinPath(folder, name + where.extension));
        if (services.log) services.log->AppendLine("Exporting " + target);
        if (progress && progress->IsShown()) progress->ShowStatus("Exporting " + name + where.extension);
        std::string bytes;
        try {
            ObjectReadScope scope(object, true);
            bytes = FileBytes(object, kind, options, lookup, *context);
        } catch (const std::exception& e) {
            const std::string path = object.GetFullPath();  // empty when the names are damaged
            throw std::runtime_error((path.empty() ? "Export " + std::to_string(object.exportIndex()) : path) + ": " +
                                     e.what());
        }
        if (!writer.Write(target, bytes)) {
            result.declined = true;
            return result;
        }
        switch (kind) {
            case ExportKind::Class: ++result.classes; break;
            case ExportKind::Texture: ++result.textures; break;
            default: ++result.sounds; break;
        }
    }
    package.ReleaseObjects();
    result.completed = true;
    return result;
}

bool ExportCompiledPackage(const platform::GameInstall& install, const std::string& name,
                           const PackageExportOptions& options, const PackageExportServices& services) {
    if (!IsSafeExportName(name)) {
        if (services.prompter) {
            services.prompter->Warning("The package " + RefusedNamesText({name}) +
                                       " was not exported: its name is not a safe folder name.");
        }
        return false;
    }
    const std::string compiled = CompiledPackageFile(install, name);
    if (compiled.empty()) throw std::runtime_error("The package " + name + " has no compiled file " + name + ".u");
    const std::string folder = PackageSourceFolder(install, name);
    bool agreed = false;
    if (!options.quiet && platform::DirectoryExists(folder)) {
        if (!services.prompter ||
            services.prompter->Confirm(ExistingPackageQuestion(name), core::Buttons::YesNo) == core::Answer::No) {
            return false;
        }
        agreed = true;
    }
    if (!platform::DirectoryExists(folder) && !platform::CreateDirectories(folder)) {
        CouldNotCreate(services, folder);
        return false;
    }
    if (services.log) services.log->Clear();
    const PackageExportResult result =
        ExportPackageFiles(compiled, folder, name, options, services, agreed, PackageFolders(install));
    if (!result.refused.empty()) {
        const std::string text = "These objects of " + name + " were not exported, their names are not safe file names: " +
                                 RefusedNamesText(result.refused);
        if (services.log) services.log->AppendLine(text);
        if (services.prompter) services.prompter->Warning(text);
    }
    return result.completed;
}

}  // namespace torvane::unrealpkg
