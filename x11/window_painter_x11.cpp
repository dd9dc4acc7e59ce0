#include "x11/window_painter_x11.h"

#include "x11/dirty_rects.h"
#include "x11/pixel_format.h"

namespace {

ChannelMasks MasksOf(const Visual* visual) {
    return {static_cast<uint32_t>(visual->red_mask), static_cast<uint32_t>(visual->green_mask),
            static_cast<uint32_t>(visual->blue_mask)};
}

// Each operation goes to the server as it comes, copied from the sheet kept
// there; the frame here only serves exposures.
class SheetPixmapPainter final : public WindowPainter {
public:
    SheetPixmapPainter(XConnection& connection, const HackWindow& window, const IndexedImage& sheet,
                       const std::vector<RgbColor>& palette)
        : WindowPainter(connection, window, sheet, palette),
          sheetPixmap_(UploadPixmap(connection, window.visual, window.depth, sheet, pixels_)) {}
    ~SheetPixmapPainter() override { XFreePixmap(display_, sheetPixmap_); }

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override {
        frameTarget_.copy(srcX, srcY, dstX, dstY, width, height);
        XCopyArea(display_, sheetPixmap_, window_.window, gc_, srcX, srcY, width, height, dstX, dstY);
    }
    void fillBlack(const PaintRect& rect) override {
        frameTarget_.fillBlack(rect);
        const PaintRect clipped = ClipRect(rect, clientSize());
        if (!IsEmpty(clipped)) {
            XFillRectangle(display_, window_.window, gc_, clipped.left, clipped.top, clipped.right - clipped.left,
                           clipped.bottom - clipped.top);
        }
    }
    void present() override { XFlush(display_); }

private:
    Pixmap sheetPixmap_;
};

// Each tick is composed in the frame here; the rectangles it changed are
// converted to the window's format and sent at the end of the tick.
class FrameImagePainter final : public WindowPainter {
public:
    FrameImagePainter(XConnection& connection, const HackWindow& window, const IndexedImage& sheet,
                      const std::vector<RgbColor>& palette)
        : WindowPainter(connection, window, sheet, palette) {
        FrameImagePainter::resize(window.size);
    }

    void copy(int srcX, int srcY, int dstX, int dstY, int width, int height) override {
        frameTarget_.copy(srcX, srcY, dstX, dstY, width, height);
        dirty_.add({dstX, dstY, dstX + width, dstY + height});
    }
    void fillBlack(const PaintRect& rect) override {
        frameTarget_.fillBlack(rect);
        dirty_.add(rect);
    }
    void present() override {
        for (const PaintRect& rect : dirty_.take()) {
            image_->convert(frame_, rect, pixels_);
            image_->put(window_.window, gc_, rect);
        }
        finishSending();
    }
    void resize(ClientSize size) override {
        WindowPainter::resize(size);
        image_.reset();  // detach before attaching anew
        image_ = std::make_unique<VisualImage>(connection_, window_.visual, window_.depth, size, true);
        dirty_ = DirtyRects(size);
    }

protected:
    void send(const PaintRect& rect) override {
        image_->convert(frame_, rect, pixels_);
        image_->put(window_.window, gc_, rect);
        finishSending();
    }

private:
    // A shared image is ours again only once the server has read it.
    void finishSending() {
        if (image_->shared()) {
            XSync(display_, False);
        } else {
            XFlush(display_);
        }
    }

    std::unique_ptr<VisualImage> image_;
    DirtyRects dirty_;
};

}  // namespace

WindowPainter::WindowPainter(XConnection& connection, const HackWindow& window, const IndexedImage& sheet,
                             const std::vector<RgbColor>& palette)
    : connection_(connection),
      display_(connection.display()),
      window_(window),
      pixels_(PixelValues(palette, MasksOf(window.visual), window.depth)),
      frame_(window.size.width, window.size.height),
      frameTarget_(frame_, &sheet) {
    XGCValues values{};
    values.foreground = pixels_[0];  // black: the palette's entry 0
    values.graphics_exposures = False;
    gc_ = XCreateGC(display_, window.window, GCForeground | GCGraphicsExposures, &values);
}

WindowPainter::~WindowPainter() { XFreeGC(display_, gc_); }

void WindowPainter::resize(ClientSize size) { frame_ = IndexedImage(size.width, size.height); }

void WindowPainter::repaint(const PaintRect& rect) {
    const PaintRect clipped = ClipRect(rect, clientSize());
    if (!IsEmpty(clipped)) {
        send(clipped);
    }
}

void WindowPainter::send(const PaintRect& rect) {
    VisualImage image(connection_, window_.visual, window_.depth, {rect.right - rect.left, rect.bottom - rect.top},
                      false, rect.left, rect.top);
    image.convert(frame_, rect, pixels_);
    image.put(window_.window, gc_, rect);
    XFlush(display_);
}

std::unique_ptr<WindowPainter> MakeWindowPainter(DrawingWay way, XConnection& connection, const HackWindow& window,
                                                 const IndexedImage& sheet, const std::vector<RgbColor>& palette) {
    if (way == DrawingWay::FrameImage) {
        return std::make_unique<FrameImagePainter>(connection, window, sheet, palette);
    }
    return std::make_unique<SheetPixmapPainter>(connection, window, sheet, palette);
}
