// What the painter draws on in the X11 saver: the window, through one of two
// ways of getting the pixels there. Both keep the picture as an 8-bit frame
// too, from which exposed parts of the window are repainted.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <vector>

#include "display/frame_target.h"
#include "display/indexed_image.h"
#include "display/packed_dib.h"
#include "display/paint_target.h"
#include "x11/hack_window_x11.h"
#include "x11/visual_image_x11.h"
#include "x11/x_connection_x11.h"

enum class DrawingWay {
    SheetPixmap,  // sheet on the server; XCopyArea and XFillRectangle per operation
    FrameImage,   // composed here; changed rectangles sent with (Shm)PutImage
};

class WindowPainter : public PaintTarget {
public:
    WindowPainter(XConnection& connection, const HackWindow& window, const IndexedImage& sheet,
                  const std::vector<RgbColor>& palette);
    virtual ~WindowPainter();
    WindowPainter(const WindowPainter&) = delete;
    WindowPainter& operator=(const WindowPainter&) = delete;

    ClientSize clientSize() override { return {frame_.width, frame_.height}; }

    // The end of a tick: everything drawn goes to the server.
    virtual void present() = 0;
    // The window has a new size; the picture starts black.
    virtual void resize(ClientSize size);
    // Paints rect (clipped to the window) from the picture kept here.
    void repaint(const PaintRect& rect);

    const IndexedImage& frame() const { return frame_; }

protected:
    // Sends rect, inside the window, from the frame.
    virtual void send(const PaintRect& rect);

    XConnection& connection_;
    Display* display_;
    const HackWindow& window_;
    GC gc_;
    PixelTable pixels_;
    IndexedImage frame_;
    FrameTarget frameTarget_;
};

std::unique_ptr<WindowPainter> MakeWindowPainter(DrawingWay way, XConnection& connection, const HackWindow& window,
                                                 const IndexedImage& sheet, const std::vector<RgbColor>& palette);
