#include "display/rle8.h"

namespace {

constexpr uint8_t kEscape = 0;
constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;
constexpr int kMaxRun = 255;
// Absolute mode needs at least 3 pixels: counts 0-2 are the escape codes.
constexpr int kMinLiteral = 3;

int RunLength(const uint8_t* row, int from, int width) {
    int end = from + 1;
    while (end < width && end - from < kMaxRun && row[end] == row[from]) {
        ++end;
    }
    return end - from;
}

void EncodeRow(const uint8_t* row, int width, std::vector<uint8_t>& out) {
    int x = 0;
    while (x < width) {
        // Collect pixels that do not start a run of 3 or more into one literal.
        int literalEnd = x;
        while (literalEnd < width && literalEnd - x < kMaxRun && RunLength(row, literalEnd, width) < kMinLiteral) {
            literalEnd += RunLength(row, literalEnd, width);
        }
        if (literalEnd - x > kMaxRun) {
            literalEnd = x + kMaxRun;
        }
        int literal = literalEnd - x;
        if (literal >= kMinLiteral) {
            out.push_back(kEscape);
            out.push_back(static_cast<uint8_t>(literal));
            out.insert(out.end(), row + x, row + literalEnd);
            if (literal % 2 != 0) {
                out.push_back(0);  // absolute runs are padded to a 16-bit boundary
            }
            x = literalEnd;
            continue;
        }
        // One or two odd pixels are cheaper as short encoded runs; then the
        // run that stopped the literal (if any).
        int end = literalEnd < width ? literalEnd + RunLength(row, literalEnd, width) : literalEnd;
        while (x < end) {
            int run = RunLength(row, x, width);
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(row[x]);
            x += run;
        }
    }
}

}  // namespace

std::vector<uint8_t> EncodeRle8(const IndexedImage& image) {
    std::vector<uint8_t> out;
    for (int y = image.height - 1; y >= 0; --y) {
        EncodeRow(&image.pixels[static_cast<size_t>(y) * image.width], image.width, out);
        if (y > 0) {
            out.push_back(kEscape);
            out.push_back(kEndOfLine);
        }
    }
    out.push_back(kEscape);
    out.push_back(kEndOfBitmap);
    return out;
}

bool DecodeRle8(const uint8_t* data, size_t size, int width, int height, IndexedImage* image) {
    if (width <= 0 || height <= 0 || (data == nullptr && size > 0)) {
        return false;
    }
    IndexedImage decoded(width, height);
    // x, row count from the bottom-left corner as the data is stored.
    int x = 0;
    int row = 0;
    size_t pos = 0;
    auto put = [&](uint8_t value) {
        decoded.at(x, height - 1 - row) = value;
        ++x;
    };
    while (pos + 2 <= size) {
        uint8_t count = data[pos];
        uint8_t value = data[pos + 1];
        pos += 2;
        if (count != kEscape) {
            if (row >= height || x + count > width) {
                return false;
            }
            for (int i = 0; i < count; ++i) {
                put(value);
            }
            continue;
        }
        switch (value) {
            case kEndOfLine:
                if (row >= height) {
                    return false;
                }
                x = 0;
                ++row;
                break;
            case kEndOfBitmap:
                *image = std::move(decoded);
                return true;
            case kDelta: {
                if (pos + 2 > size) {
                    return false;
                }
                int dx = data[pos];
                int dy = data[pos + 1];
                pos += 2;
                // The position may reach the row's end or the image's top edge,
                // but the pixel checks above refuse any drawing there.
                if (x + dx > width || row + dy > height) {
                    return false;
                }
                x += dx;
                row += dy;
                break;
            }
            default: {  // absolute mode: value literal pixels, padded to 16 bits
                size_t padded = value + (value & 1u);
                if (size - pos < padded || row >= height || x + value > width) {
                    return false;
                }
                for (int i = 0; i < value; ++i) {
                    put(data[pos + i]);
                }
                pos += padded;
                break;
            }
        }
    }
    return false;  // ran out of data before the end-of-bitmap code
}
