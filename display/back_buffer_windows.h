// The picture the saver window shows, kept in memory: an 8-bit DIB section in
// the sheet's colours, selected into a memory DC of its own. The ticking
// thread draws each tick into it and then copies what changed to the window;
// WM_PAINT copies from it on the window's thread. Both hold the lock while
// they use it.
#pragma once

#include <windows.h>

#include <vector>

#include "display/indexed_image.h"
#include "display/paint_target.h"

class BackBuffer {
public:
    BackBuffer();
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // A black picture of the client's size in the given colours (entry 0
    // black). False when GDI cannot make it; the buffer is empty then, and
    // drawing into it and showing it do nothing.
    bool create(ClientSize client, const std::vector<RGBQUAD>& colours);
    void destroy();

    IndexedRows rows() const { return rows_; }
    // Copies each rectangle of the picture to the same place on dc, and
    // waits until GDI has read it, so the next tick may draw into the bits.
    void show(HDC dc, const std::vector<PaintRect>& rects) const;

    void lock() { EnterCriticalSection(&guard_); }
    void unlock() { LeaveCriticalSection(&guard_); }

private:
    CRITICAL_SECTION guard_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;  // what dc_ held before the bitmap
    IndexedRows rows_;
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
