#include "unrealpkg/class_lookup.h"

#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

ClassFlagsInfo FlagsOf(TUTObjectClassClass& object) {
    ObjectReadScope scope(object, true);
    return {object.ClassFlags(), object.ClassConfigName()};
}

// The class export named className, or nullptr.
TUTObjectClassClass* FindClassExport(TUTPackage& package, const std::string& className) {
    for (const auto& entry : package.Exports) {
        if (entry->ClassIndex != 0 || !core::EqualsIgnoringCase(entry->GetObjectName(), className)) continue;
        if (auto* cls = dynamic_cast<TUTObjectClassClass*>(&entry->GetObject())) return cls;
    }
    return nullptr;
}

}  // namespace

PackageFolderLookup::PackageFolderLookup(std::vector<std::string> folders) : folders_(std::move(folders)) {}

PackageFolderLookup::~PackageFolderLookup() = default;

TUTPackage* PackageFolderLookup::Package(const std::string& packageName) {
    const std::string key = core::LowerCase(packageName);
    if (const auto it = packages_.find(key); it != packages_.end()) return it->second.get();
    std::unique_ptr<TUTPackage>& slot = packages_[key];
    for (const std::string& folder : folders_) {
        const std::string file = platform::ResolveGamePath(folder, "\\" + packageName + ".u");
        if (!platform::FileExists(file)) continue;
        try {
            slot = std::make_unique<TUTPackage>(file);
            break;
        } catch (const std::exception&) {
            // A package that cannot be read gives no flags.
        }
    }
    return slot.get();
}

std::optional<ClassFlagsInfo> PackageFolderLookup::FindClass(const std::string& packageName,
                                                             const std::string& className) {
    TUTPackage* package = Package(packageName);
    if (!package) return std::nullopt;
    TUTObjectClassClass* cls = FindClassExport(*package, className);
    if (!cls) return std::nullopt;
    try {
        return FlagsOf(*cls);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<ClassFlagsInfo> ParentClassFlags(TUTObjectClassClass& object, ClassLookup* lookup) {
    TUTPackage& p = object.package();
    const std::int32_t parent = object.SuperField();
    if (parent > 0) {
        TUTExportTableObjectData* entry = p.GetExport(parent - 1);
        auto* cls = entry ? dynamic_cast<TUTObjectClassClass*>(&entry->GetObject()) : nullptr;
        if (!cls || cls == &object) return std::nullopt;
        return FlagsOf(*cls);
    }
    if (parent == 0 || !lookup) return std::nullopt;
    TUTImportTableObjectData* import = p.GetImport(~parent);
    if (!import) return std::nullopt;
    const std::string path = import->GetPackagePath();
    const std::string packageName = path.substr(0, path.find('.'));
    if (packageName.empty()) return std::nullopt;
    return lookup->FindClass(packageName, import->GetObjectName());
}

}  // namespace torvane::unrealpkg
