#include "unrealpkg/ut_class_registry.h"

#include <vector>

#include "core/text.h"
#include "unrealpkg/ut_resource_objects.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

struct TUTClassRegistry {
    std::string name;  // lower case
    ReaderFactory factory;
};

template <typename T>
std::unique_ptr<TUTObject> Make(TUTPackage& package, int exportIndex) {
    return std::make_unique<T>(package, exportIndex);
}

std::vector<TUTClassRegistry>& Registry() {
    static std::vector<TUTClassRegistry> registry;
    return registry;
}

void Register(std::string_view name, ReaderFactory factory) {
    const std::string lower = core::LowerCase(name);
    for (auto& entry : Registry()) {
        if (entry.name == lower) {
            entry.factory = factory;
            return;
        }
    }
    Registry().push_back({lower, factory});
}

void EnsureRegistered() {
    static const bool done = [] {
        RegisterReaderClasses();
        return true;
    }();
    (void)done;
}

}  // namespace

void RegisterReaderClass(std::string_view name, ReaderFactory factory) {
    EnsureRegistered();
    Register(name, factory);
}

ReaderFactory FindReaderClass(std::string_view name) {
    EnsureRegistered();
    const std::string lower = core::LowerCase(name);
    for (const auto& entry : Registry()) {
        if (entry.name == lower) return entry.factory;
    }
    return &Make<TUTObject>;
}

void RegisterReaderClasses() {
    Register("Palette", &Make<TUTObjectClassPalette>);
    Register("Font", &Make<TUTObjectClassFont>);
    for (const char* texture : {"Texture", "IceTexture", "WaterTexture", "WaveTexture",
                                "WetTexture", "ScriptedTexture"}) {
        Register(texture, &Make<TUTObjectClassTexture>);
    }
    Register("FireTexture", &Make<TUTObjectClassFireTexture>);
    Register("Polys", &Make<TUTObjectClassPolys>);
    Register("Primitive", &Make<TUTObjectClassPrimitive>);
    Register("Mesh", &Make<TUTObjectClassMesh>);
    Register("LodMesh", &Make<TUTObjectClassLodMesh>);
    Register("SkeletalMesh", &Make<TUTObjectClassSkeletalMesh>);
    Register("Animation", &Make<TUTObjectClassAnimation>);
    Register("Sound", &Make<TUTObjectClassSound>);
    Register("Music", &Make<TUTObjectClassMusic>);
    Register("", &Make<TUTObjectClassClass>);
    Register("TextBuffer", &Make<TUTObjectClassTextBuffer>);
    Register("Field", &Make<TUTObjectClassField>);
    Register("Const", &Make<TUTObjectClassConst>);
    Register("Enum", &Make<TUTObjectClassEnum>);
    Register("Property", &Make<TUTObjectClassProperty>);
    Register("ByteProperty", &Make<TUTObjectClassByteProperty>);
    Register("IntProperty", &Make<TUTObjectClassIntProperty>);
    Register("BoolProperty", &Make<TUTObjectClassBoolProperty>);
    Register("FloatProperty", &Make<TUTObjectClassFloatProperty>);
    Register("ObjectProperty", &Make<TUTObjectClassObjectProperty>);
    Register("ClassProperty", &Make<TUTObjectClassClassProperty>);
    Register("NameProperty", &Make<TUTObjectClassNameProperty>);
    Register("StructProperty", &Make<TUTObjectClassStructProperty>);
    Register("StrProperty", &Make<TUTObjectClassStrProperty>);
    Register("ArrayProperty", &Make<TUTObjectClassArrayProperty>);
    Register("FixedArrayProperty", &Make<TUTObjectClassFixedArrayProperty>);
    Register("MapProperty", &Make<TUTObjectClassMapProperty>);
    Register("StringProperty", &Make<TUTObjectClassStringProperty>);
    Register("PointerProperty", &Make<TUTObjectClassPointerProperty>);
    Register("Struct", &Make<TUTObjectClassStruct>);
    Register("Function", &Make<TUTObjectClassFunction>);
    Register("State", &Make<TUTObjectClassState>);
    Register("Class", &Make<TUTObjectClassClass>);
    Register("Package", &Make<TUTObject>);
}

std::unique_ptr<TUTObject> CreateReaderObject(std::string_view className, TUTPackage& package,
                                              int exportIndex) {
    return FindReaderClass(className)(package, exportIndex);
}

}  // namespace torvane::unrealpkg
