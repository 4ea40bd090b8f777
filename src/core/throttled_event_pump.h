#pragma once

#include <chrono>

#include "core/interaction.h"

namespace torvane::core {

// Lets window messages through at most once per interval: long work that yields very often
// (find in files yields after every hit) keeps the window responsive without repainting for
// every step. The first yield always goes through.
class ThrottledEventPump final : public EventPump {
public:
    using Clock = std::chrono::steady_clock;

    ThrottledEventPump(EventPump& inner, Clock::duration interval) : inner_(inner), interval_(interval) {}

    void ProcessPendingEvents() override {
        const Clock::time_point now = Clock::now();
        if (started_ && now - last_ < interval_) return;
        started_ = true;
        last_ = now;
        inner_.ProcessPendingEvents();
    }

private:
    EventPump& inner_;
    Clock::duration interval_;
    Clock::time_point last_{};
    bool started_ = false;
};

}  // namespace torvane::core
