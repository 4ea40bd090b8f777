// resolution-report: how much of the code of some packages name resolution explains.
//   resolution-report GAME_ROOT [--list] [PACKAGE ...]   (packages default to Engine and Botpack)
// Prints the calls and the other names of function bodies and state code, how many resolve, and
// the unresolved ones grouped by cause; --list adds every unresolved name as "path(line): name".
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "core/text.h"
#include "intel/game_index.h"
#include "intel/resolution_tally.h"
#include "platform/file_ops.h"
#include "platform/game_install.h"

namespace intel = torvane::intel;

namespace {

double Percent(std::size_t part, std::size_t whole) { return whole ? 100.0 * part / whole : 100.0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: resolution-report GAME_ROOT [--list] [PACKAGE ...]\n";
        return 2;
    }
    bool list = false;
    std::vector<std::string> packages;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--list") {
            list = true;
        } else {
            packages.push_back(argument);
        }
    }
    if (packages.empty()) packages = {"Engine", "Botpack"};
    try {
        const auto install = torvane::platform::GameInstall::Detect(argv[1]);
        intel::SymbolIndex index;
        intel::LoadGameIndex(index, install, {});
        intel::ResolutionTally total;
        for (const intel::IndexedClass* cls : index.Classes()) {
            if (cls->symbols().compiled || !torvane::core::ContainsIgnoringCase(packages, cls->symbols().package)) continue;
            const std::string text = torvane::platform::ReadWholeFile(cls->symbols().file);
            total.Add(intel::TallyClass(index, *cls, text));
        }
        std::cout << "calls: " << total.callsResolved << " of " << total.calls << " resolved ("
                  << Percent(total.callsResolved, total.calls) << "%)\n";
        std::cout << "other names: " << total.namesResolved << " of " << total.names << " resolved ("
                  << Percent(total.namesResolved, total.names) << "%)\n";
        std::map<std::string, std::vector<const intel::ResolutionTally::Miss*>> byKind;
        for (const auto& [cause, misses] : total.unresolved) {
            for (const auto& miss : misses) byKind[intel::CauseKind(cause)].push_back(&miss);
        }
        std::vector<std::pair<std::string, std::size_t>> kinds;
        for (const auto& [kind, misses] : byKind) kinds.emplace_back(kind, misses.size());
        std::sort(kinds.begin(), kinds.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
        std::cout << "unresolved by cause:\n";
        for (const auto& [kind, count] : kinds) std::cout << "  " << count << "  " << kind << "\n";
        if (list) {
            for (const auto& [cause, misses] : total.unresolved) {
                for (const auto& miss : misses) std::cout << miss.place << ": " << miss.name << ": " << cause << "\n";
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "resolution-report: " << e.what() << "\n";
        return 2;
    }
    return 0;
}
