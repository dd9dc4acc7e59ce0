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
    for (int y = changed.top; y < changed.bottom; ++y) {
        const size_t at = static_cast<size_t>(y) * frame.width + changed.left;
        std::memcpy(shown_.pixels.data() + at, frame.pixels.data() + at, changed.right - changed.left);
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
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = clock_.delayFor(pendingMs_);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_OK ||
        EGifPutImageDesc(gif_, left_, top_, width_, height_, false, nullptr) != GIF_OK) {
        failed_ = true;
        return false;
    }
    row_.resize(static_cast<size_t>(width_));
    for (int y = top_; y < top_ + height_ && !failed_; ++y) {
        // giflib takes the row as writable memory.
        std::memcpy(row_.data(), shown_.pixels.data() + static_cast<size_t>(y) * shown_.width + left_, row_.size());
        failed_ = EGifPutLine(gif_, row_.data(), width_) != GIF_OK;
    }
    ++framesWritten_;
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
