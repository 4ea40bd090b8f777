#pragma once

#include <string>
#include <vector>

// The engine's probe functions: the events a state can ignore without declaring them. A state
// records the ignored ones as cleared bits of its 64-bit ignore mask, bit i standing for probe i.
namespace torvane::unrealpkg {

// The probe of bit index (0..63), or an empty text for the engine's unnamed placeholders.
const std::string& ProbeName(int bit);

// The names of the probes whose bits are cleared in ignoreMask, by bit order.
std::vector<std::string> IgnoredProbes(unsigned long long ignoreMask);

}  // namespace torvane::unrealpkg
