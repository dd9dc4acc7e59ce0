// The program's one random source. Every probability in the saver is stated
// against draws of 0..32767.
//
// We carry the classic Microsoft C runtime generator ourselves instead of
// calling rand(): the Microsoft runtimes keep rand()'s state per thread, and
// this program draws on the window's thread at start-up and on the animation
// thread afterwards. Carrying it also makes a seeded run draw the same
// numbers on Linux and on Windows.
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
    int32_t draw() override {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int32_t>((state_ >> 16) & 0x7FFFu);
    }

private:
    uint32_t state_ = 1;
};

// Seeds the process's generator.
void SeedRandom(uint32_t seed);
// Seeds it with the current time in seconds.
void SeedRandomWithTime();
// One draw, 0..32767, from the source in force.
int32_t DrawRandom();

// Replaces the source in force (tests script their draws); nullptr restores
// the process's generator. Returns the previous source.
RandomSource* SetRandomSource(RandomSource* source);
