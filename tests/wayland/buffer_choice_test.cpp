// Which buffer a tick draws into, as the compositor holds and releases them.
#include "wayland/buffer_choice.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct FakeBuffer {
    bool held_ = false;
    bool held() const { return held_; }
};

// Faults caught: drawing into a buffer the compositor still holds (torn or
// half-drawn pictures on compositors that read buffers late); a second
// buffer made while the first is free, or a third ever; a buffer that could
// not be made handed out, or the empty list read as if it held one.
TEST(BufferChoice, NeverOneTheCompositorHoldsAndASecondOnlyWhileTheFirstIsHeld) {
    BufferChoice<FakeBuffer> buffers;
    int made = 0;
    bool canMake = false;
    auto make = [&] {
        ++made;
        return canMake ? std::make_unique<FakeBuffer>() : nullptr;
    };

    auto none = buffers.next(make);
    EXPECT_EQ(nullptr, none.buffer) << "a buffer that could not be made";
    EXPECT_TRUE(buffers.empty());
    EXPECT_EQ(nullptr, buffers.next(make).buffer) << "asked again after a failure";

    canMake = true;
    auto first = buffers.next(make);
    ASSERT_NE(nullptr, first.buffer);
    EXPECT_TRUE(first.made);
    EXPECT_EQ(first.buffer, buffers.next(make).buffer) << "the free one again, nothing new made";
    EXPECT_EQ(3, made);

    first.buffer->held_ = true;
    auto second = buffers.next(make);
    ASSERT_NE(nullptr, second.buffer);
    EXPECT_NE(first.buffer, second.buffer) << "the held one chosen";
    EXPECT_EQ(1u, second.index);

    second.buffer->held_ = true;
    EXPECT_FALSE(buffers.available());
    EXPECT_EQ(nullptr, buffers.next(make).buffer) << "a held one chosen, or a third made";
    EXPECT_EQ(4, made);

    first.buffer->held_ = false;
    EXPECT_TRUE(buffers.available());
    auto released = buffers.next(make);
    EXPECT_EQ(first.buffer, released.buffer) << "the released one";
    EXPECT_FALSE(released.made);
    EXPECT_EQ(0u, released.index);
}

}  // namespace
