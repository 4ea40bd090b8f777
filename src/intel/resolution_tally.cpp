#include "intel/resolution_tally.h"

#include <set>

#include "intel/code_walker.h"

namespace torvane::intel {
namespace {

class TallyListener final : public WalkListener {
public:
    TallyListener(ResolutionTally& tally, const std::string& file, const std::string& text)
        : tally_(tally), file_(file), text_(text) {}
    void OnUse(const Use& use) override {
        if (use.role != UseRole::Code) return;
        const bool resolved = static_cast<bool>(use.target);
        if (use.call) {
            ++tally_.calls;
            tally_.callsResolved += resolved;
        } else {
            ++tally_.names;
            tally_.namesResolved += resolved;
        }
        if (!resolved) {
            tally_.unresolved[use.cause].push_back(
                {file_ + "(" + std::to_string(use.line) + ")", text_.substr(use.offset, use.length)});
        }
    }

private:
    ResolutionTally& tally_;
    const std::string& file_;
    const std::string& text_;
};

}  // namespace

void ResolutionTally::Add(const ResolutionTally& other) {
    calls += other.calls;
    callsResolved += other.callsResolved;
    names += other.names;
    namesResolved += other.namesResolved;
    for (const auto& [cause, misses] : other.unresolved) {
        auto& mine = unresolved[cause];
        mine.insert(mine.end(), misses.begin(), misses.end());
    }
}

ResolutionTally TallyClass(const SymbolIndex& index, const IndexedClass& cls, const std::string& text) {
    ResolutionTally tally;
    TallyListener listener(tally, cls.symbols().file, text);
    WalkClass(index, cls, text, listener);
    return tally;
}

std::string CauseKind(const std::string& cause) {
    // The causes' own words; any other word is a name (a class, struct or type).
    static const std::set<std::string, std::less<>> kWords = {
        "no",  "class",  "struct", "enum",  "of",      "that",  "name",     "in",    "the",     "index",
        "state", "chain", "function", "variable", "variable,", "or", "member", "above", "is", "not",
        "type", "what", "stands", "before", "'.'", "known", "a", "has", "members", "local", "called",
        "constant", "constant,", "value", "scope", "(Default.", "Static.", "reach", "its", "class's)"};
    std::string kind;
    std::size_t begin = 0;
    while (begin <= cause.size()) {
        std::size_t end = cause.find(' ', begin);
        if (end == std::string::npos) end = cause.size();
        std::string_view word = std::string_view(cause).substr(begin, end - begin);
        std::string_view suffix;
        if (word.ends_with("'s")) {
            suffix = "'s";
            word.remove_suffix(2);
        }
        if (!kind.empty()) kind += ' ';
        kind += kWords.count(word) ? std::string(word) : std::string("*");
        kind += suffix;
        begin = end + 1;
    }
    return kind;
}

}  // namespace torvane::intel
