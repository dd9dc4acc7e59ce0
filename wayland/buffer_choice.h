// The buffers of one layout, and which one a tick draws into: never one the
// compositor still holds. A compositor that copies a buffer releases it at
// once, and one buffer is all it takes; sway with its pixman renderer holds
// the one shown until the next commit, so there two take turns. A second is
// made only while the first is held. Portable (the buffer type only needs
// held()), so that tests can hold and release buffers in-process.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

template <typename Buffer>
class BufferChoice {
public:
    static constexpr size_t kMost = 2;

    struct Choice {
        Buffer* buffer;  // nullptr: none free, and none can be made
        size_t index;    // its number, for the repairs
        bool made;       // new: none of the picture is in it yet
    };

    // A new layout: every buffer goes.
    void clear() { buffers_.clear(); }
    bool empty() const { return buffers_.empty(); }

    // Whether next() can give one without waiting for a release.
    bool available() const {
        return buffers_.size() < kMost ||
               std::any_of(buffers_.begin(), buffers_.end(), [](const auto& buffer) { return !buffer->held(); });
    }

    // A buffer the compositor does not hold; else a new one from make()
    // (a std::unique_ptr<Buffer>, null when it cannot be made) while fewer
    // than kMost are there.
    template <typename Make>
    Choice next(Make&& make) {
        for (size_t i = 0; i < buffers_.size(); ++i) {
            if (!buffers_[i]->held()) {
                return {buffers_[i].get(), i, false};
            }
        }
        if (buffers_.size() >= kMost) {
            return {nullptr, 0, false};
        }
        buffers_.push_back(make());
        if (!buffers_.back()) {
            buffers_.pop_back();
            return {nullptr, 0, false};
        }
        return {buffers_.back().get(), buffers_.size() - 1, true};
    }

private:
    std::vector<std::unique_ptr<Buffer>> buffers_;
};
