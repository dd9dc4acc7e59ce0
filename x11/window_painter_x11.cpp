#include "x11/window_painter_x11.h"

#include "x11/pixel_format.h"

namespace {

ChannelMasks MasksOf(const Visual* visual) {
    return {static_cast<uint32_t>(visual->red_mask), static_cast<uint32_t>(visual->green_mask),
            static_cast<uint32_t>(visual->blue_mask)};
}

}  // namespace

WindowPainter::WindowPainter(XConnection& connection, const HackWindow& window, const IndexedImage& sheet,
                             const std::vector<RgbColor>& palette)
    : connection_(connection),
      display_(connection.display()),
      window_(window),
      pixels_(PixelValues(palette, MasksOf(window.visual), window.depth)),
      sheetPixmap_(UploadPixmap(connection, window.visual, window.depth, sheet, pixels_)),
      frame_(window.size.width, window.size.height),
      frameTarget_(frame_, &sheet) {
    XGCValues values{};
    values.foreground = pixels_[0];  // black: the palette's entry 0
    values.graphics_exposures = False;
    gc_ = XCreateGC(display_, window.window, GCForeground | GCGraphicsExposures, &values);
}

WindowPainter::~WindowPainter() {
    XFreeGC(display_, gc_);
    XFreePixmap(display_, sheetPixmap_);
}

void WindowPainter::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    frameTarget_.copy(srcX, srcY, dstX, dstY, width, height);
    XCopyArea(display_, sheetPixmap_, window_.window, gc_, srcX, srcY, width, height, dstX, dstY);
}

void WindowPainter::fillBlack(const PaintRect& rect) {
    frameTarget_.fillBlack(rect);
    PaintRect clipped;
    if (ClipToClient(rect, clientSize(), &clipped)) {
        XFillRectangle(display_, window_.window, gc_, clipped.left, clipped.top, clipped.right - clipped.left,
                       clipped.bottom - clipped.top);
    }
}

void WindowPainter::present() { XFlush(display_); }

void WindowPainter::resize(ClientSize size) { frame_ = IndexedImage(size.width, size.height); }

void WindowPainter::repaint(const PaintRect& rect) {
    PaintRect clipped;
    if (!ClipToClient(rect, clientSize(), &clipped)) {
        return;
    }
    VisualImage image(connection_, window_.visual, window_.depth,
                      {clipped.right - clipped.left, clipped.bottom - clipped.top}, clipped.left, clipped.top);
    image.convert(frame_, clipped, pixels_);
    image.put(window_.window, gc_, clipped);
    XFlush(display_);
}
