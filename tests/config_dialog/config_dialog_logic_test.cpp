// The dialog's decisions without the dialog: show rules and enabling, the
// radio command table, the speed bar arithmetic, the digit filter, the
// Generations text and the centring clamps.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <vector>

#include "resources/resource_ids.h"
#include "settings/config_dialog_logic.h"

namespace {

struct GroupExpectation {
    ChoiceGroup group;
    std::vector<int> buttonsByValue;
    std::vector<int> dependents;
    int32_t disablingValue;  // -1: the group enables nothing
};

const std::vector<GroupExpectation>& Expectations() {
    static const std::vector<GroupExpectation> table = {
        {ChoiceGroup::SpeedMode, {1017, 1016}, {1018, 1019, 101}, 0},
        {ChoiceGroup::LifeGame, {1014, 1013, 1015}, {1024, 1010, 1011, 1012}, 0},
        {ChoiceGroup::Tovtov, {1004, 1003, 1006}, {1023, 1020, 1021, 1022}, 0},
        {ChoiceGroup::Shrink, {1021, 1020, 1022}, {}, -1},
        {ChoiceGroup::Size, {1008, 1025, 1007, 1009}, {}, -1},
        {ChoiceGroup::ConnectTBLR, {1011, 1010, 1012}, {}, -1},
        {ChoiceGroup::Colors, {1026, 1027, 1029, 1028}, {}, -1},
    };
    return table;
}

// The record as its nine 32-bit words, in declaration order.
constexpr int kSettingsFields = 9;
constexpr uint32_t kMarker = 0x5A5A0000u;

std::array<uint32_t, kSettingsFields> FieldsOf(const Settings& settings) {
    std::array<uint32_t, kSettingsFields> fields{};
    std::memcpy(fields.data(), &settings, sizeof settings);
    return fields;
}

Settings MarkedSettings() {
    std::array<uint32_t, kSettingsFields> fields{};
    for (int i = 0; i < kSettingsFields; ++i)
        fields[i] = kMarker + static_cast<uint32_t>(i);
    Settings settings{};
    std::memcpy(&settings, fields.data(), sizeof settings);
    return settings;
}

// The word each group's field occupies.
int FieldOf(ChoiceGroup group) {
    size_t offset = 0;
    switch (group) {
        case ChoiceGroup::SpeedMode:
            offset = offsetof(Settings, FixedSpeed);
            break;
        case ChoiceGroup::LifeGame:
            offset = offsetof(Settings, LifeGame);
            break;
        case ChoiceGroup::Tovtov:
            offset = offsetof(Settings, Tovtov);
            break;
        case ChoiceGroup::Shrink:
            offset = offsetof(Settings, Shrink);
            break;
        case ChoiceGroup::Size:
            offset = offsetof(Settings, Size);
            break;
        case ChoiceGroup::ConnectTBLR:
            offset = offsetof(Settings, ConnectTBLR);
            break;
        case ChoiceGroup::Colors:
            offset = offsetof(Settings, Colors);
            break;
    }
    return static_cast<int>(offset / sizeof(uint32_t));
}

TEST(ShowGroup, ChecksExactlyTheButtonOfTheValueAndSetsTheDependents) {
    for (const GroupExpectation& expected : Expectations()) {
        const int values = static_cast<int>(expected.buttonsByValue.size());
        for (int32_t value = 0; value < values; ++value) {
            SCOPED_TRACE(testing::Message() << "group " << static_cast<int>(expected.group) << " value " << value);
            const GroupView view = ShowGroup(expected.group, value);
            ASSERT_EQ(view.buttonCount, values);
            for (int i = 0; i < values; ++i) {
                EXPECT_EQ(view.buttons[i].id, expected.buttonsByValue[i]);
                EXPECT_EQ(view.buttons[i].checked, i == value) << "button " << view.buttons[i].id;
            }
            ASSERT_EQ(view.dependentCount, static_cast<int>(expected.dependents.size()));
            for (int i = 0; i < view.dependentCount; ++i) {
                EXPECT_EQ(view.dependents[i], expected.dependents[i]);
            }
            if (!expected.dependents.empty()) {
                EXPECT_EQ(view.dependentsEnabled, value != expected.disablingValue);
            }
        }
    }
}

TEST(RadioCommand, EveryRadioIdSetsItsGroupValueAndNothingElse) {
    int radios = 0;
    for (const GroupExpectation& expected : Expectations()) {
        for (size_t value = 0; value < expected.buttonsByValue.size(); ++value) {
            const int id = expected.buttonsByValue[value];
            const auto command = FindRadioCommand(static_cast<uintptr_t>(id));
            ASSERT_TRUE(command.has_value()) << "id " << id;
            EXPECT_EQ(command->group, expected.group) << "id " << id;
            EXPECT_EQ(command->value, static_cast<int32_t>(value)) << "id " << id;

            // Applying it writes the group's own field and no other: every
            // field starts as a marker no radio button writes.
            Settings settings = MarkedSettings();
            SetGroupValue(settings, command->group, command->value);
            const std::array<uint32_t, kSettingsFields> after = FieldsOf(settings);
            for (int field = 0; field < kSettingsFields; ++field) {
                const uint32_t want = field == FieldOf(expected.group) ? static_cast<uint32_t>(command->value)
                                                                       : kMarker + static_cast<uint32_t>(field);
                EXPECT_EQ(after[field], want) << "id " << id << ", field " << field;
            }
            ++radios;
        }
    }
    EXPECT_EQ(radios, 22);
}

TEST(RadioCommand, OnlyAClickWithNotificationZeroMatches) {
    // A notification code in the high word makes the whole wParam differ.
    EXPECT_FALSE(FindRadioCommand((1u << 16) | IDC_LIFEGAME_OFF).has_value());
    EXPECT_FALSE(FindRadioCommand((5u << 16) | IDC_COLORS_SIX).has_value());
    for (int id : {1, 2, 101, 110, 111, 1005, 1018, 1019, 1023, 1024, 0xFFFF}) {
        EXPECT_FALSE(FindRadioCommand(static_cast<uintptr_t>(id)).has_value()) << id;
    }
}

TEST(GroupValue, ReadsEachStringCodedField) {
    Settings settings{SpeedMode::Random,
                      3,
                      OnOffRandom::Random,
                      CellSize::Big,
                      8,
                      OnOffRandom::On,
                      OnOffRandom::Off,
                      OnOffRandom::Random,
                      SpeciesMode::Six};
    EXPECT_EQ(GroupValue(settings, ChoiceGroup::SpeedMode), 0);
    EXPECT_EQ(GroupValue(settings, ChoiceGroup::Tovtov), 2);
    EXPECT_EQ(GroupValue(settings, ChoiceGroup::Size), 2);
    EXPECT_EQ(GroupValue(settings, ChoiceGroup::ConnectTBLR), 1);
    EXPECT_EQ(GroupValue(settings, ChoiceGroup::LifeGame), 0);
    EXPECT_EQ(GroupValue(settings, ChoiceGroup::Shrink), 2);
    EXPECT_EQ(GroupValue(settings, ChoiceGroup::Colors), 2);
}

TEST(SpeedBar, ScrollCodesMoveWithinTheRange) {
    constexpr int kLineLeft = 0, kLineRight = 1, kPageLeft = 2, kPageRight = 3;
    constexpr int kThumbPosition = 4, kThumbTrack = 5, kLeft = 6, kRight = 7, kEndScroll = 8;
    EXPECT_EQ(NewSpeedPosition(kPageRight, 0, 18), 19);
    EXPECT_EQ(NewSpeedPosition(kPageRight, 0, 5), 7);
    EXPECT_EQ(NewSpeedPosition(kPageLeft, 0, 1), 0);
    EXPECT_EQ(NewSpeedPosition(kPageLeft, 0, 5), 3);
    EXPECT_EQ(NewSpeedPosition(kLineLeft, 0, 0), 0);
    EXPECT_EQ(NewSpeedPosition(kLineLeft, 0, 5), 4);
    EXPECT_EQ(NewSpeedPosition(kLineRight, 0, 19), 19);
    EXPECT_EQ(NewSpeedPosition(kLineRight, 0, 5), 6);
    EXPECT_EQ(NewSpeedPosition(kThumbTrack, 12, 5), 12);
    EXPECT_EQ(NewSpeedPosition(kLeft, 0, 9), 0);
    EXPECT_EQ(NewSpeedPosition(kRight, 0, 9), 19);
    EXPECT_FALSE(NewSpeedPosition(kThumbPosition, 12, 5).has_value());
    EXPECT_FALSE(NewSpeedPosition(kEndScroll, 0, 5).has_value());
    EXPECT_FALSE(NewSpeedPosition(9, 0, 5).has_value());
    EXPECT_FALSE(NewSpeedPosition(-1, 0, 5).has_value());
}

TEST(DigitFilter, PassesDigitsAndControlCharactersOnly) {
    for (uint32_t c = 0; c < 256; ++c) {
        const bool expected = (c >= '0' && c <= '9') || c < 32 || c == 127;
        EXPECT_EQ(PassesDigitFilter(c), expected) << "character " << c;
    }
    EXPECT_FALSE(PassesDigitFilter(u'０'));  // full-width digit
    EXPECT_FALSE(PassesDigitFilter(u'ｱ'));
    EXPECT_FALSE(PassesDigitFilter(0x3042));
    EXPECT_TRUE(PassesDigitFilter(8));     // backspace
    EXPECT_TRUE(PassesDigitFilter(0x16));  // Ctrl+V
}

TEST(GenerationsText, ShowsSignedDecimal) {
    EXPECT_EQ(FormatGenerations(20), "20");
    EXPECT_EQ(FormatGenerations(0), "0");
    EXPECT_EQ(FormatGenerations(2147483647u), "2147483647");
    EXPECT_EQ(FormatGenerations(2147483648u), "-2147483648");
    EXPECT_EQ(FormatGenerations(4294967295u), "-1");
}

TEST(GenerationsText, ReadsUnsignedWithFailuresGivingZero) {
    EXPECT_EQ(ParseGenerations(u""), 0u);
    EXPECT_EQ(ParseGenerations(u"007"), 7u);
    EXPECT_EQ(ParseGenerations(u"20"), 20u);
    EXPECT_EQ(ParseGenerations(u"  12"), 12u);
    EXPECT_EQ(ParseGenerations(u"12ab"), 12u);
    EXPECT_EQ(ParseGenerations(u"-1"), 0u);
    EXPECT_EQ(ParseGenerations(u"+5"), 0u);
    EXPECT_EQ(ParseGenerations(u"abc"), 0u);
    EXPECT_EQ(ParseGenerations(u"4294967295"), 4294967295u);
    EXPECT_EQ(ParseGenerations(u"4294967296"), 0u);
    EXPECT_EQ(ParseGenerations(u"99999999999999999999999"), 0u);
}

TEST(Centring, CentresOverTheReference) {
    const ScreenPoint p = CenteredPosition({0, 0, 200, 100}, {100, 100, 500, 400}, 1024, 768);
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 200);
}

TEST(Centring, TruncatesTowardZero) {
    // (50 - 53) / 2 is -1, not -2.
    const ScreenPoint p = CenteredPosition({0, 0, 53, 53}, {300, 300, 350, 350}, 1024, 768);
    EXPECT_EQ(p.x, 299);
    EXPECT_EQ(p.y, 299);
}

TEST(Centring, ClampsToTheScreenEdges) {
    // Off the left and top: pinned to 0.
    ScreenPoint p = CenteredPosition({0, 0, 400, 300}, {-300, -200, 0, 0}, 1024, 768);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    // Past the right and bottom: pulled back so the far edge touches the screen's.
    p = CenteredPosition({0, 0, 400, 300}, {900, 700, 1100, 800}, 1024, 768);
    EXPECT_EQ(p.x, 1024 - 400);
    EXPECT_EQ(p.y, 768 - 300);
    // A reference that is the whole screen centres on it.
    p = CenteredPosition({10, 10, 410, 310}, {0, 0, 1024, 768}, 1024, 768);
    EXPECT_EQ(p.x, 312);
    EXPECT_EQ(p.y, 234);
    // A window wider than the screen, centred to a positive x, ends up at
    // SW - W: the far edge wins once the near edge was in range.
    p = CenteredPosition({0, 0, 1200, 100}, {200, 0, 1200, 100}, 1024, 768);
    EXPECT_EQ(p.x, 1024 - 1200);
}

}  // namespace

TEST(ChoiceGroupLayout, EachGroupHasOneButtonPerWordOfItsSetting) {
    for (int g = 0; g < kChoiceGroupCount; ++g) {
        const ChoiceGroupLayout& layout = LayoutOf(static_cast<ChoiceGroup>(g));
        const SettingDescription& setting = DescriptionOf(layout.setting);
        ASSERT_NE(setting.codec, nullptr) << setting.name;
        EXPECT_EQ(static_cast<size_t>(layout.buttonCount), setting.codec->wordCount) << setting.name;
    }
}
