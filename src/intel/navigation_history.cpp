#include "intel/navigation_history.h"

#include <algorithm>

namespace torvane::intel {

void NavigationHistory::Push(std::vector<NavigationPlace>& list, const NavigationPlace& place, std::size_t limit) {
    if (!list.empty() && list.back() == place) return;
    list.push_back(place);
    if (list.size() > limit) list.erase(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(list.size() - limit));
}

void NavigationHistory::Jumped(const NavigationPlace& from) {
    Push(back_, from, limit_);
    forward_.clear();
}

std::optional<NavigationPlace> NavigationHistory::Back(const NavigationPlace& current) {
    if (back_.empty()) return std::nullopt;
    NavigationPlace target = back_.back();
    back_.pop_back();
    Push(forward_, current, limit_);
    return target;
}

std::optional<NavigationPlace> NavigationHistory::Forward(const NavigationPlace& current) {
    if (forward_.empty()) return std::nullopt;
    NavigationPlace target = forward_.back();
    forward_.pop_back();
    Push(back_, current, limit_);
    return target;
}

void NavigationHistory::Forget(const std::string& file) {
    for (auto* list : {&back_, &forward_}) {
        list->erase(std::remove_if(list->begin(), list->end(),
                                   [&file](const NavigationPlace& place) { return place.file == file; }),
                    list->end());
    }
}

}  // namespace torvane::intel
