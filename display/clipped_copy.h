// The rectangle copy both in-memory targets make, whatever their pixel: the
// part of a width x height rectangle that lies inside both images, copied
// row by row. The enlarged form reads a source that stands for itself
// enlarged by scale, each pixel scale x scale.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Rows of a cell are a few dozen pixels: moved in fixed-size pieces, which
// compile to plain moves, they cost less than a call to the C library (under
// Wine, a trip into msvcrt for each row). Longer rows go to the library.
constexpr size_t kLibraryRow = 64;

constexpr bool kLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

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

// Pixels enlarged by a scale go to every device row of their source row at
// once: writing them again costs less than reading a row just written back,
// which waits for its stores whenever a read spans several of them.
struct EnlargedRows {
    size_t count;   // pixels a row
    int rows;       // rows alike, 1 to the scale
    size_t stride;  // pixels from one to the next
};

// value's first Bytes bytes (all of them for 0) in every row. Rows, when
// not 0, is rows.rows known to the compiler.
template <int Rows, size_t Bytes = 0, typename To, typename Value>
void StoreInRows(To* to, EnlargedRows rows, const Value& value) {
    const int count = Rows > 0 ? Rows : rows.rows;
    for (int r = 0; r < count; ++r, to += rows.stride) {
        std::memcpy(to, &value, Bytes > 0 ? Bytes : sizeof value);
    }
}

// Byte pixels from from[i] on, as many as a Word has bytes at a time
// while whole pixels last, each group as Scale words; to moves past them.
// The index of the pixel after them. Each word is spelt out: the compiler
// keeps a loop over its bytes a loop.
template <int Scale, int Rows, typename Word, typename To, typename From, typename Convert>
size_t EnlargeBytes(To*& to, EnlargedRows rows, const From* from, size_t whole, size_t i, Convert convert) {
    constexpr size_t kGroup = sizeof(Word);
    constexpr auto kRepeat = static_cast<Word>(0x01010101u >> (32 - 8 * Scale));
    for (; i + kGroup <= whole; i += kGroup, to += Scale * kGroup) {
        // A pixel's Scale bytes, from the first bit of a word.
        const auto s = [&](size_t k) {
            return static_cast<Word>(static_cast<uint8_t>(convert(from[i + k])) * kRepeat);
        };
        // Word w of the group to every row, as soon as it is made: an array
        // of them is read back across its stores, which waits.
        const auto put = [&](size_t w, Word word) { StoreInRows<Rows>(to + w * kGroup, rows, word); };
        if constexpr (Scale == 2 && kGroup == 8) {
            put(0, s(0) | s(1) << 16 | s(2) << 32 | s(3) << 48);
            put(1, s(4) | s(5) << 16 | s(6) << 32 | s(7) << 48);
        } else if constexpr (Scale == 2) {
            put(0, s(0) | s(1) << 16);
            put(1, s(2) | s(3) << 16);
        } else if constexpr (Scale == 3 && kGroup == 8) {
            put(0, s(0) | s(1) << 24 | s(2) << 48);
            put(1, s(2) >> 16 | s(3) << 8 | s(4) << 32 | s(5) << 56);
            put(2, s(5) >> 8 | s(6) << 16 | s(7) << 40);
        } else if constexpr (Scale == 3) {
            put(0, s(0) | s(1) << 24);
            put(1, s(1) >> 8 | s(2) << 16);
            put(2, s(2) >> 16 | s(3) << 8);
        } else if constexpr (kGroup == 8) {
            put(0, s(0) | s(1) << 32);
            put(1, s(2) | s(3) << 32);
            put(2, s(4) | s(5) << 32);
            put(3, s(6) | s(7) << 32);
        } else {
            put(0, s(0));
            put(1, s(1));
            put(2, s(2));
            put(3, s(3));
        }
    }
    return i;
}

// rows.count pixels enlarged by Scale, from the one `phase` pixels into the
// enlargement of from[0], each through convert, in every row of rows. The
// scale known to the compiler makes the pixels plain stores and the
// division a multiply.
template <int Scale, int Rows, typename To, typename From, typename Convert>
void EnlargeRowsBy(To* to, EnlargedRows rows, const From* from, int phase, Convert convert) {
    To* const end = to + rows.count;
    if (phase > 0) {  // the rest of from[0]'s enlargement
        const To pixel = convert(*from++);
        for (int k = phase; k < Scale && to < end; ++k, ++to) {
            StoreInRows<Rows>(to, rows, pixel);
        }
    }
    const size_t whole = static_cast<size_t>(end - to) / Scale;
    size_t i = 0;
    if constexpr (sizeof(To) == 1 && Scale >= 2 && Scale <= 4 && kLittleEndian) {
        i = EnlargeBytes<Scale, Rows, uint64_t>(to, rows, from, whole, i, convert);
        i = EnlargeBytes<Scale, Rows, uint32_t>(to, rows, from, whole, i, convert);
    }
    for (; i < whole; ++i, to += Scale) {
        if constexpr (sizeof(To) == 1 && Scale <= 4) {
            StoreInRows<Rows, Scale>(to, rows, static_cast<uint8_t>(convert(from[i])) * 0x01010101u);
        } else {
            // One store a row, of a power of 2 pixels (which the compiler
            // keeps in a register); beyond Scale they are the next pixel's,
            // which overwrites them.
            constexpr int kStored = Scale <= 2 ? Scale : Scale <= 4 ? 4 : 8;
            To pixels[kStored];
            std::fill(pixels, pixels + kStored, convert(from[i]));
            if (kStored == Scale || end - to >= kStored) {
                StoreInRows<Rows>(to, rows, pixels);
            } else {
                for (int k = 0; k < Scale; ++k) {
                    StoreInRows<Rows>(to + k, rows, pixels[0]);
                }
            }
        }
    }
    if (to < end) {  // the start of the last one's
        const To pixel = convert(from[whole]);
        for (; to < end; ++to) {
            StoreInRows<Rows>(to, rows, pixel);
        }
    }
}

// The same for any scale: up to kMaxDisplayScale's 4 (display_scale.h)
// through the above, beyond it counted, not divided.
template <typename To, typename From, typename Convert>
void EnlargeRows(To* to, EnlargedRows rows, const From* from, int scale, int phase, Convert convert) {
    // The whole height of a source row is the usual case.
    const bool all = rows.rows == scale;
    switch (scale) {
        case 1:
            return EnlargeRowsBy<1, 1>(to, rows, from, phase, convert);
        case 2:
            return all ? EnlargeRowsBy<2, 2>(to, rows, from, phase, convert)
                       : EnlargeRowsBy<2, 1>(to, rows, from, phase, convert);
        case 3:
            return all ? EnlargeRowsBy<3, 3>(to, rows, from, phase, convert)
                       : EnlargeRowsBy<3, 0>(to, rows, from, phase, convert);
        case 4:
            return all ? EnlargeRowsBy<4, 4>(to, rows, from, phase, convert)
                       : EnlargeRowsBy<4, 0>(to, rows, from, phase, convert);
        default:
            break;
    }
    for (To* const end = to + rows.count; to < end; ++from, phase = 0) {
        const To pixel = convert(*from);
        for (int k = phase; k < scale && to < end; ++k, ++to) {
            StoreInRows<0>(to, rows, pixel);
        }
    }
}

// count pixels of one row enlarged by scale, from the one `phase` pixels into
// the enlargement of from[0], each through convert.
template <typename To, typename From, typename Convert>
void EnlargeRow(To* to, const From* from, size_t count, int scale, int phase, Convert convert) {
    EnlargeRows(to, {count, 1, 0}, from, scale, phase, convert);
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
    Pixel* to = frame + static_cast<size_t>(dstY + firstY) * toStride + dstX + firstX;
    // Divided once a copy, then counted: a division a row costs about as
    // much as the row.
    const int x = srcX + firstX;
    const int phaseX = x % scale;
    const Pixel* from = source + static_cast<size_t>((srcY + firstY) / scale) * sourceSize.width + x / scale;
    int phaseY = (srcY + firstY) % scale;
    for (int j = firstY; j < endY; from += sourceSize.width, phaseY = 0) {
        const int rows = std::min(scale - phaseY, endY - j);
        EnlargeRows(to, {static_cast<size_t>(endX - firstX), rows, toStride}, from, scale, phaseX,
                    [](Pixel pixel) { return pixel; });
        j += rows;
        to += static_cast<size_t>(rows) * toStride;
    }
}
