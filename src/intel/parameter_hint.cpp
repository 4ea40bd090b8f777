#include "intel/parameter_hint.h"

#include "intel/code_walker.h"

namespace torvane::intel {
namespace {

class CallListener final : public WalkListener {
public:
    explicit CallListener(std::uint32_t offset) : offset_(offset) {}
    void OnCall(const CallSite& call) override {
        if (call.open >= offset_ || (call.close != UINT32_MAX && offset_ > call.close)) return;
        if (!best || call.open > best->open) best = call;
    }
    std::optional<CallSite> best;

private:
    std::uint32_t offset_;
};

// The commas at the call's own depth between its '(' and offset.
int ArgumentIndex(std::string_view text, std::uint32_t open, std::uint32_t offset) {
    int depth = 0, commas = 0;
    char quote = 0;
    for (std::uint32_t i = open + 1; i < offset && i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == '\\') ++i;
            else if (c == quote) quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') quote = c;
        else if (c == '(' || c == '[') ++depth;
        else if (c == ')' || c == ']') --depth;
        else if (c == ',' && depth == 0) ++commas;
    }
    return commas;
}

}  // namespace

std::pair<std::size_t, std::size_t> ParameterSpan(std::string_view signature, int parameter) {
    constexpr auto kNone = std::pair{std::string_view::npos, std::string_view::npos};
    // The list is the parenthesis the signature ends with ("native(129) ... !(bool A)").
    if (signature.empty() || signature.back() != ')' || parameter < 0) return kNone;
    std::size_t open = signature.size() - 1;
    for (int nesting = 0; open-- > 0;) {
        if (signature[open] == ')') ++nesting;
        if (signature[open] == '(' && nesting-- == 0) break;
    }
    if (open == std::string_view::npos) return kNone;
    int depth = 0, index = 0;
    std::size_t begin = open + 1;
    for (std::size_t i = open + 1; i < signature.size(); ++i) {
        const char c = signature[i];
        const bool last = c == ')' && depth == 0;
        if (c == '(' || c == '<' || c == '[') {
            ++depth;
        } else if (!last && (c == ')' || c == '>' || c == ']')) {
            --depth;
        } else if ((c == ',' && depth == 0) || last) {
            if (index == parameter) {
                std::size_t end = i;
                while (begin < end && signature[begin] == ' ') ++begin;
                while (end > begin && signature[end - 1] == ' ') --end;
                if (begin == end) return kNone;  // "()": no parameters
                return {begin, end};
            }
            if (last) break;
            ++index;
            begin = i + 1;
        }
    }
    return kNone;
}

std::optional<ParameterHint> ParameterHintAt(const SymbolIndex& index, const IndexedClass& cls, std::string_view text,
                                             std::uint32_t offset) {
    CallListener listener(offset);
    WalkAt(index, cls, text, offset, listener);
    if (!listener.best || listener.best->target.kind != Target::Kind::Member) return std::nullopt;
    const MemberRef function = listener.best->target.member;
    if (function.symbol().kind != SymbolKind::Function) return std::nullopt;
    ParameterHint hint;
    hint.signature = FunctionSignature(function.symbol());
    hint.owner = function.owner->name();
    hint.open = listener.best->open;
    hint.parameter = ArgumentIndex(text, hint.open, offset);
    return hint;
}

}  // namespace torvane::intel
