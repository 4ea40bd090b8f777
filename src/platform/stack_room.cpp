#include "platform/stack_room.h"

#include <pthread.h>

#include <cstdint>

namespace torvane::platform {
namespace {

// The lowest address of the calling thread's stack (stacks grow down here); 0 when unknown.
std::uintptr_t StackLowEnd() {
    pthread_attr_t attributes;
    if (::pthread_getattr_np(::pthread_self(), &attributes) != 0) return 0;
    void* low = nullptr;
    std::size_t size = 0;
    const bool known = ::pthread_attr_getstack(&attributes, &low, &size) == 0;
    ::pthread_attr_destroy(&attributes);
    return known ? reinterpret_cast<std::uintptr_t>(low) : 0;
}

}  // namespace

std::size_t StackBytesLeft() {
    // Asked once per thread: for the main thread the system reads its memory map to answer.
    thread_local const std::uintptr_t lowEnd = StackLowEnd();
    if (lowEnd == 0) return SIZE_MAX;
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    return here > lowEnd ? here - lowEnd : 0;
}

}  // namespace torvane::platform
