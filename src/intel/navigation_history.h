#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Back and Forward through jumps: every jump (go to definition, a reference, the outline) leaves
// the place it started from on the back list; Back returns there and keeps the place it left for
// Forward. A new jump after going back forgets what lay ahead.
namespace torvane::intel {

struct NavigationPlace {
    std::string file;  // the editor's caption: a path, or the caption of a rebuilt class's view
    int line = 1;      // from 1
    int column = 1;    // from 1, a column per character
    bool operator==(const NavigationPlace&) const = default;
};

class NavigationHistory final {
public:
    explicit NavigationHistory(std::size_t limit = 100) : limit_(limit) {}

    // A jump leaves from: it goes on the back list (not twice in a row), Forward is forgotten.
    void Jumped(const NavigationPlace& from);
    // Where Back goes from current (which Forward then returns to); nothing when there is none.
    std::optional<NavigationPlace> Back(const NavigationPlace& current);
    std::optional<NavigationPlace> Forward(const NavigationPlace& current);
    bool CanGoBack() const { return !back_.empty(); }
    bool CanGoForward() const { return !forward_.empty(); }
    // A place that can no longer be reached (its file is gone) is dropped from both lists.
    void Forget(const std::string& file);

private:
    static void Push(std::vector<NavigationPlace>& list, const NavigationPlace& place, std::size_t limit);

    std::size_t limit_;
    std::vector<NavigationPlace> back_;
    std::vector<NavigationPlace> forward_;
};

}  // namespace torvane::intel
