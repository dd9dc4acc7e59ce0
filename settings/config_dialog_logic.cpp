#include "settings/config_dialog_logic.h"

#include <array>

#include "resources/resource_ids.h"

namespace {

// Buttons in value order; the disabling value switches the dependents off.
constexpr std::array<ChoiceGroupLayout, kChoiceGroupCount> kLayouts{{
    {ChoiceGroup::SpeedMode,
     SettingId::FixedSpeed,
     2,
     {IDC_SPEED_RANDOM, IDC_SPEED_FIXED},
     3,
     {IDC_SPEED_SLOW_LABEL, IDC_SPEED_FAST_LABEL, IDC_SPEED_BAR},
     static_cast<int32_t>(SpeedMode::Random)},
    {ChoiceGroup::LifeGame,
     SettingId::LifeGame,
     3,
     {IDC_LIFEGAME_OFF, IDC_LIFEGAME_ON, IDC_LIFEGAME_RANDOM},
     4,
     {IDC_CONNECT_GROUP, IDC_CONNECT_ON, IDC_CONNECT_OFF, IDC_CONNECT_RANDOM},
     static_cast<int32_t>(OnOffRandom::Off)},
    {ChoiceGroup::Tovtov,
     SettingId::Tovtov,
     3,
     {IDC_TOVTOV_OFF, IDC_TOVTOV_ON, IDC_TOVTOV_RANDOM},
     4,
     {IDC_SHRINK_GROUP, IDC_SHRINK_ON, IDC_SHRINK_OFF, IDC_SHRINK_RANDOM},
     static_cast<int32_t>(OnOffRandom::Off)},
    {ChoiceGroup::Shrink, SettingId::Shrink, 3, {IDC_SHRINK_OFF, IDC_SHRINK_ON, IDC_SHRINK_RANDOM}, 0, {}, 0},
    {ChoiceGroup::Size, SettingId::Size, 4, {IDC_SIZE_SMALL, IDC_SIZE_MIDDLE, IDC_SIZE_BIG, IDC_SIZE_RANDOM}, 0, {}, 0},
    {ChoiceGroup::ConnectTBLR,
     SettingId::ConnectTBLR,
     3,
     {IDC_CONNECT_OFF, IDC_CONNECT_ON, IDC_CONNECT_RANDOM},
     0,
     {},
     0},
    {ChoiceGroup::Colors,
     SettingId::Colors,
     4,
     {IDC_COLORS_ONE, IDC_COLORS_THREE, IDC_COLORS_SIX, IDC_COLORS_RANDOM},
     0,
     {},
     0},
}};

}  // namespace

const ChoiceGroupLayout& LayoutOf(ChoiceGroup group) { return kLayouts[static_cast<size_t>(group)]; }

GroupView ShowGroup(ChoiceGroup group, int32_t value) {
    const ChoiceGroupLayout& layout = LayoutOf(group);
    GroupView view{};
    view.buttonCount = layout.buttonCount;
    for (int i = 0; i < layout.buttonCount; ++i) {
        view.buttons[i] = ButtonCheck{layout.buttons[i], i == value};
    }
    view.dependentCount = layout.dependentCount;
    for (int i = 0; i < layout.dependentCount; ++i)
        view.dependents[i] = layout.dependents[i];
    view.dependentsEnabled = value != layout.disablingValue;
    return view;
}

int32_t GroupValue(const Settings& settings, ChoiceGroup group) {
    return static_cast<int32_t>(DescriptionOf(LayoutOf(group).setting).get(settings));
}

void SetGroupValue(Settings& settings, ChoiceGroup group, int32_t value) {
    DescriptionOf(LayoutOf(group).setting).set(settings, static_cast<uint32_t>(value));
}

std::optional<RadioCommand> FindRadioCommand(uintptr_t wParam) {
    for (const ChoiceGroupLayout& layout : kLayouts) {
        for (int value = 0; value < layout.buttonCount; ++value) {
            if (wParam == static_cast<uintptr_t>(layout.buttons[value])) {
                return RadioCommand{layout.group, value};
            }
        }
    }
    return std::nullopt;
}

std::optional<int> NewSpeedPosition(int scrollCode, int thumbPosition, int currentPosition) {
    auto clamp = [](int position) {
        return position < kSpeedBarMin ? kSpeedBarMin : (position > kSpeedBarMax ? kSpeedBarMax : position);
    };
    switch (scrollCode) {
        case 0:
            return clamp(currentPosition - kSpeedLineStep);  // SB_LINELEFT
        case 1:
            return clamp(currentPosition + kSpeedLineStep);  // SB_LINERIGHT
        case 2:
            return clamp(currentPosition - kSpeedPageStep);  // SB_PAGELEFT
        case 3:
            return clamp(currentPosition + kSpeedPageStep);  // SB_PAGERIGHT
        case 5:
            return thumbPosition;  // SB_THUMBTRACK
        case 6:
            return kSpeedBarMin;  // SB_LEFT
        case 7:
            return kSpeedBarMax;  // SB_RIGHT
        default:
            return std::nullopt;  // SB_THUMBPOSITION, SB_ENDSCROLL, unknown
    }
}

bool PassesDigitFilter(uint32_t character) {
    const bool digit = character >= '0' && character <= '9';
    const bool control = character < 0x20 || character == 0x7F;
    return digit || control;
}

std::string FormatGenerations(uint32_t generations) { return std::to_string(static_cast<int32_t>(generations)); }

uint32_t ParseGenerations(const std::u16string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    if (i == text.size() || text[i] < u'0' || text[i] > u'9')
        return 0;
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + static_cast<uint64_t>(text[i] - u'0');
        if (value > UINT32_MAX)
            return 0;
    }
    return static_cast<uint32_t>(value);
}

ScreenPoint CenteredPosition(const ScreenRect& window, const ScreenRect& reference, int screenWidth, int screenHeight) {
    // One axis: C++ division truncates toward zero, as the placement requires.
    auto place = [](int referenceStart, int referenceSize, int size, int screenSize) {
        int position = referenceStart + (referenceSize - size) / 2;
        if (position < 0) {
            position = 0;
        } else if (position + size > screenSize) {
            position = screenSize - size;
        }
        return position;
    };
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    return ScreenPoint{place(reference.left, reference.right - reference.left, width, screenWidth),
                       place(reference.top, reference.bottom - reference.top, height, screenHeight)};
}
