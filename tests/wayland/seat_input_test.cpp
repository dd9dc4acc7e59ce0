// The Wayland saver's input rule fed with the seat's events in-process, as
// the compositor would send them: the 4-pixel move, buttons, keys, touch, a
// second surface, a pointer that goes and comes back, the hidden cursor.
#include "wayland/seat_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordedDevices final : public SeatDevices {
public:
    void usePointer(bool use) override { log.push_back(use ? "pointer" : "no pointer"); }
    void useKeyboard(bool use) override { log.push_back(use ? "keyboard" : "no keyboard"); }
    void useTouch(bool use) override { log.push_back(use ? "touch" : "no touch"); }
    void hideCursor(uint32_t serial) override { log.push_back("hide cursor " + std::to_string(serial)); }

    std::vector<std::string> log;
};

constexpr uintptr_t kFirst = 1;
constexpr uintptr_t kSecond = 2;

// From an entry at (10, 20) on the first surface, in 1/256 pixels.
struct Move {
    FixedPoint dx, dy;
    bool ends;
};

TEST(SeatInput, MoreThanFourPixelsFromTheEntryEnds) {
    const Move moves[] = {
        {FromPixels(4), 0, false},
        {0, FromPixels(-4), false},
        {FromPixels(2), FromPixels(-2), false},
        {FromPixels(-3), 255, false},
        {FromPixels(5), 0, true},
        {0, FromPixels(-5), true},
        {FromPixels(3), FromPixels(2), true},
        {FromPixels(4), 1, true},
        {FromPixels(-2), FromPixels(-3), true},
    };
    for (const Move& move : moves) {
        RecordedDevices devices;
        SeatInput input(devices, true);
        input.capabilities(true, false, false);
        input.pointerEnter(7, kFirst, FromPixels(10), FromPixels(20));
        input.pointerMotion(FromPixels(10) + move.dx, FromPixels(20) + move.dy);
        EXPECT_EQ(move.ends, input.ended()) << "moved by " << move.dx / 256.0 << ", " << move.dy / 256.0;
    }
}

// Each entry is one event; `ended` is what the rule says after it.
struct Step {
    const char* event;
    FixedPoint x, y;
    bool ended;
};

void Feed(SeatInput& input, const Step& step) {
    const std::string event = step.event;
    if (event == "enter first" || event == "enter second") {
        input.pointerEnter(static_cast<uint32_t>(step.x / 256), event == "enter first" ? kFirst : kSecond, step.x,
                           step.y);
    } else if (event == "motion") {
        input.pointerMotion(step.x, step.y);
    } else if (event == "press" || event == "release") {
        input.pointerButton(event == "press");
    } else if (event == "key down" || event == "key up") {
        input.key(event == "key down");
    } else if (event == "touch") {
        input.touchDown();
    } else if (event == "pointer gone") {
        input.capabilities(false, true, true);
    } else if (event == "pointer back") {
        input.capabilities(true, true, true);
    } else {
        FAIL() << "unknown event " << event;
    }
}

struct Script {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> calls;  // what the devices were asked, after the first capabilities
    bool fullScreen = true;
};

TEST(SeatInput, EndsOnTheEventsQuorbelScrEndsOn) {
    const Script scripts[] = {
        {"a button press ends, its release alone does not",
         {{"enter first", FromPixels(5), 0, false}, {"release", 0, 0, false}, {"press", 0, 0, true}},
         {"hide cursor 5"}},
        {"a key press ends; the release of a key held before does not",
         {{"key up", 0, 0, false}, {"key down", 0, 0, true}},
         {}},
        {"a touch ends", {{"touch", 0, 0, true}}, {}},
        {"an entry on the second surface counts from there",
         {{"enter first", FromPixels(100), FromPixels(100), false},
          {"motion", FromPixels(103), FromPixels(100), false},
          {"enter second", FromPixels(3), FromPixels(50), false},
          {"motion", FromPixels(7), FromPixels(50), false},
          {"motion", FromPixels(8), FromPixels(50), true}},
         {"hide cursor 100", "hide cursor 3"}},
        {"a pointer that goes and comes back is taken again and still counts from its first entry",
         {{"enter first", FromPixels(40), FromPixels(40), false},
          {"pointer gone", 0, 0, false},
          {"pointer back", 0, 0, false},
          {"enter first", FromPixels(42), FromPixels(42), false},
          {"motion", FromPixels(43), FromPixels(42), true}},
         {"hide cursor 40", "no pointer", "pointer", "hide cursor 42"}},
        {"a window is not ended by input",
         {{"enter first", FromPixels(1), 0, false},
          {"motion", FromPixels(300), FromPixels(200), false},
          {"press", 0, 0, false},
          {"key down", 0, 0, false},
          {"touch", 0, 0, false}},
         {"hide cursor 1"},
         false},
    };
    for (const Script& script : scripts) {
        RecordedDevices devices;
        SeatInput input(devices, script.fullScreen);
        input.capabilities(true, true, true);
        EXPECT_EQ((std::vector<std::string>{"pointer", "keyboard", "touch"}), devices.log) << script.name;
        devices.log.clear();
        for (size_t i = 0; i < script.steps.size(); ++i) {
            Feed(input, script.steps[i]);
            EXPECT_EQ(script.steps[i].ended, input.ended()) << script.name << ", after step " << i;
        }
        EXPECT_EQ(script.calls, devices.log) << script.name;
    }
}

}  // namespace
