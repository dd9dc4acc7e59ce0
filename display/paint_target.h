// What the painter draws on: rectangle copies from the sprite sheet and
// black fills, plus the size of the whole drawing area. The saver draws on
// the window through GDI; tests draw into an in-memory frame.
#pragma once

struct PaintRect {
    int left;
    int top;
    int right;   // exclusive
    int bottom;  // exclusive
};

struct ClientSize {
    int width;
    int height;
};

// rect clipped to a client area starting at 0, 0; false when nothing is
// left of it.
inline bool ClipToClient(const PaintRect& rect, ClientSize client, PaintRect* clipped) {
    *clipped = {rect.left > 0 ? rect.left : 0, rect.top > 0 ? rect.top : 0,
                rect.right < client.width ? rect.right : client.width,
                rect.bottom < client.height ? rect.bottom : client.height};
    return clipped->left < clipped->right && clipped->top < clipped->bottom;
}

class PaintTarget {
public:
    // Copies width x height pixels unchanged from the sheet at (srcX, srcY)
    // to (dstX, dstY). Skipped when there is no sheet to copy from.
    virtual void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) = 0;
    virtual void fillBlack(const PaintRect& rect) = 0;
    virtual ClientSize clientSize() = 0;
    // The whole client area black, as each new world begins: a fill, kept
    // apart so that a target recording operations can tell it from a cell's
    // erase.
    virtual void clear(ClientSize client) { fillBlack({0, 0, client.width, client.height}); }

protected:
    ~PaintTarget() = default;
};
