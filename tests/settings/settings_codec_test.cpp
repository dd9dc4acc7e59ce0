#include <gtest/gtest.h>

#include <string>

#include "settings/settings.h"
#include "settings/settings_codec.h"

namespace {

int32_t Decode(const WordCodec& codec, const std::string& text) { return DecodeWord(codec, text); }

}  // namespace

TEST(SettingsCodec, ComparisonIsWholeStringAndFoldsOnlyAsciiLetters) {
    EXPECT_TRUE(EqualsFoldingAsciiLetters("FiXeD", "FIXED"));
    EXPECT_TRUE(EqualsFoldingAsciiLetters("", ""));
    EXPECT_FALSE(EqualsFoldingAsciiLetters("fixed ", "FIXED"));
    EXPECT_FALSE(EqualsFoldingAsciiLetters("fix", "FIXED"));
    EXPECT_FALSE(EqualsFoldingAsciiLetters("FIXED", "fix"));
    // '@' and '`' sit next to 'A' and 'a'; '[' and '{' next to 'Z' and 'z'.
    EXPECT_FALSE(EqualsFoldingAsciiLetters("@", "`"));
    EXPECT_FALSE(EqualsFoldingAsciiLetters("[", "{"));
    // Latin-1 capitals are not folded: 0xC9 and 0xE9 are É and é.
    EXPECT_FALSE(EqualsFoldingAsciiLetters("\xC9", "\xE9"));
}

TEST(SettingsCodec, FixedSpeedMatchesOnlyTheWholeWordFixed) {
    EXPECT_EQ(1, Decode(kSpeedModeCodec, "fixed"));
    EXPECT_EQ(1, Decode(kSpeedModeCodec, "FiXeD"));
    EXPECT_EQ(0, Decode(kSpeedModeCodec, "fixed "));
    EXPECT_EQ(0, Decode(kSpeedModeCodec, "Fast"));
    EXPECT_EQ(0, Decode(kSpeedModeCodec, "Random"));
    EXPECT_EQ(0, Decode(kSpeedModeCodec, ""));
}

TEST(SettingsCodec, OnOffRandomFallsBackToOff) {
    EXPECT_EQ(1, Decode(kOnOffRandomCodec, "on"));
    EXPECT_EQ(2, Decode(kOnOffRandomCodec, "rAnDoM"));
    EXPECT_EQ(0, Decode(kOnOffRandomCodec, "OFF"));
    EXPECT_EQ(0, Decode(kOnOffRandomCodec, "No"));
    EXPECT_EQ(0, Decode(kOnOffRandomCodec, "0"));
    EXPECT_EQ(0, Decode(kOnOffRandomCodec, "\x01"));
}

TEST(SettingsCodec, SizeFallsBackToMiddle) {
    EXPECT_EQ(2, Decode(kCellSizeCodec, "big"));
    EXPECT_EQ(0, Decode(kCellSizeCodec, "SMALL"));
    EXPECT_EQ(3, Decode(kCellSizeCodec, "Random"));
    EXPECT_EQ(1, Decode(kCellSizeCodec, "Medium"));
    EXPECT_EQ(1, Decode(kCellSizeCodec, ""));
    EXPECT_EQ(1, Decode(kCellSizeCodec, "middle"));
}

TEST(SettingsCodec, ColorsFallsBackToOneSpecies) {
    EXPECT_EQ(1, Decode(kSpeciesModeCodec, "3"));
    EXPECT_EQ(2, Decode(kSpeciesModeCodec, "6"));
    EXPECT_EQ(3, Decode(kSpeciesModeCodec, "RANDOM"));
    EXPECT_EQ(0, Decode(kSpeciesModeCodec, "2"));
    EXPECT_EQ(0, Decode(kSpeciesModeCodec, "1"));
    EXPECT_EQ(0, Decode(kSpeciesModeCodec, "36"));
}

TEST(SettingsCodec, EveryWrittenWordFitsTheReadCapacityAndReadsBack) {
    for (const WordCodec* codec : {&kSpeedModeCodec, &kOnOffRandomCodec, &kCellSizeCodec, &kSpeciesModeCodec}) {
        for (int32_t value = 0; value < static_cast<int32_t>(codec->wordCount); ++value) {
            const std::string word = EncodeWord(*codec, value);
            EXPECT_LE(word.size() + 1, kWordReadCapacity) << word;
            EXPECT_EQ(value, DecodeWord(*codec, word)) << word;
        }
    }
    EXPECT_STREQ("Middle", EncodeWord(kCellSizeCodec, 1));
    EXPECT_STREQ("6", EncodeWord(kSpeciesModeCodec, 2));
}

TEST(SettingsCodec, NumbersOutsideTheEnumerationHaveNoWord) {
    EXPECT_EQ(nullptr, EncodeWord(kSpeedModeCodec, 2));
    EXPECT_EQ(nullptr, EncodeWord(kOnOffRandomCodec, 3));
    EXPECT_EQ(nullptr, EncodeWord(kCellSizeCodec, -1));
    EXPECT_EQ(nullptr, EncodeWord(kSpeciesModeCodec, 4));
}

TEST(SettingsCodec, TextEndsAtTheFirstNulOrAtTheEndOfTheData) {
    const uint8_t withNul[] = {'O', 'n', 0, 'x', 'y'};
    EXPECT_EQ("On", TextOfValueData(withNul, sizeof withNul));
    const uint8_t withoutNul[] = {'B', 'i', 'g'};
    EXPECT_EQ("Big", TextOfValueData(withoutNul, sizeof withoutNul));
    EXPECT_EQ("Bi", TextOfValueData(withoutNul, 2));
    EXPECT_EQ("", TextOfValueData(withNul, 0));
    const uint8_t dwordOne[] = {1, 0, 0, 0};
    EXPECT_EQ("\x01", TextOfValueData(dwordOne, sizeof dwordOne));
}

TEST(SettingsCodec, SpeedIsClampedUnsignedAndDwordsAreLittleEndian) {
    EXPECT_EQ(0u, ClampSpeed(0));
    EXPECT_EQ(19u, ClampSpeed(19));
    EXPECT_EQ(19u, ClampSpeed(20));
    EXPECT_EQ(19u, ClampSpeed(25));
    EXPECT_EQ(19u, ClampSpeed(4294967295u));
    EXPECT_EQ(19u, ClampSpeed(0x80000000u));

    uint8_t bytes[kDwordReadCapacity];
    EncodeDword(0x12345678u, bytes);
    EXPECT_EQ(0x78, bytes[0]);
    EXPECT_EQ(0x56, bytes[1]);
    EXPECT_EQ(0x34, bytes[2]);
    EXPECT_EQ(0x12, bytes[3]);
    EXPECT_EQ(0x12345678u, DecodeDword(bytes));
}
