#include "editor/find_in_files.h"

#include <algorithm>
#include <cstring>

#include "core/interaction.h"
#include "core/text.h"
#include "editor/ti_search.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "project/project_session.h"
#include "workspace/class_tree.h"
#include "workspace/edit_packages.h"

namespace torvane::editor {
namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// The line ends in text[from, to): a CR LF pair is one, so is a lone CR or a lone LF.
int LineEndsIn(std::string_view text, std::size_t from, std::size_t to) {
    const char* begin = text.data() + from;
    const char* end = text.data() + to;
    int ends = 0;
    // memchr, not a byte loop: lines are short, and it looks at many bytes at a time.
    for (const char* lf = begin; (lf = static_cast<const char*>(std::memchr(lf, '\n', end - lf))) != nullptr; ++lf) {
        ++ends;
    }
    for (const char* cr = begin; (cr = static_cast<const char*>(std::memchr(cr, '\r', end - cr))) != nullptr; ++cr) {
        const bool pair = cr + 1 < text.data() + text.size() && cr[1] == '\n';
        if (!pair) ++ends;
    }
    return ends;
}

void AddFile(std::vector<std::string>& files, const workspace::ClassNode& node) {
    if (!node.entry.fileName.empty()) files.push_back(node.entry.fileName);
}

void AddSubtree(std::vector<std::string>& files, const workspace::ClassNode& root) {
    std::vector<const workspace::ClassNode*> pending{&root};
    while (!pending.empty()) {
        const workspace::ClassNode* node = pending.back();
        pending.pop_back();
        AddFile(files, *node);
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) pending.push_back(it->get());
    }
}

std::vector<std::string> ProjectClassFiles(const std::string& gameRoot,
                                           const std::vector<project::PackageNode>& packages) {
    std::vector<std::string> files;
    for (const auto& package : packages) {
        for (const auto& group : package.contents.groups) {
            if (group.name != "Classes") continue;
            for (const auto& file : group.files) {
                files.push_back(platform::ResolveGamePath(gameRoot, "\\" + package.name + "\\Classes\\" + file));
            }
        }
    }
    return files;
}

std::vector<std::string> ExportedClassFiles(const std::string& gameRoot,
                                            const std::vector<workspace::CompiledPackage>& packages) {
    std::vector<std::string> files;
    for (const auto& package : packages) {
        if (package.exported != "Yes") continue;
        const std::string directory = platform::ResolveGamePath(gameRoot, "\\" + package.name + "\\Classes");
        for (const auto& file : platform::ListDirectory(directory, "*.uc")) files.push_back(directory + "/" + file.name);
    }
    return files;
}

}  // namespace

const char* LocationCaption(SearchLocation location) { return kLocationCaptions[static_cast<int>(location)]; }

std::optional<SearchLocation> LocationOfName(std::string_view name) {
    static const char* const kShortNames[] = {"actors", "objects", "project", "exported", "branch"};
    for (int i = 0; i < 5; ++i) {
        if (core::EqualsIgnoringCase(name, kLocationCaptions[i]) || core::EqualsIgnoringCase(name, kShortNames[i])) {
            return static_cast<SearchLocation>(i);
        }
    }
    return std::nullopt;
}

SearchLocation LocationOfWorkspacePage(std::string_view pageCaption) {
    if (pageCaption == "Project") return SearchLocation::ProjectClasses;
    if (pageCaption == "Object") return SearchLocation::AllObjects;
    if (pageCaption == "Actor") return SearchLocation::AllActors;
    return SearchLocation::ExportedClasses;
}

std::vector<std::string> FilesOfTree(const workspace::ClassTree& tree) {
    std::vector<std::string> files;
    files.reserve(tree.Count());
    tree.Walk([&files](const workspace::ClassNode& node) {
        AddFile(files, node);
        return true;
    });
    return files;
}

std::vector<std::string> FilesOfBranch(const workspace::ClassNode& node) {
    std::vector<std::string> files;
    AddSubtree(files, node);
    return files;
}

LocationFiles FilesOfLocation(SearchLocation location, const SearchScope& scope) {
    LocationFiles result;
    switch (location) {
        case SearchLocation::AllActors:
            if (scope.actorTree) result.files = FilesOfTree(*scope.actorTree);
            break;
        case SearchLocation::AllObjects:
            if (scope.objectTree) result.files = FilesOfTree(*scope.objectTree);
            break;
        case SearchLocation::ProjectClasses:
            if (!scope.projectPackages) {
                result.message = "No Project Loaded.";
            } else {
                result.files = ProjectClassFiles(scope.gameRoot, *scope.projectPackages);
            }
            break;
        case SearchLocation::ExportedClasses:
            if (scope.compiledPackages) result.files = ExportedClassFiles(scope.gameRoot, *scope.compiledPackages);
            break;
        case SearchLocation::CurrentBranch:
            if (scope.objectPageShown && scope.objectSelection) {
                result.files = FilesOfBranch(*scope.objectSelection);
            } else if (scope.actorSelection) {
                result.files = FilesOfBranch(*scope.actorSelection);
            } else {
                result.message = "You must select an branch in the Actor or Object Tree first!";
            }
            break;
    }
    return result;
}

void ScanText(TTISearch& search, std::string_view text, const std::function<void(const HitLine&)>& onHit) {
    int line = 1;                // the number of the line that starts at lineStart
    std::size_t counted = 0;     // line ends before this offset are counted in line
    for (std::size_t at = search.FindFirst(text); at != 0; at = search.FindNext()) {
        const std::size_t match = at - 1;
        std::size_t start = match;
        while (start > 0 && !IsLineBreak(text[start - 1])) --start;
        std::size_t end = match;
        while (end < text.size() && !IsLineBreak(text[end])) ++end;
        if (start > counted) {
            line += LineEndsIn(text, counted, start);
            counted = start;
        }
        HitLine hit;
        hit.number = line;
        hit.text.reserve(end - start);
        for (std::size_t i = start; i < end; ++i) {
            if (static_cast<unsigned char>(text[i]) >= 32) hit.text.push_back(text[i]);
        }
        onHit(hit);
    }
}

std::string HitOutputLine(std::string_view path, const HitLine& hit) {
    std::string line;
    line.reserve(path.size() + hit.text.size() + 16);
    line.append(path).append("(").append(std::to_string(hit.number)).append("): ").append(hit.text);
    return line;
}

std::optional<HitLocation> ParseHitOutputLine(std::string_view line,
                                              const std::function<bool(const std::string&)>& fileExists) {
    for (std::size_t open = line.find('('); open != std::string_view::npos; open = line.find('(', open + 1)) {
        std::size_t end = open + 1;
        while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
        const std::size_t digits = end - open - 1;
        if (digits == 0 || digits > 9 || line.substr(end, 3) != "): " || open == 0) continue;
        std::string path(line.substr(0, open));
        if (!fileExists(path)) continue;
        return HitLocation{std::move(path), std::stoi(std::string(line.substr(open + 1, digits)))};
    }
    return std::nullopt;
}

void ListHitLines(TTISearch& search, std::string_view path, std::string_view source,
                  const std::function<void(std::string line)>& list, const std::function<void()>& afterEachHit) {
    std::string lastLine;
    ScanText(search, source, [&](const HitLine& hit) {
        std::string line = HitOutputLine(path, hit);
        if (line != lastLine) {
            lastLine = line;
            list(std::move(line));
        }
        if (afterEachHit) afterEachHit();
    });
}

FindInFilesResult SearchFiles(std::string_view text, const std::vector<std::string>& files,
                              const FindInFilesHost& host) {
    FindInFilesResult result;
    if (text.empty()) return result;
    TTISearch search;
    search.SetPattern(text);
    if (host.log) host.log->Clear();
    platform::WholeFileReader reader;
    const auto list = [&](std::string line) {
        if (host.log) host.log->AppendLine(line);
        ++result.linesListed;
    };
    const auto afterEachHit = [&host] {
        if (host.pump) host.pump->ProcessPendingEvents();
    };
    for (const std::string& path : files) {
        if (host.stopRequested && host.stopRequested()) {
            result.stopped = true;
            break;
        }
        if (host.status) host.status("Searching " + path);
        if (host.pump) host.pump->ProcessPendingEvents();
        ++result.filesSearched;
        try {
            ListHitLines(search, path, reader.Read(path), list, afterEachHit);
        } catch (const std::exception&) {
            if (host.prompter) host.prompter->Error("Exception while scanning " + path);
        }
    }
    return result;
}

}  // namespace torvane::editor
