// The picture the saver window shows, kept in memory: a 32-bit DIB section
// that each tick draws into straight from the sprite sheet in the same
// colours (converted once, when the buffer is made), so that what changed is
// copied to the window with no conversion on the way (under Wine, GDI's own
// 8-to-32-bit conversion costs several times the copy). WM_PAINT repaints
// from the DIB section on the window's thread while the ticks run on the
// animation thread: both hold the display's lock while they use the buffer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "display/changed_area.h"
#include "display/colour_target.h"
#include "display/paint_target.h"
#include "host/sheet_graphics_windows.h"

// Under Wine a window's drawing waits in memory until a thread of the
// program finds its message queue empty (or until drawing has gone on for
// a while); this hands it to the screen now. On Windows, where drawing
// reaches the screen as it is made, it does nothing.
void HandDrawingToScreen();

class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer() { destroy(); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // A black picture of the client's size, and the sheet's sprites in its
    // colour table's colours (missing entries black), to be copied with each
    // pixel scale x scale: enlarged as they are copied, never held enlarged,
    // so they are shared with `sharing` (this buffer itself included) when
    // that holds them, else made. False when GDI cannot make the picture: the
    // buffer is then 0 x 0, and drawing into it and showing it do nothing.
    bool create(ClientSize client, const SheetGraphics& sheet, int scale = 1, const BackBuffer* sharing = nullptr);
    void destroy();

    ColourView picture() const { return picture_; }
    ClientSize size() const { return {picture_.width, picture_.height}; }
    // What copies come from: null when there are no sprites. Copies name
    // it enlarged by spriteScale().
    const ColourImage* sprites() const { return sprites_ && sprites_->width > 0 ? sprites_.get() : nullptr; }
    int spriteScale() const { return spriteScale_; }
    // Where the picture's top left corner sits in the window (0, 0 unless
    // placed): show() and repaint() take picture coordinates.
    void placeAt(int left, int top) { origin_ = {left, top}; }
    // Brings what changed in the picture to the window's DC, copied in the
    // merged rectangles; HandDrawingToScreen then takes it on to the screen.
    // Returns when GDI has read what it needs, as repaint() does.
    void show(HDC dc, const ChangedArea& changed, long callCost);
    // Copies rect as last shown to dc again.
    void repaint(HDC dc, const PaintRect& rect) const;

private:
    void copyTo(HDC dc, const PaintRect& rect) const;

    std::shared_ptr<const ColourImage> sprites_;
    int spriteScale_ = 1;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;  // what dc_ held before the bitmap
    ColourView picture_;          // the DIB section's pixels
    POINT origin_{0, 0};
};
