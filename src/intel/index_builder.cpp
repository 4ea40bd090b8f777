#include "intel/index_builder.h"

#include <unordered_set>

#include "core/text.h"
#include "intel/compiled_classes.h"
#include "intel/declaration_parser.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "platform/game_paths.h"
#include "unrealpkg/package_places.h"

namespace torvane::intel {
namespace {

FileStamp StampOf(const std::string& path) {
    const auto [directory, name] = platform::SplitLastSeparator(path);
    const auto entries = platform::ListDirectory(directory, name);
    for (const auto& entry : entries) {
        if (entry.name == name) return {entry.size, entry.modified};
    }
    return {};
}

}  // namespace

std::vector<std::string> ScanOrder(const std::vector<std::string>& editPackages) {
    std::vector<std::string> order{"Core"};
    for (const std::string& package : editPackages) {
        if (!core::ContainsIgnoringCase(order, package)) order.push_back(package);
    }
    return order;
}

IndexUnit SourceUnit(std::string path, std::string package, std::string_view text, FileStamp stamp) {
    IndexUnit unit;
    ClassSymbols symbols = ParseClassSymbols(text);
    symbols.package = package;
    symbols.file = path;
    unit.key = std::move(path);
    unit.package = std::move(package);
    unit.stamp = stamp;
    unit.classes.push_back(std::move(symbols));
    return unit;
}

const IndexedClass* ClassOfSourceFile(const SymbolIndex& index, const std::string& path) {
    if (const IndexedClass* cls = index.ClassOfFile(path)) return cls;
    const std::string name = platform::FileNamePart(path);
    for (const IndexedClass* cls : index.Classes()) {
        const ClassSymbols& symbols = cls->symbols();
        if (symbols.compiled || !core::EqualsIgnoringCase(platform::FileNamePart(symbols.file), name)) continue;
        if (platform::SameFile(symbols.file, path)) return cls;
    }
    return nullptr;
}

const IndexedClass* IndexSourceText(SymbolIndex& index, const std::string& path, std::string_view text,
                                    const std::string& packageHint) {
    std::string key = path;
    std::string package = packageHint;
    if (const IndexedClass* known = ClassOfSourceFile(index, path)) {
        key = known->unit().key;
        package = known->unit().package;
    }
    index.SetUnit(SourceUnit(key, package, text, {}));
    index.Link();
    return index.ClassOfFile(key);
}

IndexRefresh RefreshFromGame(SymbolIndex& index, const platform::GameInstall& install,
                             const std::vector<std::string>& editPackages) {
    IndexRefresh refresh;
    const std::vector<std::string> order = ScanOrder(editPackages);
    index.SetPackageOrder(order);
    std::unordered_set<std::string> seen;
    std::vector<std::string> folders;  // where compiled classes' parents are looked for, once
    for (const std::string& package : order) {
        const std::string directory = platform::ResolveGamePath(install.gameRoot(), "\\" + package + "\\Classes");
        const bool hasSources = platform::DirectoryExists(directory);
        bool sourcesChanged = false;  // a source added or read again: the compiled-only classes may differ
        std::unordered_set<std::string> withSources;
        if (hasSources) {
            for (const auto& entry : platform::ListDirectory(directory, "*.uc")) {
                const std::string path = directory + "/" + entry.name;
                const FileStamp stamp{entry.size, entry.modified};
                seen.insert(path);
                const IndexUnit* existing = index.FindUnit(path);
                if (existing && existing->stamp == stamp && existing->package == package) {
                    ++refresh.unitsKept;
                } else {
                    try {
                        index.SetUnit(SourceUnit(path, package, platform::ReadWholeFile(path), stamp));
                        ++refresh.filesRead;
                        sourcesChanged = true;
                    } catch (const platform::FileError& e) {
                        refresh.errors.push_back(path + ": " + e.what());
                        continue;
                    }
                }
                for (const ClassSymbols& cls : index.FindUnit(path)->classes) withSources.insert(FoldName(cls.name));
            }
        }
        // The compiled package: every class of a package without sources, and the classes a
        // package's sources lack (native classes shipped only compiled).
        const std::string compiled = unrealpkg::CompiledPackageFile(install, package);
        if (compiled.empty()) continue;
        seen.insert(compiled);
        const FileStamp stamp = StampOf(compiled);
        const IndexUnit* existing = index.FindUnit(compiled);
        if (existing && existing->stamp == stamp && existing->package == package && !sourcesChanged) {
            ++refresh.unitsKept;
            continue;
        }
        try {
            if (folders.empty()) folders = unrealpkg::PackageFolders(install);
            IndexUnit unit = CompiledPackageUnit(compiled, package, folders, withSources);
            unit.stamp = stamp;
            index.SetUnit(std::move(unit));
            ++refresh.packagesRead;
        } catch (const std::exception& e) {
            refresh.errors.push_back(compiled + ": " + e.what());
        }
    }
    for (const IndexUnit* unit : index.Units()) {
        if (!seen.count(unit->key)) {
            index.RemoveUnit(std::string(unit->key));
            ++refresh.unitsRemoved;
        }
    }
    index.Link();
    return refresh;
}

}  // namespace torvane::intel
