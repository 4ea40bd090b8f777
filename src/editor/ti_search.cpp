#include "editor/ti_search.h"

#include "core/text.h"

namespace torvane::editor {

TTISearch::TTISearch() {
    for (int byte = 0; byte < 256; ++byte) {
        lower_[byte] = static_cast<unsigned char>(core::ToLower(static_cast<char>(byte)));
    }
    shift_.fill(1);
}

void TTISearch::SetPattern(std::string_view pattern) {
    pattern_ = std::string(pattern);
    folded_.resize(pattern_.size());
    const std::size_t m = pattern_.size();
    shift_.fill(m + 1);
    for (std::size_t i = 0; i < m; ++i) {
        folded_[i] = static_cast<char>(Lower(static_cast<unsigned char>(pattern_[i])));
        // The distance from the byte's last place in the pattern to just after the pattern.
        shift_[static_cast<unsigned char>(folded_[i])] = m - i;
    }
    for (int byte = 0; byte < 256; ++byte) byteShift_[byte] = shift_[lower_[byte]];
}

std::size_t TTISearch::FindFirst(std::string_view text) {
    text_ = text;
    found_ = false;
    matchStart_ = 0;
    count_ = 0;
    position_ = 0;
    if (folded_.empty() || text_.size() < folded_.size()) {
        position_ = text_.size() + 1;  // FindNext finds nothing either
        return 0;
    }
    return FindNext();
}

// The window text[start .. start + m - 1] against the pattern, from its last character backwards.
bool TTISearch::WindowMatches(const unsigned char* windowStart) const {
    const auto* pattern = reinterpret_cast<const unsigned char*>(folded_.data());
    std::size_t i = folded_.size();
    while (i > 0 && Lower(windowStart[i - 1]) == pattern[i - 1]) --i;
    return i == 0;
}

std::size_t TTISearch::FindNext() {
    found_ = false;
    matchStart_ = 0;
    const std::size_t m = folded_.size();
    const std::size_t n = text_.size();
    if (m == 0 || position_ > n) return 0;
    // Locals, not members: the compiler may keep them in registers while bytes are read.
    const auto* text = reinterpret_cast<const unsigned char*>(text_.data());
    const unsigned char* lower = lower_.data();
    const std::size_t* shift = byteShift_.data();
    const unsigned char last = static_cast<unsigned char>(folded_[m - 1]);
    std::size_t position = position_ + m;
    // The window is text[position - m + 1 .. position] (1-based), and text[position] (0-based) is
    // the byte right after it; after the last window a byte 0 stands there.
    while (position <= n) {
        const unsigned char* window = text + (position - m);
        if (lower[window[m - 1]] == last && WindowMatches(window)) {
            position_ = position;
            found_ = true;
            ++count_;
            matchStart_ = position - m + 1;
            return matchStart_;
        }
        position += position < n ? shift[text[position]] : shift[0];
    }
    position_ = position;
    return 0;
}

}  // namespace torvane::editor
