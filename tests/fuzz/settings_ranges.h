// Every loaded Settings record, whatever the store held, must use only the
// value numbers its enumerations have.
#pragma once

#include "fuzz_check.h"
#include "settings/settings.h"

inline void CheckInsideEnumerations(const Settings& s) {
    auto inside = [](auto field, int32_t count) {
        const int32_t number = static_cast<int32_t>(field);
        return number >= 0 && number < count;
    };
    FUZZ_CHECK(inside(s.FixedSpeed, 2));
    FUZZ_CHECK(s.Speed <= kFastestSpeed);
    FUZZ_CHECK(inside(s.Tovtov, 3));
    FUZZ_CHECK(inside(s.Size, 4));
    FUZZ_CHECK(inside(s.ConnectTBLR, 3));
    FUZZ_CHECK(inside(s.LifeGame, 3));
    FUZZ_CHECK(inside(s.Shrink, 3));
    FUZZ_CHECK(inside(s.Colors, 4));
}
