// How many device pixels a sheet pixel becomes. The world and the painter
// work in logical pixels; a front end on a scaled display wraps its device
// target in a ScaledTarget, and the device target copies from the sheet
// enlarged by the same factor (nearest neighbour), so sprites stay sharp at
// any scale.
#pragma once

#include "display/paint_target.h"

constexpr int kMaxDisplayScale = 4;

// The scale for a display whose device pixels are `ratio` times as many as
// its nominal ones (a browser's devicePixelRatio; DPI / 96): the ratio to
// the nearest whole number, halves up, at least 1 and at most
// kMaxDisplayScale (1.25 gives 1; 1.5 to 2.49 give 2; 2.5 gives 3).
int ScaleForDeviceRatio(double ratio);

// The same for a display of dpi dots per inch, the ratio being dpi / 96
// (120 DPI gives 1; 144 to 239 give 2; 240 gives 3). Any int is taken,
// negative and huge ones as they come from the system unchecked.
int ScaleForDpi(int dpi);

// The logical client area of a device area: each side divided by scale,
// rounded down (the strips left over stay black).
ClientSize LogicalSize(ClientSize device, int scale);

// Forwards painting in logical pixels to a device target whose sheet is
// enlarged by scale: every coordinate and size times scale. A clear blacks
// the whole device area, strips included.
class ScaledTarget final : public PaintTarget {
public:
    ScaledTarget(PaintTarget& device, int scale) : device_(device), scale_(scale) {}

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override { return LogicalSize(device_.clientSize(), scale_); }
    void clear(ClientSize client) override;

private:
    PaintTarget& device_;
    int scale_;
};
