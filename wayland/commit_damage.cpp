#include "wayland/commit_damage.h"

std::vector<PaintRect> CommitDamage(const ChangedArea& changed) {
    // At a cost of the whole picture every rectangle joins the one before:
    // one is left, so this ends.
    long callCost = kShowCallCost;
    std::vector<PaintRect> damage = changed.merged(callCost);
    while (damage.size() > kMostDamageRects) {
        callCost *= 4;
        damage = changed.merged(callCost);
    }
    return damage;
}
