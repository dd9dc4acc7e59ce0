#include "icon_image.h"

#include <array>
#include <cstddef>

namespace {

// The standard 16-colour palette, as the .ico stores it (blue, green, red, 0).
constexpr std::array<std::array<uint8_t, 4>, 16> kVgaPalette{{
    {0x00, 0x00, 0x00, 0},
    {0x00, 0x00, 0x80, 0},
    {0x00, 0x80, 0x00, 0},
    {0x00, 0x80, 0x80, 0},
    {0x80, 0x00, 0x00, 0},
    {0x80, 0x00, 0x80, 0},
    {0x80, 0x80, 0x00, 0},
    {0x80, 0x80, 0x80, 0},
    {0xC0, 0xC0, 0xC0, 0},
    {0x00, 0x00, 0xFF, 0},
    {0x00, 0xFF, 0x00, 0},
    {0x00, 0xFF, 0xFF, 0},
    {0xFF, 0x00, 0x00, 0},
    {0xFF, 0x00, 0xFF, 0},
    {0xFF, 0xFF, 0x00, 0},
    {0xFF, 0xFF, 0xFF, 0},
}};
constexpr uint8_t kWhite = 15;

struct GliderCell {
    int column, row;
    uint8_t bright, dark;  // palette indices: body and shaded edge
};

// A glider on a 3x3 grid of 10-pixel cells, one species colour per cell.
constexpr std::array<GliderCell, 5> kGlider{{
    {1, 0, 9, 1},   // red
    {2, 1, 11, 3},  // yellow
    {0, 2, 10, 2},  // green
    {1, 2, 14, 6},  // cyan
    {2, 2, 13, 5},  // magenta
}};
constexpr int kCellPitch = 10;
constexpr int kCellInset = 1;  // a black gap keeps neighbouring cells apart
constexpr int kGridOrigin = 1;

template <typename Paint>
void ForEachCellPixel(Paint paint) {
    for (const GliderCell& cell : kGlider) {
        const int left = kGridOrigin + cell.column * kCellPitch + kCellInset;
        const int top = kGridOrigin + cell.row * kCellPitch + kCellInset;
        const int side = kCellPitch - 2 * kCellInset;
        for (int dy = 0; dy < side; ++dy) {
            for (int dx = 0; dx < side; ++dx) {
                paint(cell, left + dx, top + dy, dx, dy, side);
            }
        }
    }
}

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// One icon image: BITMAPINFOHEADER (height doubled for the AND mask), the
// palette, the colour bits bottom-up, then an all-opaque AND mask.
std::vector<uint8_t> EncodeImage(const std::vector<uint8_t>& pixels, int bitsPerPixel) {
    const int colours = 1 << bitsPerPixel;
    const int xorStride = kIconSize * bitsPerPixel / 8;  // already a multiple of 4
    const int andStride = kIconSize / 8;
    std::vector<uint8_t> out;
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, kIconSize, 4);
    PutLittleEndian(out, kIconSize * 2, 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, static_cast<uint32_t>(bitsPerPixel), 2);
    PutLittleEndian(out, 0, 4);  // BI_RGB
    PutLittleEndian(out, static_cast<uint32_t>((xorStride + andStride) * kIconSize), 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    for (int i = 0; i < colours; ++i) {
        const auto& entry = bitsPerPixel == 1 ? kVgaPalette[i == 0 ? 0 : kWhite] : kVgaPalette[i];
        out.insert(out.end(), entry.begin(), entry.end());
    }
    for (int y = kIconSize - 1; y >= 0; --y) {
        for (int byte = 0; byte < xorStride; ++byte) {
            uint8_t packed = 0;
            const int perByte = 8 / bitsPerPixel;
            for (int k = 0; k < perByte; ++k) {
                const int x = byte * perByte + k;
                const int shift = 8 - bitsPerPixel * (k + 1);
                packed |= static_cast<uint8_t>(pixels[y * kIconSize + x] << shift);
            }
            out.push_back(packed);
        }
    }
    out.insert(out.end(), static_cast<size_t>(andStride * kIconSize), 0);
    return out;
}

}  // namespace

std::vector<uint8_t> DrawColourIcon() {
    std::vector<uint8_t> pixels(kIconSize * kIconSize, 0);
    ForEachCellPixel([&](const GliderCell& cell, int x, int y, int dx, int dy, int side) {
        // Lit from the top left: a white glint, bright body, dark lower-right rim.
        uint8_t colour = cell.bright;
        if (dx == side - 1 || dy == side - 1)
            colour = cell.dark;
        if (dx == 1 && dy == 1)
            colour = kWhite;
        pixels[y * kIconSize + x] = colour;
    });
    return pixels;
}

std::vector<uint8_t> DrawMonochromeIcon() {
    std::vector<uint8_t> pixels(kIconSize * kIconSize, 0);
    ForEachCellPixel([&](const GliderCell&, int x, int y, int dx, int dy, int side) {
        // White cells with a black rim on the lower right, as in the colour image.
        const bool rim = dx == side - 1 || dy == side - 1;
        pixels[y * kIconSize + x] = rim ? 0 : 1;
    });
    return pixels;
}

std::vector<uint8_t> BuildIconFile() {
    const std::vector<uint8_t> colour = EncodeImage(DrawColourIcon(), 4);
    const std::vector<uint8_t> mono = EncodeImage(DrawMonochromeIcon(), 1);
    std::vector<uint8_t> out;
    PutLittleEndian(out, 0, 2);  // reserved
    PutLittleEndian(out, 1, 2);  // icon
    PutLittleEndian(out, 2, 2);  // two images
    const uint32_t firstOffset = 6 + 2 * 16;
    const struct {
        const std::vector<uint8_t>& bytes;
        int colours, bits;
        uint32_t offset;
    } entries[] = {
        {colour, 16, 4, firstOffset},
        {mono, 2, 1, firstOffset + static_cast<uint32_t>(colour.size())},
    };
    for (const auto& entry : entries) {
        out.push_back(kIconSize);
        out.push_back(kIconSize);
        out.push_back(static_cast<uint8_t>(entry.colours));
        out.push_back(0);
        PutLittleEndian(out, 1, 2);  // planes
        PutLittleEndian(out, static_cast<uint32_t>(entry.bits), 2);
        PutLittleEndian(out, static_cast<uint32_t>(entry.bytes.size()), 4);
        PutLittleEndian(out, entry.offset, 4);
    }
    out.insert(out.end(), colour.begin(), colour.end());
    out.insert(out.end(), mono.begin(), mono.end());
    return out;
}
