#include "intel/compiled_classes.h"

#include <functional>

#include "core/text.h"
#include "intel/declaration_parser.h"
#include "platform/file_ops.h"
#include "unrealpkg/class_declaration.h"
#include "unrealpkg/class_lookup.h"
#include "unrealpkg/ut_decompiler_context.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::intel {
namespace {

// Calls visit with the name and rebuilt text of every class of the package (or only of the one
// named, when wanted is not empty).
void VisitClassTexts(const std::string& packageFile, const std::vector<std::string>& packageFolders,
                     const std::string& wanted, const std::unordered_set<std::string>& skipped,
                     const std::function<void(const std::string&, const std::string&)>& visit) {
    unrealpkg::TUTPackage package;
    package.Open(packageFile);
    unrealpkg::PackageFolderLookup lookup(packageFolders);
    const auto context = unrealpkg::DecompileContext::WithPackagesAtHand(package);
    for (const auto& entry : package.Exports) {
        if (entry->ClassIndex != 0) continue;  // a class object has no class of its own
        const std::string name = entry->GetObjectName();
        if (core::EqualsIgnoringCase(name, "None")) continue;
        if (!wanted.empty() && !core::EqualsIgnoringCase(name, wanted)) continue;
        if (!skipped.empty() && skipped.count(FoldName(name))) continue;
        unrealpkg::TUTObject& object = entry->GetObject();
        auto* cls = dynamic_cast<unrealpkg::TUTObjectClassClass*>(&object);
        if (!cls) continue;
        std::string text;
        {
            unrealpkg::ObjectReadScope scope(object, true);
            text = unrealpkg::ClassSource(*cls, true, &lookup, context.get());
        }
        visit(name, text);
        if (!wanted.empty()) break;
    }
    package.ReleaseObjects();
}

}  // namespace

IndexUnit CompiledPackageUnit(const std::string& packageFile, const std::string& package,
                              const std::vector<std::string>& packageFolders,
                              const std::unordered_set<std::string>& withSources) {
    IndexUnit unit;
    unit.key = packageFile;
    unit.package = package;
    unit.compiled = true;
    VisitClassTexts(packageFile, packageFolders, {}, withSources, [&](const std::string& name, const std::string& text) {
        ClassSymbols symbols = ParseClassSymbols(text);
        if (symbols.name.empty()) symbols.name = name;
        symbols.package = package;
        symbols.compiled = true;
        unit.classes.push_back(std::move(symbols));
    });
    return unit;
}

std::string CompiledClassText(const std::string& packageFile, const std::string& className,
                              const std::vector<std::string>& packageFolders) {
    std::string found;
    VisitClassTexts(packageFile, packageFolders, className, {},
                    [&](const std::string&, const std::string& text) { found = text; });
    return found;
}

}  // namespace torvane::intel
