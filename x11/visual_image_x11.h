// The sprite sheet as a server-side pixmap in a window's pixel format, each
// sheet pixel scale x scale: the enlarged sheet lives on the server only.
#pragma once

#include <X11/Xlib.h>

#include <array>
#include <cstdint>

#include "display/indexed_image.h"
#include "x11/x_connection_x11.h"

using PixelTable = std::array<uint32_t, 256>;

// Sent in bands of rows through one small image, so that no enlarged copy
// is held here even for a moment.
Pixmap UploadPixmap(XConnection& connection, Visual* visual, int depth, const IndexedImage& sheet,
                    const PixelTable& pixels, int scale);
