// Compares the declarations rebuilt from each class's compiled form with the source text the
// package carries, per package: how many classes match fully, and how many match per kind of
// declaration. Default properties are compared with the class's ".uc" file below a source tree
// when one is given (the embedded text has no default properties).
//
// Parent classes of other packages (for inherited class modifiers) are looked for beside each
// package and in every --lookup folder.
//
//   declaration-fidelity [--diff] [--tree DIR] [--lookup DIR]... PACKAGE.u ...
#include <cctype>
#include <cstdio>
#include <set>
#include <iostream>
#include <string>
#include <vector>

#include "fidelity/uscript_declarations.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "unrealpkg/class_declaration.h"
#include "unrealpkg/class_lookup.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_decompiler_context.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_resource_objects.h"
#include "unrealpkg/ut_script_objects.h"

namespace {

namespace fidelity = torvane::fidelity;
namespace unrealpkg = torvane::unrealpkg;

struct Category {
    const char* title;
    fidelity::Declarations fidelity::ClassDeclarations::*member;
};

constexpr Category kCategories[] = {
    {"vars", &fidelity::ClassDeclarations::variables},   {"consts", &fidelity::ClassDeclarations::constants},
    {"enums", &fidelity::ClassDeclarations::enums},      {"structs", &fidelity::ClassDeclarations::structs},
    {"funcs", &fidelity::ClassDeclarations::functions},  {"states", &fidelity::ClassDeclarations::states},
    {"repl", &fidelity::ClassDeclarations::replication},
};

void PrintDifferences(const std::string& cls, const char* title, const fidelity::Declarations& source,
                      const fidelity::Declarations& rebuilt) {
    for (const auto& [key, text] : source) {
        const auto it = rebuilt.find(key);
        if (it == rebuilt.end()) {
            std::cout << "  " << cls << " " << title << " - " << text << "\n";
        } else if (it->second != text) {
            std::cout << "  " << cls << " " << title << " - " << text << "\n"
                      << "  " << cls << " " << title << " + " << it->second << "\n";
        }
    }
    for (const auto& [key, text] : rebuilt) {
        if (!source.count(key)) std::cout << "  " << cls << " " << title << " + " << text << "\n";
    }
}

std::string PackageName(const std::string& file) {
    std::string name = torvane::platform::FileNamePart(file);
    return name.substr(0, name.rfind('.'));
}

}  // namespace

int main(int argc, char** argv) {
    bool diff = false;
    std::string tree;
    std::vector<std::string> files, lookupFolders;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--diff") {
            diff = true;
        } else if (arg == "--tree" && i + 1 < argc) {
            tree = argv[++i];
        } else if (arg == "--lookup" && i + 1 < argc) {
            lookupFolders.push_back(argv[++i]);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        std::cerr << "usage: declaration-fidelity [--diff] [--tree DIR] [--lookup DIR]... PACKAGE.u ...\n";
        return 2;
    }
    // The first value of every enum of the packages and lookup folders: an enum variable's empty value.
    std::set<std::string> firstEnumValues;
    std::vector<std::string> enumSources = files;
    for (const std::string& folder : lookupFolders) {
        for (const auto& entry : torvane::platform::ListDirectory(folder, "*.u")) enumSources.push_back(folder + "/" + entry.name);
    }
    for (const std::string& file : enumSources) {
        try {
            unrealpkg::TUTPackage package(file);
            for (const auto& entry : package.Exports) {
                auto* enumeration = dynamic_cast<unrealpkg::TUTObjectClassEnum*>(&entry->GetObject());
                if (!enumeration) continue;
                unrealpkg::ObjectReadScope scope(*enumeration, true);
                if (!enumeration->Values().empty()) {
                    std::string first = enumeration->Values().front();
                    for (char& c : first) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                    firstEnumValues.insert(first);
                }
            }
        } catch (const std::exception&) {
        }
    }
    std::printf("%-20s %7s %5s %6s", "package", "classes", "full", "header");
    for (const Category& c : kCategories) std::printf(" %7s", c.title);
    std::printf(" %9s\n", "defaults");
    int allClasses = 0, allFull = 0;
    for (const std::string& file : files) {
        unrealpkg::TUTPackage package(file);
        const std::string packageName = PackageName(file);
        std::vector<std::string> folders{torvane::platform::SplitLastSeparator(file).first};
        folders.insert(folders.end(), lookupFolders.begin(), lookupFolders.end());
        unrealpkg::PackageFolderLookup lookup(folders);
        const auto context = unrealpkg::DecompileContext::WithPackagesAtHand(package);
        int classes = 0, full = 0, header = 0, defaults = 0, defaultsCompared = 0;
        int perCategory[std::size(kCategories)] = {};
        for (const auto& entry : package.Exports) {
            auto* cls = dynamic_cast<unrealpkg::TUTObjectClassClass*>(&entry->GetObject());
            if (!cls || cls->GetObjectName() == "None") continue;
            unrealpkg::ObjectReadScope scope(*cls, true);
            if (cls->ScriptText() <= 0) continue;
            auto* buffer = dynamic_cast<unrealpkg::TUTObjectClassTextBuffer*>(
                &package.GetExport(cls->ScriptText() - 1)->GetObject());
            if (!buffer) continue;
            std::string sourceText;
            {
                unrealpkg::ObjectReadScope textScope(*buffer, true);
                sourceText = buffer->Text();
            }
            ++classes;
            const std::string name = cls->GetObjectName();
            fidelity::ClassDeclarations source = fidelity::ReadClassDeclarations(sourceText, firstEnumValues);
            fidelity::ClassDeclarations rebuilt =
                fidelity::ReadClassDeclarations(unrealpkg::ClassDeclaration(*cls, true, &lookup, context.get()), firstEnumValues);
            if (const auto parent = unrealpkg::ParentClassFlags(*cls, &lookup)) {
                fidelity::DropImpliedModifiers(source, parent->classFlags, parent->configName);
                fidelity::DropImpliedModifiers(rebuilt, parent->classFlags, parent->configName);
            } else {
                fidelity::DropImpliedModifiers(source, 0, {});
                fidelity::DropImpliedModifiers(rebuilt, 0, {});
            }
            const bool sameHeader = source.header == rebuilt.header && source.modifiers == rebuilt.modifiers;
            bool matches = sameHeader;
            header += matches;
            if (diff && !sameHeader) {
                auto words = [](const std::set<std::string>& set) {
                    std::string text;
                    for (const auto& w : set) text += " " + w;
                    return text;
                };
                std::cout << "  " << name << " header - " << source.header << words(source.modifiers) << "\n  "
                          << name << " header + " << rebuilt.header << words(rebuilt.modifiers) << "\n";
            }
            for (std::size_t c = 0; c < std::size(kCategories); ++c) {
                const auto& a = source.*(kCategories[c].member);
                const auto& b = rebuilt.*(kCategories[c].member);
                perCategory[c] += a == b;
                matches = matches && a == b;
                if (diff && a != b) PrintDifferences(name, kCategories[c].title, a, b);
            }
            if (!tree.empty()) {
                const std::string uc = torvane::platform::ResolveGamePath(
                    tree, "\\" + packageName + "\\Classes\\" + name + ".uc");
                if (torvane::platform::FileExists(uc)) {
                    const fidelity::ClassDeclarations treeSource =
                        fidelity::ReadClassDeclarations(torvane::platform::ReadWholeFile(uc), firstEnumValues);
                    if (treeSource.hasDefaults) {
                        ++defaultsCompared;
                        const bool same = treeSource.defaults == rebuilt.defaults;
                        defaults += same;
                        matches = matches && same;
                        if (diff && !same) PrintDifferences(name, "defaults", treeSource.defaults, rebuilt.defaults);
                    }
                }
            }
            full += matches;
        }
        std::printf("%-20s %7d %5d %6d", packageName.c_str(), classes, full, header);
        for (int count : perCategory) std::printf(" %7d", count);
        std::printf(" %5d/%-3d\n", defaults, defaultsCompared);
        allClasses += classes;
        allFull += full;
    }
    std::printf("%-20s %7d %5d\n", "all", allClasses, allFull);
    return 0;
}
