// What the painter draws on in the X11 saver: the window, with the sprite
// sheet uploaded once as a pixmap on the server, enlarged by the scale there.
// No copy of the picture is kept: only which sprite each cell of the grid
// shows (two bytes a cell), from which exposed parts of the window are drawn
// again.
//
// The cell painter draws whole cells of one size on a grid from 0, 0, each
// at most once a tick, so a tick's cells can be drawn in any order. They are
// collected and sent at present() the cheaper of two ways (CheaperWay): one
// XCopyArea or XFillRectangle a cell, or composed here from the unenlarged
// sheet into a small buffer (MIT-SHM where the server has it) and sent as
// the rectangles that the changed cells tile exactly, a band at a time, so
// nothing else need be known of the picture.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "display/indexed_image.h"
#include "display/packed_dib.h"
#include "display/paint_target.h"
#include "x11/composed_image_x11.h"
#include "x11/hack_window_x11.h"
#include "x11/paint_way.h"
#include "x11/visual_image_x11.h"
#include "x11/x_connection_x11.h"

// How often each way drew a tick's cells (a send() counts once).
struct PaintCounts {
    uint64_t cells = 0;
    uint64_t composedShared = 0;  // through MIT-SHM
    uint64_t composedSent = 0;    // with XPutImage
};

class WindowPainter final : public PaintTarget {
public:
    using WayRule = PaintWay (*)(const TickShape&);

    // Copies name the sheet enlarged by scale, as a ScaledTarget hands them
    // on. rule picks each tick's way; tests force one.
    WindowPainter(XConnection& connection, const HackWindow& window, const IndexedImage& sheet,
                  const std::vector<RgbColor>& palette, int scale, WayRule rule = CheaperWay);
    ~WindowPainter();
    WindowPainter(const WindowPainter&) = delete;
    WindowPainter& operator=(const WindowPainter&) = delete;

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override;
    void fillBlack(const PaintRect& rect) override;
    ClientSize clientSize() override { return size_; }

    // The end of a tick: everything drawn goes to the server.
    void present();
    // The window has a new size; the picture starts black.
    void resize(ClientSize size);
    // Paints rect (clipped to the window) again: black, and the cells on it.
    void repaint(const PaintRect& rect);

    const PaintCounts& counts() const { return counts_; }

private:
    using SpriteId = uint16_t;  // 0: black
    struct Sprite {
        int srcX;
        int srcY;
    };

    // The grid of the first sprite after a clear (or a resize).
    void startGrid(int width, int height);
    // Whether a rectangle is one cell of the grid, and which.
    bool cellAt(int x, int y, int width, int height, size_t* index) const;
    SpriteId spriteId(int srcX, int srcY);
    void draw(size_t index);
    void send();
    // The rectangles the changed cells tile: runs along each row, joined
    // with the same run of the row above.
    std::vector<PaintRect> changedRects();
    bool compose(const std::vector<PaintRect>& rects);
    // Rows top.. of rect (whole cells across, clipped to the window) into
    // to, rows rect's width apart.
    void composeBand(const PaintRect& rect, int top, int rows, uint32_t* to) const;

    XConnection& connection_;
    Display* display_;
    const HackWindow& window_;
    GC gc_;
    PixelTable pixels_;
    int scale_;
    WayRule rule_;
    Pixmap sheetPixmap_;
    ClientSize size_;

    // The grid: cell size (0 before the first cell), columns and rows.
    int cellWidth_ = 0;
    int cellHeight_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<SpriteId> cells_;
    std::vector<size_t> changed_;  // cells drawn this tick, maybe repeated
    std::vector<Sprite> sprites_;  // by SpriteId - 1
    std::unordered_map<uint32_t, SpriteId> spriteIds_;
    std::vector<uint8_t> marks_;  // per cell: changed this tick

    PaintCounts counts_;

    // For composing: the sheet as decoded, and the buffer, made on first
    // use.
    const IndexedImage& sheet_;
    std::unique_ptr<ComposedImage> image_;
    bool composing_ = true;  // false once no image could be made
};
