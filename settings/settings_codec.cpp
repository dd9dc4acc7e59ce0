#include "settings/settings_codec.h"

#include <cstring>
#include <iterator>

#include "settings/settings.h"

namespace {

constexpr const char* kSpeedModeWords[] = {"Random", "Fixed"};
constexpr WordTest kSpeedModeTests[] = {{"FIXED", 1}};

constexpr const char* kOnOffRandomWords[] = {"Off", "On", "Random"};
constexpr WordTest kOnOffRandomTests[] = {{"ON", 1}, {"RANDOM", 2}};

constexpr const char* kCellSizeWords[] = {"Small", "Middle", "Big", "Random"};
constexpr WordTest kCellSizeTests[] = {{"BIG", 2}, {"SMALL", 0}, {"RANDOM", 3}};

constexpr const char* kSpeciesModeWords[] = {"1", "3", "6", "Random"};
constexpr WordTest kSpeciesModeTests[] = {{"3", 1}, {"6", 2}, {"RANDOM", 3}};

char FoldAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

const WordCodec kSpeedModeCodec{kSpeedModeWords, std::size(kSpeedModeWords), kSpeedModeTests,
                                std::size(kSpeedModeTests), static_cast<int32_t>(SpeedMode::Random)};
const WordCodec kOnOffRandomCodec{kOnOffRandomWords, std::size(kOnOffRandomWords), kOnOffRandomTests,
                                  std::size(kOnOffRandomTests), static_cast<int32_t>(OnOffRandom::Off)};
const WordCodec kCellSizeCodec{kCellSizeWords, std::size(kCellSizeWords), kCellSizeTests, std::size(kCellSizeTests),
                               static_cast<int32_t>(CellSize::Middle)};
const WordCodec kSpeciesModeCodec{kSpeciesModeWords, std::size(kSpeciesModeWords), kSpeciesModeTests,
                                  std::size(kSpeciesModeTests), static_cast<int32_t>(SpeciesMode::One)};

bool EqualsFoldingAsciiLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i]))
            return false;
    }
    return true;
}

std::string_view TextOfValueData(const uint8_t* data, size_t length) {
    if (length == 0)
        return {};
    const void* nul = std::memchr(data, 0, length);
    const size_t textLength = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data) : length;
    return {reinterpret_cast<const char*>(data), textLength};
}

int32_t DecodeWord(const WordCodec& codec, std::string_view text) {
    for (size_t i = 0; i < codec.testCount; ++i) {
        if (EqualsFoldingAsciiLetters(text, codec.tests[i].word))
            return codec.tests[i].value;
    }
    return codec.fallback;
}

const char* EncodeWord(const WordCodec& codec, int32_t value) {
    if (value < 0 || static_cast<size_t>(value) >= codec.wordCount)
        return nullptr;
    return codec.words[value];
}

uint32_t DecodeDword(const uint8_t bytes[kDwordReadCapacity]) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void EncodeDword(uint32_t value, uint8_t bytes[kDwordReadCapacity]) {
    for (size_t i = 0; i < kDwordReadCapacity; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}
