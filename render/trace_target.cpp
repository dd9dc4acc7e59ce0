#include "render/trace_target.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace {

// Lines are formatted into one buffer and written in large blocks: a long
// run traces millions of operations. Room is checked once a line, for the
// longest line there is.
constexpr size_t kFlushAt = 1 << 16;
constexpr size_t kLongestLine = 128;

// " <value>" for every value a coordinate or size mostly takes, made once
// at compile time: a number is then one 8-byte copy.
constexpr int kTabled = 10000;
struct BlankDecimal {
    char text[7];  // the blank and up to 4 digits; the rest unused
    uint8_t length;
};
constexpr std::array<BlankDecimal, kTabled> MakeBlankDecimals() {
    std::array<BlankDecimal, kTabled> table{};
    for (int value = 0; value < kTabled; ++value) {
        BlankDecimal& entry = table[value];
        const int digits = value < 10 ? 1 : value < 100 ? 2 : value < 1000 ? 3 : 4;
        entry.text[0] = ' ';
        for (int i = digits, rest = value; i > 0; --i, rest /= 10)
            entry.text[i] = static_cast<char>('0' + rest % 10);
        entry.length = static_cast<uint8_t>(digits + 1);
    }
    return table;
}
constexpr std::array<BlankDecimal, kTabled> kBlankDecimals = MakeBlankDecimals();

// " <value>" at `at` (with room for 8 bytes more); the end.
inline char* BlankAndDecimal(char* at, int value) {
    if (value < 0 || value >= kTabled) {
        *at = ' ';
        return std::to_chars(at + 1, at + 24, value).ptr;
    }
    const BlankDecimal& entry = kBlankDecimals[static_cast<size_t>(value)];
    std::memcpy(at, &entry, sizeof entry);
    return at + entry.length;
}

}  // namespace

TraceTarget::TraceTarget(FILE* out, PaintTarget* next, ClientSize client)
    : out_(out), next_(next), client_(next ? next->clientSize() : client), buffer_(kFlushAt + kLongestLine) {
    startTick(0);
}

void TraceTarget::startTick(uint32_t tick) {
    char* end = std::to_chars(prefix_, prefix_ + sizeof prefix_ - 1, tick).ptr;
    *end++ = ' ';
    prefixLength_ = static_cast<size_t>(end - prefix_);
}

void TraceTarget::number(int64_t value) {
    char* at = buffer_.data() + used_;
    used_ = static_cast<size_t>(std::to_chars(at, at + 24, value).ptr - buffer_.data());
}

void TraceTarget::numbers(std::initializer_list<int> values) {
    char* at = buffer_.data() + used_;
    for (int value : values) {
        at = BlankAndDecimal(at, value);
    }
    used_ = static_cast<size_t>(at - buffer_.data());
}

void TraceTarget::finishLine() {
    buffer_[used_++] = '\n';
    if (used_ >= kFlushAt)
        flush();
}

void TraceTarget::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    begin("copy");
    numbers({srcX, srcY, dstX, dstY, width, height});
    finishLine();
    if (next_)
        next_->copy(srcX, srcY, dstX, dstY, width, height);
}

void TraceTarget::fillBlack(const PaintRect& rect) {
    begin("erase");
    numbers({rect.left, rect.top, rect.right, rect.bottom});
    finishLine();
    if (next_)
        next_->fillBlack(rect);
}

void TraceTarget::clear(ClientSize client) {
    begin("clear");
    numbers({client.width, client.height});
    finishLine();
    if (next_)
        next_->clear(client);
}

void TraceTarget::endTick(size_t population, uint32_t randomState, uint16_t delay) {
    begin("end population=");
    number(static_cast<int64_t>(population));
    text(" random=");
    number(randomState);
    text(" delay=");
    number(delay);
    finishLine();
}

bool TraceTarget::flush() {
    if (used_ > 0 && !failed_ && std::fwrite(buffer_.data(), 1, used_, out_) != used_) {
        failed_ = true;
        writeError_ = errno;
    }
    used_ = 0;
    return !failed_;
}
