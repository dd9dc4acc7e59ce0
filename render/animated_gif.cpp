#include "render/animated_gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr uint16_t kShortestDelay = 2;
constexpr uint16_t kLongestDelay = 65535;

struct ChangedRect {
    int left, top, right, bottom;  // right and bottom exclusive
    bool empty() const { return left >= right; }
};

// The bounding rectangle of the pixels in which two same-sized images differ.
ChangedRect Difference(const IndexedImage& a, const IndexedImage& b) {
    const size_t width = static_cast<size_t>(a.width);
    auto row = [&](const IndexedImage& image, int y) { return image.pixels.data() + width * y; };
    int top = 0;
    while (top < a.height && std::memcmp(row(a, top), row(b, top), width) == 0)
        ++top;
    if (top == a.height)
        return {0, 0, 0, 0};
    int bottom = a.height;
    while (std::memcmp(row(a, bottom - 1), row(b, bottom - 1), width) == 0)
        --bottom;
    int left = a.width;
    int right = 0;
    for (int y = top; y < bottom; ++y) {
        const uint8_t* p = row(a, y);
        const uint8_t* q = row(b, y);
        int x = 0;
        while (x < left && p[x] == q[x])
            ++x;
        left = std::min(left, x);
        int end = a.width;
        while (end > right && p[end - 1] == q[end - 1])
            --end;
        right = std::max(right, end);
    }
    return {left, top, right, bottom};
}

// Eight pixels at a time, a byte each (a frame is millions of pixels), the
// first in the lowest byte.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixels are read as little-endian words");
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
constexpr uint64_t kHigh = 0x8080808080808080ull;
constexpr uint64_t kOnes = 0x0101010101010101ull;

uint64_t Load(const uint8_t* at) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The high bit of each byte of word that is not zero.
uint64_t NonZeroBytes(uint64_t word) { return (((word & kLow7) + kLow7) | word) & kHigh; }

// How many of the eight pixels differ from the one before each (`previous`
// being the one before the first).
int Changes(uint64_t pixels, uint8_t previous) {
    return __builtin_popcountll(NonZeroBytes(pixels ^ ((pixels << 8) | previous)));
}

// Whether a frame's pixels, where there is a picture already, are better
// written with each unchanged one as `transparent`, in `marked`. The value
// is one no changed pixel takes, the one most unchanged pixels hold (counted
// on every eighth), so that they share runs with the transparent ones.
// Better means fewer changes of value from one pixel to the next, a cheap
// measure of what LZW makes of them: on the README's animation it chooses
// within 0.1 % of encoding every frame both ways.
bool MarkUnchanged(const std::vector<uint8_t>& after, const std::vector<uint8_t>& before, std::vector<uint8_t>& marked,
                   uint8_t& transparent) {
    const size_t size = after.size();
    const size_t words = size / 8 * 8;
    bool changedTo[256] = {};
    size_t unchanged[256] = {};
    size_t afterChanges = 0;
    uint8_t previous = after.empty() ? 0 : after[0];
    for (size_t i = 0; i < words; i += 8) {
        const uint64_t pixels = Load(&after[i]);
        if ((pixels ^ Load(&before[i])) != 0) {
            for (int byte = 0; byte < 8; ++byte) {
                if (after[i + byte] != before[i + byte])
                    changedTo[after[i + byte]] = true;
            }
        }
        if (after[i] == before[i])
            ++unchanged[after[i]];
        afterChanges += static_cast<size_t>(Changes(pixels, previous));
        previous = after[i + 7];
    }
    for (size_t i = words; i < size; ++i) {
        if (after[i] != before[i])
            changedTo[after[i]] = true;
        afterChanges += after[i] != previous ? 1 : 0;
        previous = after[i];
    }
    int best = -1;
    for (int value = 0; value < 256; ++value) {
        if (!changedTo[value] && (best < 0 || unchanged[value] > unchanged[best]))
            best = value;
    }
    if (best < 0 || size == 0)
        return false;
    transparent = static_cast<uint8_t>(best);
    marked.resize(size);
    size_t markedChanges = 0;
    previous = after[0] == before[0] ? transparent : after[0];
    for (size_t i = 0; i < words; i += 8) {
        const uint64_t pixels = Load(&after[i]);
        const uint64_t same = (NonZeroBytes(pixels ^ Load(&before[i])) ^ kHigh) >> 7;
        const uint64_t keep = same * 0xFF;  // 0xFF in each unchanged pixel's byte
        const uint64_t value = (pixels & ~keep) | (transparent * kOnes & keep);
        std::memcpy(&marked[i], &value, sizeof value);
        markedChanges += static_cast<size_t>(Changes(value, previous));
        previous = marked[i + 7];
    }
    for (size_t i = words; i < size; ++i) {
        marked[i] = after[i] == before[i] ? transparent : after[i];
        markedChanges += marked[i] != previous ? 1 : 0;
        previous = marked[i];
    }
    return markedChanges < afterChanges;
}

}  // namespace

uint16_t GifDelayClock::delayFor(uint64_t frameMs) {
    elapsedMs_ += frameMs;
    const uint64_t due = (elapsedMs_ + 5) / 10;
    const uint64_t delay = due > written_ ? due - written_ : 0;
    const uint16_t kept = static_cast<uint16_t>(std::clamp<uint64_t>(delay, kShortestDelay, kLongestDelay));
    written_ += kept;
    return kept;
}

int AnimatedGif::write(GifFileType* gif, const unsigned char* data, int length) {
    auto* self = static_cast<AnimatedGif*>(gif->UserData);
    const size_t written = std::fwrite(data, 1, static_cast<size_t>(length), self->file_);
    if (written != static_cast<size_t>(length) && self->writeError_ == 0)
        self->writeError_ = errno;
    return static_cast<int>(written);
}

AnimatedGif::~AnimatedGif() {
    if (gif_)
        EGifCloseFile(gif_, nullptr);
}

bool AnimatedGif::open(FILE* file, int width, int height, const std::vector<RgbColor>& palette) {
    int error = 0;
    file_ = file;
    gif_ = EGifOpen(this, write, &error);
    if (!gif_)
        return false;
    EGifSetGifVersion(gif_, true);
    std::vector<GifColorType> colors(256, GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size() && i < colors.size(); ++i)
        colors[i] = GifColorType{palette[i].red, palette[i].green, palette[i].blue};
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colors.size()), colors.data());
    const bool described = map && EGifPutScreenDesc(gif_, width, height, 8, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    // The application extension that makes browsers loop the animation.
    const GifByteType loop[] = {1, 0, 0};
    failed_ = !described || EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
              EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") != GIF_OK ||
              EGifPutExtensionBlock(gif_, sizeof loop, loop) != GIF_OK || EGifPutExtensionTrailer(gif_) != GIF_OK;
    shown_ = IndexedImage(width, height);
    return !failed_;
}

bool AnimatedGif::picture(const IndexedImage& frame) {
    ChangedRect changed{0, 0, frame.width, frame.height};
    if (shownAny_) {
        changed = Difference(frame, shown_);
        if (changed.empty())
            return false;
        writePending();
    }
    const size_t width = static_cast<size_t>(changed.right - changed.left);
    after_.resize(width * static_cast<size_t>(changed.bottom - changed.top));
    before_.resize(shownAny_ ? after_.size() : 0);
    for (int y = changed.top; y < changed.bottom; ++y) {
        const size_t at = static_cast<size_t>(y) * frame.width + changed.left;
        const size_t row = static_cast<size_t>(y - changed.top) * width;
        if (shownAny_)
            std::memcpy(before_.data() + row, shown_.pixels.data() + at, width);
        std::memcpy(after_.data() + row, frame.pixels.data() + at, width);
        std::memcpy(shown_.pixels.data() + at, frame.pixels.data() + at, width);
    }
    shownAny_ = true;
    left_ = changed.left;
    top_ = changed.top;
    width_ = changed.right - changed.left;
    height_ = changed.bottom - changed.top;
    pendingMs_ = 0;
    return true;
}

void AnimatedGif::elapse(uint64_t ms) {
    if (shownAny_)
        pendingMs_ += ms;
}

bool AnimatedGif::writePending() {
    if (failed_)
        return false;
    // Unchanged pixels marked transparent mostly compress better, not always
    // (where the transparent value breaks runs of what was there).
    std::vector<uint8_t>* pixels = &after_;
    uint8_t transparent = 0;
    if (!before_.empty() && MarkUnchanged(after_, before_, marked_, transparent))
        pixels = &marked_;
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = clock_.delayFor(pendingMs_);
    control.TransparentColor = pixels == &marked_ ? transparent : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_OK ||
        EGifPutImageDesc(gif_, left_, top_, width_, height_, false, nullptr) != GIF_OK) {
        failed_ = true;
        return false;
    }
    for (int y = 0; y < height_ && !failed_; ++y)
        failed_ = EGifPutLine(gif_, pixels->data() + static_cast<size_t>(y) * width_, width_) != GIF_OK;
    ++framesWritten_;
    if (pixels == &marked_)
        ++transparentFrames_;
    return !failed_;
}

bool AnimatedGif::finish() {
    if (!gif_)
        return false;
    if (shownAny_)
        writePending();
    int error = 0;
    const bool closed = EGifCloseFile(gif_, &error) == GIF_OK;
    gif_ = nullptr;
    return closed && !failed_;
}
