// The picture the saver window shows, kept in memory. Each tick is drawn
// into an 8-bit frame of the sheet's colour indices; what changed is then
// turned into the screen's 32-bit colours in a DIB section and copied to the
// window from there (under Wine, GDI's own 8-to-32-bit conversion costs
// several times this conversion and the 32-bit copy together). WM_PAINT
// repaints from the DIB section on the window's thread while the ticks run
// on the animation thread: both hold the lock while they use the buffer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "display/changed_area.h"
#include "display/indexed_image.h"
#include "display/paint_target.h"

// Under Wine a window's drawing waits in memory until a thread of the
// program finds its message queue empty (or until drawing has gone on for
// a while); this hands it to the screen now. On Windows, where drawing
// reaches the screen as it is made, it does nothing.
void HandDrawingToScreen();

class BackBuffer {
public:
    BackBuffer();
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // A black picture of the client's size in the given colours (the
    // sheet's colour table; entry 0 is black, missing entries too). False
    // when GDI cannot make it: the buffer is then 0 x 0, and drawing into it
    // and showing it do nothing.
    bool create(ClientSize client, const std::vector<RGBQUAD>& colours);
    void destroy();

    IndexedImage& frame() { return frame_; }
    // Brings what changed in the frame to the window's DC and on to the
    // screen, converting the changes and copying them in the merged
    // rectangles. Returns when GDI has read what it needs, as repaint() does.
    void show(HDC dc, const ChangedArea& changed, long callCost);
    // Copies rect as last shown to dc again.
    void repaint(HDC dc, const PaintRect& rect) const;

    void lock() { EnterCriticalSection(&guard_); }
    void unlock() { LeaveCriticalSection(&guard_); }

private:
    // The frame's indices in rects become screen colours in the section.
    void convert(const std::vector<PaintRect>& rects);
    void copyTo(HDC dc, const PaintRect& rect) const;

    CRITICAL_SECTION guard_;
    IndexedImage frame_;
    uint32_t screenColours_[256] = {};  // 0x00RRGGBB for each index
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;  // what dc_ held before the bitmap
    uint32_t* shown_ = nullptr;   // the DIB section's pixels, top row first
};

// Holds a buffer's lock for a scope.
class BackBufferLock {
public:
    explicit BackBufferLock(BackBuffer& buffer) : buffer_(buffer) { buffer_.lock(); }
    ~BackBufferLock() { buffer_.unlock(); }
    BackBufferLock(const BackBufferLock&) = delete;
    BackBufferLock& operator=(const BackBufferLock&) = delete;

private:
    BackBuffer& buffer_;
};
