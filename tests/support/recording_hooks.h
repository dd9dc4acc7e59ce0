// Records what the World asks of the display, in order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "world/cell.h"
#include "world/world_hooks.h"

class RecordingHooks final : public WorldHooks {
public:
    struct Call {
        char kind;  // 'L' live, 'D' dead, 'N' NewWorld, 'C' ClearScreen
        int x;
        int y;
        uint32_t history;
    };

    void PaintLiveCell(Cell& cell) override { calls.push_back({'L', cell.x, cell.y, cell.history}); }
    void PaintDeadCell(Cell& cell) override { calls.push_back({'D', cell.x, cell.y, cell.history}); }
    void NewWorld() override {
        calls.push_back({'N', 0, 0, 0});
        if (onNewWorld) {
            onNewWorld();
        }
    }
    void ClearScreen() override { calls.push_back({'C', 0, 0, 0}); }

    // "NC" when the step ended the world, "" otherwise.
    std::string endOfStep() const {
        std::string s;
        for (const Call& c : calls) {
            if (c.kind == 'N' || c.kind == 'C') {
                s += c.kind;
            }
        }
        return s;
    }
    int count(char kind) const {
        int n = 0;
        for (const Call& c : calls) {
            n += c.kind == kind;
        }
        return n;
    }

    std::vector<Call> calls;
    std::function<void()> onNewWorld;
};
