#include "render/trace_target.h"

#include <cerrno>
#include <charconv>
#include <cstring>

namespace {

// Lines are gathered and written in large blocks: a long run traces
// millions of operations.
constexpr size_t kFlushAt = 1 << 16;
constexpr size_t kLongestLine = 128;

}  // namespace

TraceTarget::TraceTarget(FILE* out, PaintTarget* next, ClientSize client)
    : out_(out), next_(next), client_(next ? next->clientSize() : client) {
    buffer_.reserve(kFlushAt + kLongestLine);
}

void TraceTarget::text(const char* text) { buffer_.insert(buffer_.end(), text, text + std::strlen(text)); }

void TraceTarget::number(int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    buffer_.insert(buffer_.end(), digits, result.ptr);
}

void TraceTarget::numbers(std::initializer_list<int> values) {
    for (int value : values) {
        buffer_.push_back(' ');
        number(value);
    }
}

void TraceTarget::begin(const char* operation) {
    number(tick_);
    buffer_.push_back(' ');
    text(operation);
}

void TraceTarget::finishLine() {
    buffer_.push_back('\n');
    if (buffer_.size() >= kFlushAt)
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
    if (!buffer_.empty() && !failed_ && std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
        failed_ = true;
        writeError_ = errno;
    }
    buffer_.clear();
    return !failed_;
}
