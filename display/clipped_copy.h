// The rectangle copy both in-memory targets make, whatever their pixel: the
// part of a width x height rectangle that lies inside both images, copied
// row by row. The enlarged form reads a source that stands for itself
// enlarged by scale, each pixel scale x scale.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>

// Rows of a cell are a few dozen pixels: moved in fixed-size pieces, which
// compile to plain moves, they cost less than a call to the C library (under
// Wine, a trip into msvcrt for each row). Longer rows, from an enlarged
// sheet or a clear, go to the library.
constexpr size_t kLibraryRow = 64;

template <typename Pixel>
void CopyRow(Pixel* to, const Pixel* from, size_t n) {
    if (n > kLibraryRow) {
        std::memcpy(to, from, n * sizeof *to);
        return;
    }
    constexpr size_t kPiece = sizeof(Pixel) >= 4 ? 4 : 8;  // pixels: 16 or 8 bytes
    for (; n >= kPiece; n -= kPiece, to += kPiece, from += kPiece) {
        std::memcpy(to, from, kPiece * sizeof *to);
    }
    if (n >= kPiece / 2) {
        std::memcpy(to, from, kPiece / 2 * sizeof *to);
        to += kPiece / 2;
        from += kPiece / 2;
        n -= kPiece / 2;
    }
    for (; n > 0; --n) {
        *to++ = *from++;
    }
}

struct PixelRows {
    int width;  // pixels a row, and the stride
    int height;
};

template <typename Pixel>
void CopyClipped(const Pixel* source, PixelRows sourceSize, Pixel* frame, PixelRows frameSize, int srcX, int srcY,
                 int dstX, int dstY, int width, int height) {
    // Offsets into the rectangle that lie inside both images.
    const int firstX = std::max({0, -srcX, -dstX});
    const int firstY = std::max({0, -srcY, -dstY});
    const int endX = std::min({width, sourceSize.width - srcX, frameSize.width - dstX});
    const int endY = std::min({height, sourceSize.height - srcY, frameSize.height - dstY});
    if (firstX >= endX) {
        return;
    }
    const auto fromStride = static_cast<size_t>(sourceSize.width);
    const auto toStride = static_cast<size_t>(frameSize.width);
    const Pixel* from = source + static_cast<size_t>(srcY + firstY) * fromStride + srcX + firstX;
    Pixel* to = frame + static_cast<size_t>(dstY + firstY) * toStride + dstX + firstX;
    for (int j = firstY; j < endY; ++j, from += fromStride, to += toStride) {
        CopyRow(to, from, static_cast<size_t>(endX - firstX));
    }
}

// count pixels of a row enlarged by scale, from the one `phase` pixels into
// the enlargement of from[0], each through convert. Counted, not divided:
// a division a pixel costs more than the copy.
template <typename To, typename From, typename Convert>
void EnlargeRow(To* to, const From* from, size_t count, int scale, int phase, Convert convert) {
    for (To* const end = to + count; to < end; ++from, phase = 0) {
        const To pixel = convert(*from);
        for (int k = phase; k < scale && to < end; ++k) {
            *to++ = pixel;
        }
    }
}

template <typename Pixel>
void CopyClippedEnlarged(const Pixel* source, PixelRows sourceSize, int scale, Pixel* frame, PixelRows frameSize,
                         int srcX, int srcY, int dstX, int dstY, int width, int height) {
    if (scale == 1) {
        CopyClipped(source, sourceSize, frame, frameSize, srcX, srcY, dstX, dstY, width, height);
        return;
    }
    const int firstX = std::max({0, -srcX, -dstX});
    const int firstY = std::max({0, -srcY, -dstY});
    const int endX = std::min({width, sourceSize.width * scale - srcX, frameSize.width - dstX});
    const int endY = std::min({height, sourceSize.height * scale - srcY, frameSize.height - dstY});
    if (firstX >= endX) {
        return;
    }
    const auto toStride = static_cast<size_t>(frameSize.width);
    const auto count = static_cast<size_t>(endX - firstX);
    Pixel* to = frame + static_cast<size_t>(dstY + firstY) * toStride + dstX + firstX;
    for (int j = firstY; j < endY; ++j, to += toStride) {
        const int y = srcY + j;
        if (j > firstY && y % scale != 0) {
            CopyRow(to, to - toStride, count);  // the same source row as the row above
            continue;
        }
        const int x = srcX + firstX;
        EnlargeRow(to, source + static_cast<size_t>(y / scale) * static_cast<size_t>(sourceSize.width) + x / scale,
                   count, scale, x % scale, [](Pixel pixel) { return pixel; });
    }
}
