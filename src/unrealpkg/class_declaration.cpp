#include "unrealpkg/class_declaration.h"

#include <cstdint>
#include <vector>

#include "core/format.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "unrealpkg/class_lookup.h"
#include "unrealpkg/function_declarations.h"
#include "unrealpkg/member_declarations.h"
#include "unrealpkg/ut_decompiler.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_resource_objects.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

constexpr std::uint32_t kFuncNet = 0x40;
constexpr std::uint32_t kFuncNetReliable = 0x80;
constexpr std::uint32_t kPropNet = 0x20;
constexpr std::uint32_t kPropConfig = 0x4000;
constexpr std::uint32_t kPropGlobalConfig = 0x40000;
constexpr std::uint32_t kRepOffsetBits = 0x3FFFFFFF;
constexpr std::uint32_t kRepReliable = 0xC0000000;
constexpr std::uint32_t kRepUnreliable = 0x80000000;
constexpr std::uint32_t kObjectNative = 0x04000000;

struct ReplicationEntry {
    std::string name;
    std::uint32_t value;  // the condition's offset in the class script; the top bits tell reliability
};

const std::string kRule = "//" + std::string(80, '=') + "\r\n";

std::string ReliabilityWord(std::uint32_t value) {
    switch (value & ~kRepOffsetBits) {
        case kRepReliable: return "reliable";
        case kRepUnreliable: return "unreliable";
        // The package does not record reliability for variables; the keyword has no effect on
        // them, so the block says the one that compiles.
        default: return "reliable";
    }
}

std::string ReplicationBlock(TUTObjectClassClass& object, std::vector<ReplicationEntry> entries,
                             DecompileContext* context) {
    std::string lines;
    while (!entries.empty()) {
        const std::uint32_t value = entries.front().value;
        const std::string condition =
            DecompileExpressionAt(object, static_cast<std::int32_t>(value & kRepOffsetBits), context);
        std::string names = entries.front().name;
        entries.erase(entries.begin());
        for (auto it = entries.begin(); it != entries.end();) {
            if (it->value == value) {
                names += "," + it->name;
                it = entries.erase(it);
            } else {
                ++it;
            }
        }
        lines += "\t" + ReliabilityWord(value) + " if ( " + condition + " )\r\n\t\t" + names + ";\r\n";
    }
    return lines.empty() ? std::string() : "replication\r\n{\r\n" + lines + "}\r\n\r\n";
}

// Class flags a subclass inherits: written only where the parent does not have them.
constexpr std::uint32_t kClassTransient = 0x8;
constexpr std::uint32_t kClassConfig = 0x4;
constexpr std::uint32_t kClassSafeReplace = 0x40;
constexpr std::uint32_t kClassPerObjectConfig = 0x400;

// hasConfigVariables: the compiler makes a class with configurable variables config by itself.
std::string ClassModifiers(TUTObjectClassClass& object, ClassLookup* lookup, bool hasConfigVariables) {
    std::uint32_t flags = object.ClassFlags();
    if (const std::optional<ClassFlagsInfo> parent = ParentClassFlags(object, lookup)) {
        flags &= ~(parent->classFlags & (kClassTransient | kClassSafeReplace | kClassPerObjectConfig));
        if ((parent->classFlags & kClassConfig) &&
            core::EqualsIgnoringCase(parent->configName, object.ClassConfigName())) {
            flags &= ~kClassConfig;
        }
    }
    std::string text = "\r\n";
    if (object.GetObjectFlags() & kObjectNative) text += "\tnative\r\n";
    if (flags & 0x100) text += "\tnoexport\r\n";
    if (flags & 0x800) text += "\tnativereplication\r\n";
    if (flags & kClassPerObjectConfig) text += "\tperobjectconfig\r\n";
    if (flags & 0x200) text += "\tnousercreate\r\n";
    if (flags & 0x1) text += "\tabstract\r\n";
    const Guid& guid = object.ClassGuid();
    std::int32_t parts[4];
    for (int i = 0; i < 4; ++i) {
        parts[i] = static_cast<std::int32_t>(guid[i * 4] | (guid[i * 4 + 1] << 8) |
                                             (guid[i * 4 + 2] << 16) |
                                             (static_cast<std::uint32_t>(guid[i * 4 + 3]) << 24));
    }
    if (parts[0] != 0 || parts[1] != 0) {
        text += core::Format("\tguid(%d,%d,%d,%d)\r\n", {parts[0], parts[1], parts[2], parts[3]});
    }
    if (flags & kClassTransient) text += "\ttransient\r\n";
    // The default file needs the word only where no configurable variable implies it.
    if (flags & kClassConfig) {
        if (!core::EqualsIgnoringCase(object.ClassConfigName(), "system")) {
            text += "\tconfig(" + object.ClassConfigName() + ")\r\n";
        } else if (!hasConfigVariables) {
            text += "\tconfig\r\n";
        }
    }
    if (flags & kClassSafeReplace) text += "\tsafereplace\r\n";
    text.resize(text.size() - 2);
    return text;
}

}  // namespace

std::string DefaultPropertiesBlock(TUTObject& object) {
    const TUTPropertyList& properties = object.Properties();
    std::string text = "defaultproperties\r\n{\r\n";
    for (int i = 0; i + 1 < properties.Count(); ++i) {
        const TUTProperty& property = *properties.Get(i);
        std::string name = property.Name;
        if (property.ArrayIndex >= 0) name += "(" + std::to_string(property.ArrayIndex) + ")";
        const TUTFormattedValue value = FormatValue(property);
        text += "    " + name + "=" + (value.display.empty() ? ValueText(value.value) : value.display) + "\r\n";
    }
    return text + "}\r\n";
}

std::string ClassDeclaration(TUTObjectClassClass& object, bool structured, ClassLookup* lookup,
                             DecompileContext* context) {
    TUTPackage& p = object.package();
    const std::string name = object.GetObjectName();
    object.RewindScript();

    std::string bodies;
    std::vector<ReplicationEntry> replication;
    WalkFieldChain(p, object.Children(), [&](TUTObject& child) {
        if (auto* state = dynamic_cast<TUTObjectClassState*>(&child)) {
            bodies = StateDeclaration(*state, structured, context) + "\r\n" + bodies;
        } else if (auto* function = dynamic_cast<TUTObjectClassFunction*>(&child)) {
            bodies = FunctionDeclaration(*function, structured, context) + "\r\n" + bodies;
            const std::uint32_t flags = function->FunctionFlags();
            if ((flags & kFuncNet) && function->RepOffset() < 0xFFFF) {
                const std::uint32_t bits = (flags & kFuncNetReliable) ? kRepReliable : kRepUnreliable;
                replication.push_back({function->GetObjectName(), function->RepOffset() | bits});
            }
        }
        return true;
    });

    // Constants, enums and structs come first, in the order they were declared (the chain holds
    // them newest first), so that every type is declared before a variable uses it.
    std::string types, variables;
    bool hasConfigVariables = false;
    WalkFieldChain(p, object.Children(), [&](TUTObject& child) {
        if (auto* property = dynamic_cast<TUTObjectClassProperty*>(&child)) {
            variables += PropertyDeclaration(*property, "var", name) + ";\r\n";
            hasConfigVariables = hasConfigVariables || (property->PropertyFlags() & (kPropConfig | kPropGlobalConfig));
            if (property->PropertyFlags() & kPropNet) {
                const auto offset = static_cast<std::uint32_t>(property->RepOffset()) & kRepOffsetBits;
                std::uint32_t bits = 0;
                for (const ReplicationEntry& entry : replication) {
                    if ((entry.value & kRepOffsetBits) == offset) {
                        bits = entry.value & ~kRepOffsetBits;
                        break;
                    }
                }
                replication.push_back({property->GetObjectName(), offset | bits});
            }
        } else if (auto* constant = dynamic_cast<TUTObjectClassConst*>(&child)) {
            types = ConstDeclaration(*constant) + ";\r\n" + types;
        } else if (auto* enumeration = dynamic_cast<TUTObjectClassEnum*>(&child)) {
            types = EnumDeclaration(*enumeration) + ";\r\n\r\n" + types;
        } else if (auto* structure = dynamic_cast<TUTObjectClassStruct*>(&child);
                   structure && !dynamic_cast<TUTObjectClassFunction*>(&child) &&
                   !dynamic_cast<TUTObjectClassState*>(&child)) {
            types = StructDeclaration(*structure) + ";\r\n\r\n" + types;
        }
        return true;
    });
    if (!types.empty() && !variables.empty() && types.substr(types.size() - 4) != "\r\n\r\n") types += "\r\n";
    std::string declarations = types + variables;
    if (!declarations.empty()) declarations += "\r\n";

    std::string text = kRule + "// " + name + ".\r\n" + kRule + "class " + name;
    if (object.SuperField() != 0) text += " expands " + OwnName(p, object.SuperField());
    if (object.ClassWithin() != 0 && !core::EqualsIgnoringCase(OwnName(p, object.ClassWithin()), "object")) {
        text += " within " + OwnName(p, object.ClassWithin());
    }
    text += ClassModifiers(object, lookup, hasConfigVariables) + ";\r\n\r\n" + declarations + ReplicationBlock(object, replication, context) + bodies;
    if (object.Properties().Count() > 1) text += DefaultPropertiesBlock(object);
    return text;
}

std::string ClassSource(TUTObjectClassClass& object, bool structured, ClassLookup* lookup,
                        DecompileContext* context) {
    const std::int32_t scriptText = object.ScriptText();
    if (scriptText > 0) {
        if (TUTExportTableObjectData* entry = object.package().GetExport(scriptText - 1)) {
            if (auto* buffer = dynamic_cast<TUTObjectClassTextBuffer*>(&entry->GetObject())) {
                ObjectReadScope scope(*buffer, true);
                return buffer->Text() + DefaultPropertiesBlock(object);
            }
        }
    }
    return ClassDeclaration(object, structured, lookup, context);
}

void SaveClassSource(TUTObjectClassClass& object, const std::string& fileName) {
    const std::string text = ClassSource(object, true);
    if (!text.empty()) platform::WriteFileAtomic(fileName, text);
}

}  // namespace torvane::unrealpkg
