// How each setting is written to and read back from the per-user store:
// the words of the string-coded fields, their read tests, and the clamp of
// Speed. Knows nothing of where the bytes are kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Every written word is at most six characters, so six plus the NUL is the
// most a string-coded value may hold; longer data is not read at all.
constexpr size_t kWordReadCapacity = 7;
constexpr size_t kDwordReadCapacity = 4;

struct WordTest {
    const char* word;
    int32_t value;
};

// One enumeration's encoding. Reading tries the tests in order and the first
// match wins; unrecognised text gives the fallback, which is not always the
// field's default.
struct WordCodec {
    const char* const* words;  // written word, indexed by value number
    size_t wordCount;
    const WordTest* tests;
    size_t testCount;
    int32_t fallback;
};

extern const WordCodec kSpeedModeCodec;    // FixedSpeed
extern const WordCodec kOnOffRandomCodec;  // Tovtov, ConnectTBLR, LifeGame, Shrink
extern const WordCodec kCellSizeCodec;     // Size
extern const WordCodec kSpeciesModeCodec;  // Colors

// Whole-string equality folding only A-Z onto a-z: no locale, no trimming.
bool EqualsFoldingAsciiLetters(std::string_view a, std::string_view b);

// The text held by a value's data: up to the first NUL, or all of the data
// when it has none.
std::string_view TextOfValueData(const uint8_t* data, size_t length);

int32_t DecodeWord(const WordCodec& codec, std::string_view text);

// The word for a value number, or nullptr for a number the enumeration does
// not have.
const char* EncodeWord(const WordCodec& codec, int32_t value);

// Registry DWORDs are little-endian whatever the host's byte order.
uint32_t DecodeDword(const uint8_t bytes[kDwordReadCapacity]);
void EncodeDword(uint32_t value, uint8_t bytes[kDwordReadCapacity]);
