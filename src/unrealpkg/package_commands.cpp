#include "unrealpkg/package_commands.h"

#include <functional>

#include "core/format.h"
#include "core/stream_interaction.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "unrealpkg/class_declaration.h"
#include "unrealpkg/export_file_names.h"
#include "unrealpkg/function_declarations.h"
#include "unrealpkg/package_export.h"
#include "unrealpkg/ut_decompiler.h"
#include "unrealpkg/ut_decompiler_context.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

std::string Hex8(std::uint32_t value) { return core::Format("0x%-8.8x", {std::int64_t{value}}); }

std::string FlagNames(std::uint32_t flags) {
    static const std::pair<std::uint32_t, const char*> kNames[] = {
        {kAllowDownload, "AllowDownload"}, {kClientOptional, "ClientOptional"},
        {kServerSideOnly, "ServerSideOnly"}, {kBrokenLinks, "BrokenLinks"},
        {kUnsecure, "Unsecure"}};
    std::string names;
    for (const auto& [bit, name] : kNames) {
        if (flags & bit) names += std::string(names.empty() ? "" : " ") + name;
    }
    return names;
}

std::string ClassNameOf(const TUTExportTableObjectData& entry) {
    const std::string name = entry.GetClassName();
    return name.empty() ? "Class" : name;
}

int FindExportByPath(const TUTPackage& package, const std::string& path) {
    for (int i = 0; i < package.ExportCount(); ++i) {
        if (core::EqualsIgnoringCase(package.GetObjectPath(-1, i + 1), path)) return i;
    }
    return -1;
}

// Opens the package, reads the export at path and hands it to use; errors go to err.
int WithExport(const std::string& file, const std::string& path, std::ostream& err,
               const std::function<int(TUTObject&)>& use) {
    try {
        TUTPackage package(file);
        const int index = FindExportByPath(package, path);
        if (index < 0) {
            err << "No object " << path << " in " << file << "\n";
            return 1;
        }
        TUTObject& object = package.GetExport(index)->GetObject();
        ObjectReadScope scope(object, true);
        return use(object);
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

DecompileOptions OptionsOf(const BodyPrintMode& mode, DecompileContext& context) {
    DecompileOptions options;
    options.structured = mode.structured;
    options.loops = mode.loops;
    options.context = &context;
    return options;
}

bool IsBodyClass(const std::string& className) {
    return className.empty() || core::EqualsIgnoringCase(className, "Function") ||
           core::EqualsIgnoringCase(className, "State");
}

}  // namespace

int PrintPackageInfo(const std::string& file, std::ostream& out, std::ostream& err) {
    try {
        TUTPackage package(file);
        out << "File: " << file << "\n";
        out << "Version: " << package.Version << "\n";
        out << "Licensee: " << package.Licensee << "\n";
        out << "Flags: " << Hex8(package.PackageFlags) << " " << FlagNames(package.PackageFlags)
            << "\n";
        out << "Names: " << package.Names.size() << "\n";
        out << "Exports: " << package.ExportCount() << "\n";
        out << "Imports: " << package.ImportCount() << "\n";
        out << "GUIDs: " << package.Guids.size() << "\n";
        out << "Generations: " << package.Generations.size() << "\n";
        for (const auto& entry : package.Exports) {
            out << "export " << entry->exportIndex << " " << ClassNameOf(*entry) << " "
                << package.GetObjectPath(-1, entry->exportIndex + 1) << " " << entry->SerialSize
                << " " << Hex8(entry->ObjectFlags) << "\n";
        }
        for (int i = 0; i < package.ImportCount(); ++i) {
            const auto& entry = *package.Imports[static_cast<std::size_t>(i)];
            out << "import " << i << " " << entry.GetClassName() << " "
                << package.GetObjectPath(-1, -i - 1) << "\n";
        }
        return 0;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

int PrintProperties(const std::string& file, const std::string& path, std::ostream& out,
                    std::ostream& err) {
    return WithExport(file, path, err, [&](TUTObject& object) {
        const TUTPropertyList& properties = object.Properties();
        for (int i = 0; i < properties.Count(); ++i) {
            const TUTProperty& property = *properties.Get(i);
            if (property.Type == kPropNone) continue;
            if (property.Type == kPropUnknown) {
                out << property.Name << ": " << property.StructName << "\n";
                continue;
            }
            const TUTFormattedValue value = FormatValue(property);
            out << property.Name;
            if (property.ArrayIndex >= 0) out << "(" << property.ArrayIndex << ")";
            out << "=" << (value.display.empty() ? ValueText(value.value) : value.display) << "\n";
        }
        return 0;
    });
}

int PrintDeclaration(const std::string& file, const std::string& path, const BodyPrintMode& mode,
                     std::ostream& out, std::ostream& err) {
    return WithExport(file, path, err, [&](TUTObject& object) {
        // The declaration writers rebuild loops in structured mode.
        const bool structured = mode.structured;
        const auto context = DecompileContext::WithPackagesAtHand(object.package());
        if (auto* cls = dynamic_cast<TUTObjectClassClass*>(&object); cls && object.Parsed()) {
            out << ClassDeclaration(*cls, structured, nullptr, context.get());
        } else if (auto* state = dynamic_cast<TUTObjectClassState*>(&object); state && object.Parsed()) {
            out << StateDeclaration(*state, structured, context.get());
        } else if (auto* function = dynamic_cast<TUTObjectClassFunction*>(&object); function && object.Parsed()) {
            out << FunctionDeclaration(*function, structured, context.get());
        } else {
            err << path << " is not a function, state or class\n";
            return 1;
        }
        return 0;
    });
}

int PrintDecompiledBody(const std::string& file, const std::string& path, bool structured,
                        std::ostream& out, std::ostream& err) {
    return PrintDecompiledBody(file, path, BodyPrintMode{structured, false}, out, err);
}

int PrintDecompiledBody(const std::string& file, const std::string& path, const BodyPrintMode& mode,
                        std::ostream& out, std::ostream& err) {
    return WithExport(file, path, err, [&](TUTObject& object) {
        auto* body = dynamic_cast<TUTObjectClassStruct*>(&object);
        if (!body || !object.Parsed()) {
            err << path << " is not a function, state or class\n";
            return 1;
        }
        const auto context = DecompileContext::WithPackagesAtHand(object.package());
        const DecompiledBody result = DecompileBody(*body, OptionsOf(mode, *context));
        out << result.text;
        if (!result.error.empty()) {
            err << path << ": " << result.error << "\n";
            return 1;
        }
        return 0;
    });
}

int PrintAllDecompiledBodies(const std::string& file, const BodyPrintMode& mode, std::ostream& out,
                             std::ostream& err) {
    int bodies = 0;
    int failed = 0;
    try {
        TUTPackage package(file);
        const auto context = DecompileContext::WithPackagesAtHand(package);
        for (const auto& entry : package.Exports) {
            if (!IsBodyClass(entry->GetClassName())) continue;
            ++bodies;
            const std::string path = package.GetObjectPath(-1, entry->exportIndex + 1);
            try {
                TUTObject& object = entry->GetObject();
                ObjectReadScope scope(object, true);
                auto* body = dynamic_cast<TUTObjectClassStruct*>(&object);
                if (!body || !object.Parsed()) continue;
                const DecompiledBody result = DecompileBody(*body, OptionsOf(mode, *context));
                if (!result.error.empty()) {
                    ++failed;
                    out << path << ": " << result.error << "\n";
                }
            } catch (const std::exception& e) {
                ++failed;
                out << path << ": " << e.what() << "\n";
            }
        }
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
    out << "bodies: " << bodies << ", failed: " << failed << "\n";
    return failed == 0 ? 0 : 1;
}

int ExportPackageCommand(const PackageExportRequest& request, std::ostream& out, std::ostream& err) {
    std::string name = platform::FileNamePart(request.file);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
    try {
        std::string error;
        if (!platform::CreateDirectories(request.outDirectory, &error)) {
            err << "torvane-cli: cannot create " << request.outDirectory << ": " << error << "\n";
            return 1;
        }
        core::StreamPrompter prompter(err, request.overwriteChanged ? core::Answer::Yes : core::Answer::No);
        core::StreamOutputLog log(out);
        PackageExportOptions options;
        options.graphics = request.graphics;
        options.sounds = request.sounds;
        options.rebuild = request.rebuild;
        PackageExportServices services;
        services.prompter = &prompter;
        services.log = &log;
        const PackageExportResult result =
            ExportPackageFiles(request.file, request.outDirectory, name, options, services, false,
                               {platform::SplitLastSeparator(request.file).first});
        out << "classes: " << result.classes << ", textures: " << result.textures
            << ", sounds: " << result.sounds << "\n";
        if (!result.refused.empty()) {
            err << "torvane-cli: not exported, the names are not safe file names: "
                << RefusedNamesText(result.refused) << "\n";
        }
        if (result.declined) {
            err << "torvane-cli: export stopped: a changed file would be overwritten (--yes overwrites)\n";
        }
        return result.completed && result.refused.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        err << "torvane-cli: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace torvane::unrealpkg
