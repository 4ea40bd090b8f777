#pragma once

#include <optional>

// How long this process has run, for start-up measurements.
namespace torvane::platform {

// Milliseconds since the process was started (exec), to the system's clock tick (usually 10 ms);
// nullopt when the system does not say.
std::optional<double> MillisecondsSinceProcessStart();

}  // namespace torvane::platform
