#include "x11/paint_way.h"

namespace {

// What drawing costs, program and X server together (CPU over 300 ticks on
// Xvfb with MIT-SHM, each way forced): a request that draws one cell and
// each pixel it copies; a composed rectangle sent, and a pixel composed and
// sent. Fitted to small wriggling cells at 1920x1080 (about 400 cells in 300
// rectangles a tick: 0.67 ms one by one, 1.2 ms composed) and 3840x2160
// with every cell changing (one rectangle; at scale 1, 36,864 cells: 12.5 ms
// one by one, 10.3 ms composed; at scale 2, 9,216 cells: 7.5 ms one by one).
constexpr double kCellRequestNs = 140;
constexpr double kCellPixelNs = 0.7;
constexpr double kRectangleNs = 2000;
constexpr double kPixelNs = 1.0;

}  // namespace

PaintWay CheaperWay(const TickShape& tick) {
    const double oneByOne = static_cast<double>(tick.cells) * (kCellRequestNs + kCellPixelNs * tick.cellPixels);
    const double composed =
        kRectangleNs * static_cast<double>(tick.rectangles) + kPixelNs * static_cast<double>(tick.pixels);
    return composed < oneByOne ? PaintWay::Composed : PaintWay::Cells;
}
