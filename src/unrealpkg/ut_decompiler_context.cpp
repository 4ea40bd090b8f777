#include "unrealpkg/ut_decompiler_context.h"

#include <filesystem>

#include "core/text.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {

// Packages at hand, open for the program run, with the natives each declares.
struct SharedPackage {
    std::filesystem::file_time_type time;
    std::uintmax_t size = 0;
    std::shared_ptr<TUTPackage> package;
    std::shared_ptr<TNativeTable> declared;
};

namespace {

constexpr std::uint32_t kParmFlag = 0x80;
constexpr std::uint32_t kReturnParmFlag = 0x400;
constexpr std::uint32_t kCoerceParmFlag = 0x800;
constexpr int kMaxChain = 4096;  // fields of one struct, parents of one class

std::string PackageNameOf(const TUTPackage& package) {
    return std::filesystem::path(package.FileName).stem().string();
}

std::map<std::string, SharedPackage>& SharedPackages() {
    static std::map<std::string, SharedPackage> packages;
    return packages;
}

SharedPackage* OpenShared(const std::filesystem::path& file) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(file, error);
    if (error) return nullptr;
    const auto size = std::filesystem::file_size(file, error);
    if (error) return nullptr;
    SharedPackage& shared = SharedPackages()[file.string()];
    if (!shared.package || shared.time != time || shared.size != size) {
        shared = SharedPackage{time, size, nullptr, nullptr};
        try {
            shared.package = std::make_shared<TUTPackage>(file.string());
        } catch (const std::exception&) {
            return nullptr;  // an unreadable package counts as absent
        }
    }
    return &shared;
}

const TNativeTable& DeclaredNatives(SharedPackage& shared) {
    if (!shared.declared) {
        shared.declared = std::make_shared<TNativeTable>(false);
        shared.declared->AddDeclarations(*shared.package);
    }
    return *shared.declared;
}

TUTObject* ObjectOf(const ObjectId& id) {
    if (!id.Valid()) return nullptr;
    TUTExportTableObjectData* entry = id.package->GetExport(id.exportIndex);
    return entry ? &entry->GetObject() : nullptr;
}

}  // namespace

DecompileContext::DecompileContext(TUTPackage& package) : package_(package) {}
DecompileContext::~DecompileContext() = default;

std::unique_ptr<DecompileContext> DecompileContext::WithPackagesAtHand(TUTPackage& package) {
    auto context = std::make_unique<DecompileContext>(package);
    context->packagesAtHand_ = true;
    context->natives_ = std::make_unique<TNativeTable>();
    std::vector<std::string> declaring{"Core"};
    for (const auto& import : package.Imports) {
        if (import->PackageIndex == 0 && core::EqualsIgnoringCase(import->GetClassName(), "Package") &&
            !core::EqualsIgnoringCase(import->GetObjectName(), "Core")) {
            declaring.push_back(import->GetObjectName());
        }
    }
    for (const std::string& name : declaring) {
        context->PackageNamed(name);
        if (SharedPackage* shared = context->SharedAtHand(name)) {
            context->natives_->Merge(DeclaredNatives(*shared));
        }
    }
    // The package's own declarations last: they are the newest.
    if (SharedPackage* own = OpenShared(package.FileName)) {
        context->natives_->Merge(DeclaredNatives(*own));
    }
    return context;
}

// The shared entry of a package at hand that PackageNamed opened.
SharedPackage* DecompileContext::SharedAtHand(const std::string& name) {
    const auto known = sharedFiles_.find(core::LowerCase(name));
    return known == sharedFiles_.end() ? nullptr : OpenShared(known->second);
}

TUTPackage* DecompileContext::PackageNamed(const std::string& name) {
    if (core::EqualsIgnoringCase(name, PackageNameOf(package_))) return &package_;
    if (!packagesAtHand_) return nullptr;
    const std::string key = core::LowerCase(name);
    const auto known = opened_.find(key);
    if (known != opened_.end()) return known->second.get();
    std::shared_ptr<TUTPackage>& slot = opened_[key];
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::path(package_.FileName).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(dir.empty() ? "." : dir, error)) {
        if (!core::EqualsIgnoringCase(entry.path().filename().string(), name + ".u")) continue;
        if (SharedPackage* shared = OpenShared(entry.path())) {
            slot = shared->package;
            sharedFiles_[key] = entry.path().string();
        }
        break;
    }
    return slot.get();
}

ObjectId DecompileContext::Resolve(TUTPackage& package, std::int32_t reference) {
    if (reference > 0) {
        if (!package.GetExport(reference - 1)) return {};
        return {&package, reference - 1};
    }
    if (reference == 0 || !packagesAtHand_) return {};
    const TUTImportTableObjectData* import = package.GetImport(~reference);
    if (!import) return {};
    const std::string outer = package.GetObjectPath(-1, import->PackageIndex);
    const std::size_t dot = outer.find('.');
    const std::string packageName = outer.substr(0, dot);
    const std::string inside = dot == std::string::npos ? "" : outer.substr(dot + 1);
    TUTPackage* other = PackageNamed(packageName.empty() ? import->GetObjectName() : packageName);
    if (!other || other == &package) return {};
    if (packageName.empty()) return {};  // a package object itself
    const int index = other->FindObject(kMatchObjectName | kMatchPackagePath, inside,
                                        import->GetObjectName(), "");
    return index < 0 ? ObjectId{} : ObjectId{other, index};
}

ObjectId DecompileContext::SuperOf(const ObjectId& structure) {
    TUTObject* object = ObjectOf(structure);
    if (!object) return {};
    ObjectReadScope scope(*object, true);
    const auto* field = dynamic_cast<const TUTObjectClassField*>(object);
    return field ? Resolve(*structure.package, field->SuperField()) : ObjectId{};
}

bool DecompileContext::HasSuperField(const ObjectId& structure) {
    TUTObject* object = ObjectOf(structure);
    if (!object) return false;
    ObjectReadScope scope(*object, true);
    const auto* field = dynamic_cast<const TUTObjectClassField*>(object);
    return field && field->SuperField() != 0;
}

ObjectId DecompileContext::ClassOf(const ObjectId& object) {
    ObjectId at = object;
    for (int guard = 0; guard < 64 && at.Valid(); ++guard) {
        const TUTExportTableObjectData* entry = at.package->GetExport(at.exportIndex);
        if (!entry) return {};
        if (entry->ClassIndex == 0) return at;
        if (entry->PackageIndex <= 0) return {};
        at = {at.package, entry->PackageIndex - 1};
    }
    return {};
}

TypeInfo DecompileContext::TypeOfProperty(const ObjectId& id) {
    TypeInfo info;
    TUTObject* object = ObjectOf(id);
    if (!object) return info;
    ObjectReadScope scope(*object, true);
    if (const auto* byte = dynamic_cast<const TUTObjectClassByteProperty*>(object)) {
        info.type = ScriptType::kByte;
        const ObjectId enumId = Resolve(*id.package, byte->Enum());
        if (TUTObject* enumObject = ObjectOf(enumId)) {
            auto known = enums_.find(enumId);
            if (known == enums_.end()) {
                ObjectReadScope enumScope(*enumObject, true);
                const auto* values = dynamic_cast<const TUTObjectClassEnum*>(enumObject);
                known = enums_.emplace(enumId, values ? values->Values() : std::vector<std::string>{}).first;
            }
            if (!known->second.empty()) info.enumValues = &known->second;
        }
    } else if (dynamic_cast<const TUTObjectClassIntProperty*>(object)) {
        info.type = ScriptType::kInt;
    } else if (dynamic_cast<const TUTObjectClassBoolProperty*>(object)) {
        info.type = ScriptType::kBool;
    } else if (dynamic_cast<const TUTObjectClassFloatProperty*>(object)) {
        info.type = ScriptType::kFloat;
    } else if (dynamic_cast<const TUTObjectClassStrProperty*>(object) ||
               dynamic_cast<const TUTObjectClassStringProperty*>(object)) {
        info.type = ScriptType::kString;
    } else if (dynamic_cast<const TUTObjectClassNameProperty*>(object)) {
        info.type = ScriptType::kName;
    } else if (const auto* reference = dynamic_cast<const TUTObjectClassObjectProperty*>(object)) {
        info.type = ScriptType::kObject;
        info.classRef = reference->PropertyClass();
        info.classPackage = id.package;
    } else if (const auto* structure = dynamic_cast<const TUTObjectClassStructProperty*>(object)) {
        const std::string name = id.package->GetObjectPath(1, structure->Struct());
        info.type = core::EqualsIgnoringCase(name, "Vector")    ? ScriptType::kVector
                    : core::EqualsIgnoringCase(name, "Rotator") ? ScriptType::kRotator
                                                                 : ScriptType::kStruct;
    }
    return info;
}

const TypeInfo& DecompileContext::VariableType(const ObjectId& property) {
    const auto known = variables_.find(property);
    if (known != variables_.end()) return known->second;
    TypeInfo info;
    try {
        info = TypeOfProperty(property);
    } catch (const std::exception&) {
        info = {};
    }
    return variables_.emplace(property, info).first->second;
}

TypeInfo DecompileContext::ElementType(const ObjectId& property) {
    TUTObject* object = ObjectOf(property);
    if (!object) return {};
    try {
        ObjectReadScope scope(*object, true);
        if (const auto* array = dynamic_cast<const TUTObjectClassArrayProperty*>(object)) {
            return VariableType(Resolve(*property.package, array->Inner()));
        }
    } catch (const std::exception&) {
        return {};
    }
    return VariableType(property);
}

const std::map<std::string, ObjectId>& DecompileContext::Members(const ObjectId& scope) {
    const auto known = members_.find(scope);
    if (known != members_.end()) return known->second;
    std::map<std::string, ObjectId>& members = members_[scope];
    TUTObject* object = ObjectOf(scope);
    if (!object) return members;
    try {
        ObjectReadScope scopeRead(*object, true);
        const auto* structure = dynamic_cast<const TUTObjectClassStruct*>(object);
        std::int32_t child = structure ? structure->Children() : 0;
        for (int guard = 0; child > 0 && guard < kMaxChain; ++guard) {
            TUTExportTableObjectData* entry = scope.package->GetExport(child - 1);
            if (!entry) break;
            TUTObject& member = entry->GetObject();
            ObjectReadScope memberRead(member, true);
            const auto* field = dynamic_cast<const TUTObjectClassField*>(&member);
            if (!field) break;
            members.emplace(core::LowerCase(entry->GetObjectName()), ObjectId{scope.package, child - 1});
            child = field->Next();
        }
    } catch (const std::exception&) {
        // what was read stays
    }
    return members;
}

const FunctionInfo* DecompileContext::Function(const ObjectId& id) {
    const auto known = functions_.find(id);
    if (known != functions_.end()) return known->second.get();
    std::unique_ptr<FunctionInfo>& slot = functions_[id];
    TUTObject* object = ObjectOf(id);
    if (!object) return nullptr;
    try {
        ObjectReadScope scope(*object, true);
        const auto* function = dynamic_cast<const TUTObjectClassFunction*>(object);
        if (!function) return nullptr;
        auto info = std::make_unique<FunctionInfo>();
        info->id = id;
        info->name = function->FriendlyName().empty() ? object->GetObjectName() : function->FriendlyName();
        info->flags = function->FunctionFlags();
        const TUTExportTableObjectData* entry = id.package->GetExport(id.exportIndex);
        if (entry && entry->PackageIndex > 0) info->owner = {id.package, entry->PackageIndex - 1};
        std::int32_t child = function->Children();
        for (int guard = 0; child > 0 && guard < kMaxChain; ++guard) {
            TUTExportTableObjectData* childEntry = id.package->GetExport(child - 1);
            if (!childEntry) break;
            TUTObject& member = childEntry->GetObject();
            ObjectReadScope memberRead(member, true);
            const auto* property = dynamic_cast<const TUTObjectClassProperty*>(&member);
            if (!property) break;
            if (property->PropertyFlags() & kParmFlag) {
                const TypeInfo type = VariableType({id.package, child - 1});
                if (property->PropertyFlags() & kReturnParmFlag) {
                    info->returns = type;
                } else {
                    info->parameters.push_back(type);
                    info->coerce.push_back((property->PropertyFlags() & kCoerceParmFlag) != 0);
                }
            }
            child = property->Next();
        }
        slot = std::move(info);
    } catch (const std::exception&) {
        slot.reset();
    }
    return slot.get();
}

const FunctionInfo* DecompileContext::FindFunction(const ObjectId& scope, const std::string& name,
                                                   bool* complete) {
    if (complete) *complete = true;
    const std::string key = core::LowerCase(name);
    ObjectId at = scope;
    bool classChecked = false;
    for (int guard = 0; guard < 256; ++guard) {
        if (!at.Valid()) {
            // A state's own chain ended: its class and the class's parents are searched next.
            if (classChecked) return nullptr;
            classChecked = true;
            at = ClassOf(scope);
            if (!at.Valid() || at == scope) return nullptr;
            continue;
        }
        const auto& members = Members(at);
        const auto found = members.find(key);
        if (found != members.end()) {
            const TUTExportTableObjectData* entry = found->second.package->GetExport(found->second.exportIndex);
            if (entry && entry->GetClassName() == "Function") return Function(found->second);
        }
        const ObjectId parent = SuperOf(at);
        if (!parent.Valid() && complete && HasSuperField(at)) *complete = false;
        at = parent;
    }
    return nullptr;
}

}  // namespace torvane::unrealpkg
