// What a second buffer must be given before it is drawn into: every change
// drawn since it was last shown, and the whole picture when it is new or
// has been held for long.
#include "wayland/buffer_repairs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const std::vector<PaintRect>& rects) {
    std::string text;
    for (const PaintRect& r : rects) {
        text += (text.empty() ? "" : " ") + std::to_string(r.left) + "," + std::to_string(r.top) + "-" +
                std::to_string(r.right) + "," + std::to_string(r.bottom);
    }
    return text;
}

TEST(BufferRepairs, ABufferLacksWhatWasDrawnElsewhereSinceItWasShown) {
    BufferRepairs repairs({100, 50});
    const size_t first = repairs.addBuffer();
    EXPECT_EQ("0,0-100,50", Text(repairs.take(first))) << "a new buffer lacks the whole picture";
    repairs.drawn(first, {{0, 0, 10, 10}});
    const size_t second = repairs.addBuffer();
    repairs.drawn(first, {{20, 20, 30, 30}});
    EXPECT_EQ("0,0-100,50", Text(repairs.take(second))) << "whatever was drawn since it was made";
    repairs.drawn(second, {{1, 2, 3, 4}, {5, 6, 7, 8}});
    repairs.drawn(second, {{40, 0, 50, 10}});
    EXPECT_EQ("1,2-3,4 5,6-7,8 40,0-50,10", Text(repairs.take(first)));
    EXPECT_EQ("", Text(repairs.take(first))) << "taken once";
    EXPECT_EQ("", Text(repairs.take(second))) << "its own drawing is in it";
}

TEST(BufferRepairs, ALongHeldBufferGetsTheWholePicture) {
    BufferRepairs repairs({64, 64});
    const size_t first = repairs.addBuffer();
    const size_t second = repairs.addBuffer();
    repairs.take(first);
    repairs.take(second);
    for (int tick = 0; tick <= (1 << 17); ++tick) {
        repairs.drawn(first, {{tick % 64, 0, tick % 64 + 1, 1}});
    }
    EXPECT_EQ("0,0-64,64", Text(repairs.take(second)));
}

}  // namespace
