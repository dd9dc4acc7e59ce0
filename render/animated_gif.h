// A run as an animated GIF (giflib): the sheet's palette, one frame for each
// picture that differs from the one before, holding only the bounding
// rectangle of the change and drawn over what is there, its unchanged
// pixels transparent where that makes it smaller. A frame stays for the
// time given to it until the next different picture arrives.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "display/indexed_image.h"
#include "display/packed_dib.h"

struct GifFileType;

// GIF delays count hundredths of a second, and browsers stretch any under
// 2. Each frame gets the rounded time since the start less what was given
// before, so rounding never adds up; a frame that would get less than 2
// gets 2, and the frames after it give that back.
class GifDelayClock {
public:
    uint16_t delayFor(uint64_t frameMs);
    uint64_t writtenHundredths() const { return written_; }

private:
    uint64_t elapsedMs_ = 0;
    uint64_t written_ = 0;
};

class AnimatedGif {
public:
    AnimatedGif() = default;
    AnimatedGif(const AnimatedGif&) = delete;
    AnimatedGif& operator=(const AnimatedGif&) = delete;
    ~AnimatedGif();

    // Writes the header: width x height, the palette (up to 256 colours),
    // looping for ever.
    bool open(FILE* file, int width, int height, const std::vector<RgbColor>& palette);

    // The next picture. False when it equals the one shown: the time then
    // goes on to the frame before.
    bool picture(const IndexedImage& frame);
    // The frame last shown stays ms longer. Ignored before the first one.
    void elapse(uint64_t ms);
    bool hasFrames() const { return shownAny_; }

    // Writes the last frame and the trailer; false if any write failed.
    bool finish();

    size_t framesWritten() const { return framesWritten_; }
    // Of those, the frames written with their unchanged pixels transparent.
    size_t transparentFrames() const { return transparentFrames_; }
    // The errno of the first failed write, 0 if none failed that way.
    int writeError() const { return writeError_; }

private:
    static int write(GifFileType* gif, const unsigned char* data, int length);
    bool writePending();

    FILE* file_ = nullptr;
    int writeError_ = 0;
    GifFileType* gif_ = nullptr;
    bool failed_ = false;
    IndexedImage shown_;  // the picture as the frames so far build it
    bool shownAny_ = false;
    // The frame waiting for its delay: its rectangle, its pixels and what
    // was there before (nothing for the first frame).
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::vector<uint8_t> after_;
    std::vector<uint8_t> before_;
    std::vector<uint8_t> marked_;  // after_ with the unchanged pixels transparent
    uint64_t pendingMs_ = 0;
    GifDelayClock clock_;
    size_t framesWritten_ = 0;
    size_t transparentFrames_ = 0;
};
