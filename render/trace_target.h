// The trace: one line per paint operation, in order, and one line closing
// each tick:
//
//   <tick> copy <srcX> <srcY> <dstX> <dstY> <w> <h>
//   <tick> erase <left> <top> <right> <bottom>
//   <tick> clear <width> <height>
//   <tick> end population=<live cells> random=<random state> delay=<ms>
//
// Integers only, so a seeded run gives the same bytes on every build. Each
// operation is passed on to the next target, if any, which draws it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "display/paint_target.h"

class TraceTarget final : public PaintTarget {
public:
    // next may be nullptr: nothing is drawn, and the client size is `client`.
    TraceTarget(FILE* out, PaintTarget* next, ClientSize client);

    void startTick(uint32_t tick);
    void endTick(size_t population, uint32_t randomState, uint16_t delay);

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    void clear(ClientSize client) override;
    ClientSize clientSize() override { return client_; }

    // Writes what is buffered; false once any write has failed.
    bool flush();
    bool failed() const { return failed_; }
    int writeError() const { return writeError_; }  // errno of the failed write

private:
    // "<tick> <operation>": copies of sizes known here, which compile to a
    // few moves (the buffer has room past the line for the whole prefix).
    template <size_t N>
    void begin(const char (&operation)[N]) {
        char* at = buffer_.data() + used_;
        std::memcpy(at, prefix_, sizeof prefix_);
        std::memcpy(at + prefixLength_, operation, N - 1);
        used_ += prefixLength_ + N - 1;
    }
    template <size_t N>
    void text(const char (&text)[N]) {
        std::memcpy(buffer_.data() + used_, text, N - 1);
        used_ += N - 1;
    }
    void number(int64_t value);
    void numbers(std::initializer_list<int> values);  // each after a blank
    void finishLine();

    FILE* out_;
    PaintTarget* next_;
    ClientSize client_;
    char prefix_[16] = {};  // the tick's number and a blank
    size_t prefixLength_ = 0;
    bool failed_ = false;
    int writeError_ = 0;
    std::vector<char> buffer_;  // sized once; used_ bytes wait to be written
    size_t used_ = 0;
};
