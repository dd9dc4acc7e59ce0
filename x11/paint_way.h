// Which of two ways a tick's changed cells cost less to draw, program and X
// server together: one request a cell (XCopyArea from the sheet's pixmap, or
// XFillRectangle), or composed on our side into an image and sent as the few
// rectangles the cells tile. Portable: the X11 painter passes the figures.
#pragma once

#include <cstddef>

enum class PaintWay {
    Cells,     // one request a cell
    Composed,  // composed and sent as rectangles
};

struct TickShape {
    size_t cells;       // cells drawn, a repeated one counted each time
    long cellPixels;    // device pixels in one cell
    size_t rectangles;  // rectangles the changed cells tile
    long pixels;        // device pixels in those rectangles
};

PaintWay CheaperWay(const TickShape& tick);
