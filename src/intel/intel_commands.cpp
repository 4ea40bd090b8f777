#include "intel/intel_commands.h"

#include "intel/compiled_classes.h"
#include "intel/game_index.h"
#include "intel/reference_search.h"
#include "intel/script_lexer.h"
#include "intel/symbol_place.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"
#include "unrealpkg/package_places.h"

namespace torvane::intel {
namespace {

struct LoadedGame {
    platform::GameInstall install;
    SymbolIndex index;
    GameIndexLoad load;
};

LoadedGame LoadGame(const IntelCommandOptions& options, std::ostream& err) {
    LoadedGame game{platform::GameInstall::Detect(options.gameRoot), {}, {}};
    if (!options.cacheDirectory.empty()) {
        std::string error;
        if (!platform::CreateDirectories(options.cacheDirectory, &error)) {
            throw platform::FileError("Cannot create directory \"" + options.cacheDirectory + "\". " + error);
        }
    }
    game.load = LoadGameIndex(game.index, game.install, options.cacheDirectory);
    for (const std::string& error : game.load.refresh.errors) err << "torvane-cli: " << error << "\n";
    return game;
}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

// The class of a source file: the index's, else the file read alone (a class outside the
// EditPackages), added to the index.
const IndexedClass* ClassOfSource(SymbolIndex& index, const std::string& file, const std::string& text) {
    if (const IndexedClass* cls = ClassOfSourceFile(index, file)) return cls;
    return IndexSourceText(index, file, text, {});
}

std::string DeclarationLine(const Symbol& symbol) {
    return symbol.kind == SymbolKind::Function ? FunctionSignature(symbol) : DeclarationText(symbol);
}

}  // namespace

int RunSymbols(const IntelCommandOptions& options, const std::string& className, std::ostream& out,
               std::ostream& err) {
    LoadedGame game = LoadGame(options, err);
    const SymbolIndex& index = game.index;
    bool found = className.empty();
    for (const IndexedClass* cls : index.Classes()) {
        if (!className.empty() && FoldName(cls->name()) != FoldName(className)) continue;
        found = true;
        const ClassSymbols& symbols = cls->symbols();
        Target classTarget;
        classTarget.kind = Target::Kind::Class;
        classTarget.cls = cls;
        out << PlaceText(PlaceOf(classTarget)) << ": class " << symbols.package << "." << symbols.name;
        if (!symbols.parent.empty()) out << " extends " << symbols.parent;
        if (symbols.compiled) out << " (compiled)";
        out << "\n";
        for (std::uint32_t i = 0; i < symbols.members.size(); ++i) {
            Target target;
            target.kind = Target::Kind::Member;
            target.member = {cls, i};
            out << PlaceText(PlaceOf(target)) << ": " << TargetText(target) << ": "
                << DeclarationLine(symbols.members[i]) << "\n";
        }
    }
    if (!found) {
        err << "torvane-cli: no class " << className << " in the symbol index\n";
        return 1;
    }
    const IndexRefresh& refresh = game.load.refresh;
    out << "classes: " << index.Classes().size() << ", symbols: " << index.SymbolCount()
        << ", sources read: " << refresh.filesRead << ", packages read: " << refresh.packagesRead
        << ", from cache: " << refresh.unitsKept << "\n";
    return refresh.errors.empty() ? 0 : 1;
}

int RunDefinition(const IntelCommandOptions& options, const std::string& file, int line, int column,
                  std::ostream& out, std::ostream& err) {
    LoadedGame game = LoadGame(options, err);
    const std::string text = platform::ReadWholeFile(file);
    const IndexedClass* cls = ClassOfSource(game.index, file, text);
    if (!cls) {
        err << "torvane-cli: " << file << " declares no class\n";
        return 1;
    }
    const auto offset = static_cast<std::uint32_t>(OffsetOfPosition(text, line, column));
    const std::optional<Use> use = UseAt(game.index, *cls, text, offset);
    if (!use) {
        err << "torvane-cli: no name at " << file << "(" << line << ") column " << column << "\n";
        return 1;
    }
    const std::string name = text.substr(use->offset, use->length);
    if (!use->target) {
        err << "torvane-cli: " << name << " is not resolved: " << use->cause << "\n";
        return 1;
    }
    const SymbolPlace place = PlaceOf(use->target);
    std::string placeText;
    if (place.compiled) {
        placeText = CompiledClassText(place.packageFile, place.cls->name(), unrealpkg::PackageFolders(game.install));
    } else if (place.cls == cls) {
        placeText = text;
    } else {
        placeText = platform::ReadWholeFile(place.file);
    }
    out << PlaceText(place) << ": " << Trimmed(LineText(placeText, place.line)) << "\n";
    return 0;
}

int RunReferences(const IntelCommandOptions& options, const std::string& name, std::ostream& out, std::ostream& err) {
    LoadedGame game = LoadGame(options, err);
    const auto dot = name.find('.');
    const std::string className = name.substr(0, dot);
    const IndexedClass* cls = game.index.FindClass(className);
    if (!cls) {
        err << "torvane-cli: no class " << className << " in the symbol index\n";
        return 1;
    }
    Target target;
    if (dot == std::string::npos) {
        target.kind = Target::Kind::Class;
        target.cls = cls;
    } else {
        const std::string memberName = name.substr(dot + 1);
        const MemberRef member = game.index.FindMember(cls, memberName);
        if (!member) {
            err << "torvane-cli: no member " << memberName << " in " << cls->name() << "'s chain\n";
            return 1;
        }
        target.kind = Target::Kind::Member;
        target.member = member;
    }
    std::vector<std::string> unreadable;
    for (const std::string& line : ReferenceLines(FindReferences(game.index, target, ReadSourceText, &unreadable))) {
        out << line << "\n";
    }
    for (const std::string& error : unreadable) err << "torvane-cli: " << error << "\n";
    return unreadable.empty() ? 0 : 1;
}

}  // namespace torvane::intel
