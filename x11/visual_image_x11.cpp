#include "x11/visual_image_x11.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "display/clipped_copy.h"
#include "x11/byte_order_x11.h"

namespace {

// Bytes of one band; a row of the widest sheet enlarged 4 times fits.
constexpr size_t kBandBytes = 256 * 1024;

}  // namespace

Pixmap UploadPixmap(XConnection& connection, Visual* visual, int depth, const IndexedImage& sheet,
                    const PixelTable& pixels, int scale) {
    Display* display = connection.display();
    const int width = sheet.width * scale;
    const Pixmap pixmap = XCreatePixmap(display, DefaultRootWindow(display), width, sheet.height * scale, depth);
    const GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XImage* image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, width, 1, 32, 0);
    if (image != nullptr) {
        // Our own order; XPutImage swaps for a server that differs.
        image->byte_order = NativeByteOrder();
        const size_t rowBytes = static_cast<size_t>(image->bytes_per_line) * scale;  // one sheet row
        const int bandRows = std::max(1, static_cast<int>(kBandBytes / rowBytes));
        image->height = std::min(bandRows, sheet.height) * scale;
        image->data = static_cast<char*>(std::malloc(rowBytes * std::min(bandRows, sheet.height)));
        for (int top = 0; image->data != nullptr && top < sheet.height; top += bandRows) {
            const int rows = std::min(bandRows, sheet.height - top);
            for (int y = 0; y < rows * scale; ++y) {
                const uint8_t* from = &sheet.pixels[static_cast<size_t>(top + y / scale) * sheet.width];
                if (y % scale != 0) {
                    std::memcpy(image->data + y * static_cast<size_t>(image->bytes_per_line),
                                image->data + (y - 1) * static_cast<size_t>(image->bytes_per_line),
                                static_cast<size_t>(image->bytes_per_line));
                    continue;
                }
                if (image->bits_per_pixel == 32) {
                    auto* to =
                        reinterpret_cast<uint32_t*>(image->data + y * static_cast<size_t>(image->bytes_per_line));
                    EnlargeRow(to, from, static_cast<size_t>(width), scale, 0,
                               [&pixels](uint8_t index) { return pixels[index]; });
                } else {
                    for (int x = 0; x < width; ++x) {
                        XPutPixel(image, x, y, pixels[from[x / scale]]);
                    }
                }
            }
            XPutImage(display, pixmap, gc, image, 0, 0, 0, top * scale, static_cast<unsigned>(width),
                      static_cast<unsigned>(rows * scale));
        }
        XDestroyImage(image);  // frees the band too
    }
    XFreeGC(display, gc);
    return pixmap;
}
