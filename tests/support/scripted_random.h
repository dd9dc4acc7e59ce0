// A random source that hands out a script of draws and counts them, so tests
// can check the exact number and order of draws. Given a World, it becomes
// that world's source for its own lifetime and then gives the previous one
// back.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "world/random_source.h"
#include "world/world.h"

class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<int32_t> script = {}, int32_t fallback = -1)
        : script_(std::move(script)), fallback_(fallback) {}
    explicit ScriptedRandom(World& world, std::vector<int32_t> script = {}, int32_t fallback = -1)
        : ScriptedRandom(std::move(script), fallback) {
        world_ = &world;
        previous_ = &world.random();
        world.setRandom(*this);
    }
    ~ScriptedRandom() override {
        if (world_) {
            world_->setRandom(*previous_);
        }
    }
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    int32_t draw() override {
        ++draws_;
        if (next_ < script_.size()) {
            return script_[next_++];
        }
        if (fallback_ < 0) {
            ADD_FAILURE() << "unexpected draw number " << draws_ << " (script had " << script_.size() << ")";
            return 0;
        }
        return fallback_;
    }

    void push(std::vector<int32_t> more) { script_.insert(script_.end(), more.begin(), more.end()); }
    size_t draws() const { return draws_; }
    size_t unused() const { return script_.size() - next_; }

private:
    std::vector<int32_t> script_;
    int32_t fallback_;
    size_t next_ = 0;
    size_t draws_ = 0;
    World* world_ = nullptr;
    RandomSource* previous_ = nullptr;
};
