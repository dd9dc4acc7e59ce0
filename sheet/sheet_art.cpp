// Every sprite is a shaded height field of one or two round lobes, lit from
// the upper left and supersampled 4 x 4.
// The maths uses only + - * /, sqrt and floor, which IEEE 754 defines exactly, so
// the sheet comes out byte for byte the same on every build.
#include "sheet/sheet_art.h"

#include <algorithm>
#include <cmath>

#include "display/packed_dib.h"
#include "display/rle8.h"
#include "display/sheet_geometry.h"
#include "sheet/sheet_palette.h"

namespace {

struct Vec3 {
    double x, y, z;
};

Vec3 Normalized(Vec3 v) {
    double len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / len, v.y / len, v.z / len};
}

double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double PowInt(double base, int exponent) {
    double result = 1;
    for (int i = 0; i < exponent; ++i) {
        result *= base;
    }
    return result;
}

// Light from the upper left and in front (y grows downward).
const Vec3 kLight = Normalized({-0.55, -0.7, 1.0});
const Vec3 kHalfway = Normalized({kLight.x, kLight.y, kLight.z + 1.0});
constexpr double kAmbient = 0.14;
constexpr int kShininess = 36;
constexpr int kSubsamples = 4;

// How bright a sprite is: `body` scales the diffuse shading, `shine` the
// highlight.
struct Look {
    double body;
    double shine;
};
constexpr Look kNewbornLook = {1.0, 0.95};
constexpr Look kBodyLook = {0.8, 0.6};
constexpr Look kMatureLook = {0.56, 0.35};
constexpr Look kOneSpeciesLook = {0.8, 0.6};

struct Lobe {
    double x, y;  // centre, relative to the square's centre
    double radius;
    double tone;  // brightness factor, blended like the height
};

// The body is a 2-D metaball: each lobe adds a smooth bump (1 - d^2/R^2)^2,
// zero with zero slope at R, so neighbouring lobes merge through a rounded
// neck with no seam. The outline is where the sum reaches kThreshold; R is
// chosen so that a lone lobe's outline is its radius.
constexpr double kThreshold = 0.25;
constexpr double kReach = 1.4142135623730951;  // R / radius = 1 / sqrt(1 - sqrt(kThreshold))

// Height of the body's surface at (u, v), 0 outside it. Scaled so that a
// lone lobe rises to its radius in the middle, close to a hemisphere.
double BodyHeight(const std::vector<Lobe>& lobes, double u, double v, double* tone = nullptr) {
    double field = 0;
    double weightedRadius = 0;
    double weightedTone = 0;
    for (const Lobe& lobe : lobes) {
        double dx = u - lobe.x;
        double dy = v - lobe.y;
        double reach = lobe.radius * kReach;
        double x = (dx * dx + dy * dy) / (reach * reach);
        if (x < 1) {
            double bump = (1 - x) * (1 - x);
            field += bump;
            weightedRadius += bump * lobe.radius;
            weightedTone += bump * lobe.tone;
        }
    }
    if (field <= kThreshold) {
        return 0;
    }
    // Where lobes overlap the field exceeds 1; it is eased so that the neck
    // swells a little instead of rising into a hump.
    if (tone != nullptr) {
        *tone = weightedTone / field;
    }
    double rise = (field - kThreshold) / (1 - kThreshold);
    double eased = 2 * rise / (1 + rise);
    return weightedRadius / field * std::sqrt(eased);
}

// Brightness of the body at one sample, 0 outside it. The normal comes from
// central differences of the height.
double SampleBrightness(const std::vector<Lobe>& lobes, const Look& look, double u, double v) {
    double tone = 0;
    if (BodyHeight(lobes, u, v, &tone) <= 0) {
        return 0;
    }
    constexpr double kStep = 0.05;
    double gx = (BodyHeight(lobes, u + kStep, v) - BodyHeight(lobes, u - kStep, v)) / (2 * kStep);
    double gy = (BodyHeight(lobes, u, v + kStep) - BodyHeight(lobes, u, v - kStep)) / (2 * kStep);
    Vec3 normal = Normalized({-gx, -gy, 1.0});
    double diffuse = std::max(Dot(normal, kLight), 0.0);
    double specular = PowInt(std::max(Dot(normal, kHalfway), 0.0), kShininess);
    return tone * (look.body * (kAmbient + (1 - kAmbient) * diffuse) + look.shine * specular);
}

// Ramp level for a brightness: 0..1 is the colour itself, above 1 the blend
// towards white. Level 0 is the black background.
int LevelFor(double brightness) {
    double level =
        brightness <= 1 ? brightness * kBodyLevels : kBodyLevels + (brightness - 1) * (kShadeLevels - kBodyLevels);
    return std::min(static_cast<int>(std::floor(level + 0.5)), kShadeLevels);
}

// Renders the lobes into a square sprite. The outermost ring of pixels stays
// black so that neighbouring cells never touch.
IndexedImage RenderSprite(int square, const std::vector<Lobe>& lobes, const Look& look, int hue) {
    IndexedImage sprite(square, square);
    double centre = square / 2.0;
    for (int y = 1; y < square - 1; ++y) {
        for (int x = 1; x < square - 1; ++x) {
            double sum = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    double u = x + (sx + 0.5) / kSubsamples - centre;
                    double v = y + (sy + 0.5) / kSubsamples - centre;
                    sum += SampleBrightness(lobes, look, u, v);
                }
            }
            int level = LevelFor(sum / (kSubsamples * kSubsamples));
            if (level > 0) {
                sprite.at(x, y) = ShadeIndex(hue, level);
            }
        }
    }
    return sprite;
}

// Frame f points the body at f * 45 degrees, clockwise on screen from the
// right; exact values so that quarter turns are exact.
void Direction(int frame, double* dx, double* dy) {
    const double s = std::sqrt(0.5);
    const double table[kWriggleFrames][2] = {{1, 0}, {s, s}, {0, 1}, {-s, s}, {-1, 0}, {-s, -s}, {0, -1}, {s, -s}};
    *dx = table[frame][0];
    *dy = table[frame][1];
}

// Lobe sizes and spacing per stretch stage, as fractions of the usable
// width (the square less its 1-pixel margins). The head is the larger lobe,
// so the eight frames read as one full turn. Head and tail reach equally far
// from the centre; at stage 2 they touch the margin.
struct Stretch {
    double lobes;     // head radius + tail radius
    double distance;  // between the lobe centres
};
constexpr Stretch kStretch[kStretchStages] = {{0.62, 0.20}, {0.59, 0.33}, {0.56, 0.44}};
constexpr double kHeadShare = 5.0 / 9.0;  // head : tail = 5 : 4
constexpr double kTailTone = 0.72;        // and the tail is darker

std::vector<Lobe> BodyLobes(int square, int frame, int stage) {
    double usable = square - 2;
    double sum = kStretch[stage].lobes * usable;
    double head = sum * kHeadShare;
    double tail = sum - head;
    double distance = kStretch[stage].distance * usable;
    double headOffset = (distance + tail - head) / 2;  // equal reach both ways
    double dx, dy;
    Direction(frame, &dx, &dy);
    return {{headOffset * dx, headOffset * dy, head, 1.0},
            {(headOffset - distance) * dx, (headOffset - distance) * dy, tail, kTailTone}};
}

// The grown ball of one-species worlds, drawn in another band's colour.
IndexedImage DrawOneSpeciesMatureSprite(int square, int hue) {
    return RenderSprite(square, {{0, 0, (square - 2) / 2.0, 1.0}}, kOneSpeciesLook, hue);
}

void Blit(const IndexedImage& sprite, IndexedImage& sheet, int left, int top) {
    for (int y = 0; y < sprite.height; ++y) {
        std::copy_n(&sprite.pixels[static_cast<size_t>(y) * sprite.width], sprite.width,
                    &sheet.pixels[static_cast<size_t>(top + y) * sheet.width + left]);
    }
}

}  // namespace

IndexedImage DrawWriggleSprite(int square, int frame, int stage, int hue) {
    return RenderSprite(square, BodyLobes(square, frame, stage), kBodyLook, hue);
}

IndexedImage DrawNewbornSprite(int square, bool smallerThanCell, int hue) {
    // With wriggle on, the newborn is about the size of the body's head.
    double radius = smallerThanCell ? 0.36 * (square - 2) : (square - 2) / 2.0;
    return RenderSprite(square, {{0, 0, radius, 1.0}}, kNewbornLook, hue);
}

IndexedImage DrawMatureSprite(int square, int hue) {
    return RenderSprite(square, {{0, 0, (square - 2) / 2.0, 1.0}}, kMatureLook, hue);
}

void DrawSheetGroup(IndexedImage& sheet, CellSize size) {
    const SpriteGroup& group = SpriteGroupFor(size);
    const int c = group.wriggleSize;
    const int d = group.plainSize;
    for (int band = 0; band < kBandCount; ++band) {
        int hue = band;
        int top = BandTop[band];
        for (int stage = 0; stage < kStretchStages; ++stage) {
            for (int frame = 0; frame < kWriggleFrames; ++frame) {
                Blit(DrawWriggleSprite(c, frame, stage, hue), sheet, frame * c, top + group.blockTop + stage * c);
            }
        }
        int x = group.singleColumn;
        Blit(DrawNewbornSprite(c, true, hue), sheet, x, top + group.newbornWriggleY);
        Blit(DrawNewbornSprite(d, false, hue), sheet, x, top + group.newbornPlainY);
        Blit(DrawOneSpeciesMatureSprite(d, kOneSpeciesMatureHue[band]), sheet, x, top + group.matureOneY);
        Blit(DrawMatureSprite(d, hue), sheet, x, top + group.matureOtherY);
    }
}

IndexedImage DrawSheet() {
    IndexedImage sheet(kSheetWidth, kSheetHeight);
    for (const CellSize size : {CellSize::Small, CellSize::Middle, CellSize::Big}) {
        DrawSheetGroup(sheet, size);
    }
    return sheet;
}

std::vector<uint8_t> BuildSheetDib() {
    DibHeader header;
    header.width = kSheetWidth;
    header.height = kSheetHeight;
    header.bitCount = 8;
    header.compression = kCompressionRle8;
    header.colorsUsed = 256;
    header.colorsImportant = 256;
    return BuildPackedDib(header, SheetPalette(), EncodeRle8(DrawSheet()));
}
