#pragma once

#include <functional>
#include <utility>

// Whether long work that lets window messages through is running: a compile, a script, a class
// tree rebuild, a find in files. While it runs, the commands that would start another such run
// or change what it uses are disabled, and their entry points refuse (a signal can still reach
// them).
namespace torvane::shell {

class BusyState final {
public:
    // Marks the state busy for its lifetime, on every way out.
    class Scope final {
    public:
        explicit Scope(BusyState& state) : state_(state) { state_.Change(+1); }
        ~Scope() { state_.Change(-1); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        BusyState& state_;
    };

    bool Busy() const { return depth_ > 0; }
    // Called when Busy() changes.
    void SetChanged(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    void Change(int delta) {
        const bool was = Busy();
        depth_ += delta;
        if (was != Busy() && changed_) changed_();
    }

    int depth_ = 0;
    std::function<void()> changed_;
};

}  // namespace torvane::shell
