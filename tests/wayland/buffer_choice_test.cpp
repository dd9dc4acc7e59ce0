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
    auto make = [&]() -> std::unique_ptr<FakeBuffer> {
        ++made;
        return canMake ? std::make_unique<FakeBuffer>() : nullptr;
    };

    EXPECT_EQ(nullptr, buffers.next(make).buffer) << "a buffer that could not be made";
    EXPECT_EQ(nullptr, buffers.next(make).buffer) << "asked again after a failure";
    EXPECT_TRUE(buffers.empty());

    canMake = true;
    const auto first = buffers.next(make);
    ASSERT_TRUE(first.buffer && first.made);
    EXPECT_EQ(first.buffer, buffers.next(make).buffer) << "the free one again";
    EXPECT_EQ(3, made) << "a second made while the first is free";

    first.buffer->held_ = true;
    const auto second = buffers.next(make);
    ASSERT_NE(nullptr, second.buffer);
    EXPECT_NE(first.buffer, second.buffer) << "the held one chosen";
    EXPECT_EQ(1u, second.index);

    second.buffer->held_ = true;
    EXPECT_FALSE(buffers.available());
    EXPECT_EQ(nullptr, buffers.next(make).buffer) << "a held one chosen, or a third made";
    EXPECT_EQ(4, made);

    first.buffer->held_ = false;
    EXPECT_TRUE(buffers.available());
    const auto released = buffers.next(make);
    EXPECT_TRUE(released.buffer == first.buffer && !released.made && released.index == 0) << "not the released one";
}

}  // namespace
