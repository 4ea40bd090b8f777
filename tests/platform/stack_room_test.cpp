#include "platform/stack_room.h"

#include <gtest/gtest.h>
#include <pthread.h>

namespace torvane::platform {
namespace {

// The room left on a thread made with a stack of 1 MB: less than that, and less again one
// frame deeper.
std::size_t Deeper(int levels) {
    volatile char frame[1024] = {};
    if (levels == 0) return StackBytesLeft() + frame[0];
    return Deeper(levels - 1) + frame[0];
}

TEST(StackRoomTest, CountsTheRoomLeftOnTheThreadsStack) {
    EXPECT_GT(StackBytesLeft(), 64u * 1024);  // this thread's stack has room
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, 1024 * 1024), 0);
    struct Figures {
        std::size_t top = 0;
        std::size_t deeper = 0;
    } figures;
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes,
                             [](void* out) -> void* {
                                 auto* f = static_cast<Figures*>(out);
                                 f->top = StackBytesLeft();
                                 f->deeper = Deeper(64);
                                 return nullptr;
                             },
                             &figures),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_LE(figures.top, 1024u * 1024);
    EXPECT_GT(figures.top, 900u * 1024);
    EXPECT_LT(figures.deeper, figures.top - 64 * 1024);
}

}  // namespace
}  // namespace torvane::platform
