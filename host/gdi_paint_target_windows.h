// The painter's target in the saver: each tick is drawn into the window's
// back buffer and then shown at once, the changed parts copied to the
// window's device context in a few rectangles.
#pragma once

#include <windows.h>

#include <optional>

#include "display/colour_target.h"
#include "display/paint_target.h"
#include "host/back_buffer_windows.h"

// A window's client size (its client rectangle starts at 0, 0); 0 x 0 if it
// cannot be read.
ClientSize ClientSizeOf(HWND window);

// The answer to WM_ERASEBKGND: the whole client area black on the given DC.
void FillClientBlack(HWND window, HDC dc);

class GdiPaintTarget final : public PaintTarget {
public:
    // Brackets one tick of one picture. Copies come from the buffer's
    // sprites (skipped when it has none) and all drawing goes into buffer,
    // which the caller has locked; endTick shows what changed on paintDC
    // and says whether anything did.
    void beginTick(HDC paintDC, BackBuffer& buffer);
    bool endTick();

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    // The size of the picture the current tick draws into.
    ClientSize clientSize() override;

private:
    HDC paintDC_ = nullptr;
    BackBuffer* buffer_ = nullptr;
    std::optional<ColourTarget> picture_;
};
