#pragma once

#include <cstddef>

// How much room is left on the calling thread's stack, for code whose recursion follows its input
// (the bytecode decompiler), so that it can stop with an error before the stack runs out.
namespace torvane::platform {

// Bytes between the caller's frame and the end of its thread's stack; SIZE_MAX when the system
// does not say where the stack ends.
std::size_t StackBytesLeft();

}  // namespace torvane::platform
