// The random sources. Every probability in the saver is stated against
// draws of 0..32767.
//
// We carry the classic Microsoft C runtime generator ourselves instead of
// calling rand(): the Microsoft runtimes keep rand()'s state per thread, and
// the Windows saver draws on the window's thread at start-up and on the
// animation thread afterwards. Carrying it also makes a seeded run draw the
// same numbers on Linux and on Windows. Each running saver owns one; tests
// hand out scripted draws through the same interface.
#pragma once

#include <cstdint>

constexpr int32_t kRandomMax = 32767;

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int32_t draw() = 0;  // 0..32767
};

// state = state * 214013 + 2531011 (mod 2^32); result = (state >> 16) & 0x7FFF
class CrtRandom final : public RandomSource {
public:
    void seed(uint32_t value) { state_ = value; }
    uint32_t state() const { return state_; }
    int32_t draw() override {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int32_t>((state_ >> 16) & 0x7FFFu);
    }

private:
    uint32_t state_ = 1;
};

// The current time in seconds, the seed of a saver not given one.
uint32_t ClockSeed();
