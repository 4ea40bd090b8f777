#pragma once

#include <array>
#include <string>
#include <string_view>

// Case-insensitive text search over bytes (Quick Search): every window of the text is compared
// from its last character backwards through the Windows-1252 lower-case table, and a window that
// differs moves on by the shift of the byte just after it, up to the pattern's length + 1.
// Matches are found left to right and never overlap: after a match the next window begins right
// after it. Positions are 1-based; 0 means "no match".
namespace torvane::editor {

class TTISearch final {
public:
    TTISearch();

    // The pattern to look for; an empty pattern finds nothing.
    void SetPattern(std::string_view pattern);
    const std::string& Pattern() const { return pattern_; }

    // Starts over in text (which must outlive the search) and returns the 1-based start of the
    // first match, or 0.
    std::size_t FindFirst(std::string_view text);
    // The next match after the last one, or 0.
    std::size_t FindNext();

    bool Found() const { return found_; }
    std::size_t MatchStart() const { return matchStart_; }  // of the last match, 0 when none
    int Count() const { return count_; }                    // matches since FindFirst

private:
    unsigned char Lower(unsigned char byte) const { return lower_[byte]; }

    bool WindowMatches(const unsigned char* windowStart) const;

    std::array<unsigned char, 256> lower_{};
    std::array<std::size_t, 256> shift_{};      // by lower-cased byte
    std::array<std::size_t, 256> byteShift_{};  // shift_ of the byte's lower case, by byte
    std::string pattern_;  // as given
    std::string folded_;   // through the lower-case table
    std::string_view text_;
    std::size_t position_ = 0;  // 1-based index of the text character under the pattern's last
    bool found_ = false;
    std::size_t matchStart_ = 0;
    int count_ = 0;
};

}  // namespace torvane::editor
