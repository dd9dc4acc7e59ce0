// What the configuration dialog decides, apart from the windows it shows:
// which button stands for which value, what a group's value checks and
// enables, the speed bar's arithmetic, the digit filter of the Generations
// box, and where a centred window goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings.h"
#include "settings/settings_table.h"

// The seven groups of radio buttons, one per string-coded setting.
enum class ChoiceGroup { SpeedMode, LifeGame, Tovtov, Shrink, Size, ConnectTBLR, Colors };

constexpr int kChoiceGroupCount = 7;
constexpr int kMaxGroupButtons = 4;
constexpr int kMaxDependents = 4;

// The group's buttons indexed by value, and the controls it enables.
struct ChoiceGroupLayout {
    ChoiceGroup group;
    SettingId setting;  // the field the group edits
    int buttonCount;
    int buttons[kMaxGroupButtons];  // buttons[value] is checked for that value
    int dependentCount;
    int dependents[kMaxDependents];  // enabled unless the value is the disabling one
    int32_t disablingValue;          // only meaningful when dependentCount > 0
};

const ChoiceGroupLayout& LayoutOf(ChoiceGroup group);

// What a show operation does to the dialog for one value.
struct ButtonCheck {
    int id;
    bool checked;
};
struct GroupView {
    int buttonCount;
    ButtonCheck buttons[kMaxGroupButtons];
    int dependentCount;
    int dependents[kMaxDependents];
    bool dependentsEnabled;
};
GroupView ShowGroup(ChoiceGroup group, int32_t value);

// The group's field in a Settings record, as its value number.
int32_t GroupValue(const Settings& settings, ChoiceGroup group);
void SetGroupValue(Settings& settings, ChoiceGroup group, int32_t value);

// A radio button's command: the whole WM_COMMAND wParam, so only a click
// (notification code 0) on one of the 22 radio ids matches.
struct RadioCommand {
    ChoiceGroup group;
    int32_t value;
};
std::optional<RadioCommand> FindRadioCommand(uintptr_t wParam);

// The speed bar: 0 slowest at the left, 19 fastest at the right.
constexpr int kSpeedBarMin = static_cast<int>(kSlowestSpeed);
constexpr int kSpeedBarMax = static_cast<int>(kFastestSpeed);
constexpr int kSpeedLineStep = 1;
constexpr int kSpeedPageStep = 2;
// The new position for a WM_HSCROLL, or nothing for a code that is not
// handled (thumb position, end scroll and unknown codes).
std::optional<int> NewSpeedPosition(int scrollCode, int thumbPosition, int currentPosition);

// The Generations box accepts ASCII digits and control characters
// (backspace, copy, cut, paste, undo); everything else is swallowed.
bool PassesDigitFilter(uint32_t character);

// Generations as the box shows it: signed decimal, so values from 2^31 up
// appear negative.
std::string FormatGenerations(uint32_t generations);
// The box's text as a count: leading blanks skipped, then decimal digits up
// to the first non-digit. No digits, or a number beyond 32 bits, gives 0.
uint32_t ParseGenerations(const std::u16string& text);

// Centring: rectangles in screen pixels, right and bottom exclusive.
struct ScreenRect {
    int left, top, right, bottom;
};
struct ScreenPoint {
    int x, y;
};
// The top-left corner that centres `window` over `reference`, kept inside
// a screen of screenWidth x screenHeight: a negative position becomes 0,
// and otherwise a window running past the far edge is pulled back to it.
ScreenPoint CenteredPosition(const ScreenRect& window, const ScreenRect& reference, int screenWidth, int screenHeight);
