#include "x11/window_painter_x11.h"

#include <algorithm>
#include <cstring>

#include "display/changed_area.h"
#include "display/clipped_copy.h"
#include "x11/pixel_format.h"

namespace {

ChannelMasks MasksOf(const Visual* visual) {
    return {static_cast<uint32_t>(visual->red_mask), static_cast<uint32_t>(visual->green_mask),
            static_cast<uint32_t>(visual->blue_mask)};
}

// Pixels the compose buffer holds (2 MB): a whole 4K window goes in 16
// bands, each a round trip when the buffer is shared.
constexpr size_t kComposePixels = 512 * 1024;

XRectangle CellRect(size_t index, int columns, int width, int height) {
    const int column = static_cast<int>(index % columns);
    const int row = static_cast<int>(index / columns);
    return {static_cast<short>(column * width), static_cast<short>(row * height), static_cast<unsigned short>(width),
            static_cast<unsigned short>(height)};
}

}  // namespace

WindowPainter::WindowPainter(XConnection& connection, const HackWindow& window, const IndexedImage& sheet,
                             const std::vector<RgbColor>& palette, int scale, WayRule rule)
    : connection_(connection),
      display_(connection.display()),
      window_(window),
      pixels_(PixelValues(palette, MasksOf(window.visual), window.depth)),
      scale_(scale),
      rule_(rule),
      sheetPixmap_(UploadPixmap(connection, window.visual, window.depth, sheet, pixels_, scale)),
      size_(window.size),
      sheet_(sheet) {
    XGCValues values{};
    values.foreground = pixels_[0];  // black: the palette's entry 0
    values.graphics_exposures = False;
    gc_ = XCreateGC(display_, window.window, GCForeground | GCGraphicsExposures, &values);
}

WindowPainter::~WindowPainter() {
    XFreeGC(display_, gc_);
    XFreePixmap(display_, sheetPixmap_);
}

void WindowPainter::startGrid(int width, int height) {
    cellWidth_ = width;
    cellHeight_ = height;
    columns_ = (size_.width + width - 1) / width;
    rows_ = (size_.height + height - 1) / height;
    cells_.assign(static_cast<size_t>(columns_) * rows_, 0);
    marks_.assign(cells_.size(), 0);
}

bool WindowPainter::cellAt(int x, int y, int width, int height, size_t* index) const {
    if (cellWidth_ == 0 || width != cellWidth_ || height != cellHeight_ || x < 0 || y < 0 || x % width != 0 ||
        y % height != 0 || x / width >= columns_ || y / height >= rows_) {
        return false;
    }
    *index = static_cast<size_t>(y / height) * columns_ + x / width;
    return true;
}

WindowPainter::SpriteId WindowPainter::spriteId(int srcX, int srcY) {
    const uint32_t key = (static_cast<uint32_t>(srcX) << 16) | static_cast<uint16_t>(srcY);
    const auto found = spriteIds_.find(key);
    if (found != spriteIds_.end()) {
        return found->second;
    }
    sprites_.push_back({srcX, srcY});
    const auto id = static_cast<SpriteId>(sprites_.size());
    spriteIds_.emplace(key, id);
    return id;
}

void WindowPainter::copy(int srcX, int srcY, int dstX, int dstY, int width, int height) {
    if (cellWidth_ == 0 && width > 0 && height > 0) {
        startGrid(width, height);
    }
    size_t index = 0;
    if (cellAt(dstX, dstY, width, height, &index) && sprites_.size() < 0xFFFF) {
        cells_[index] = spriteId(srcX, srcY);
        changed_.push_back(index);
        return;
    }
    // Not a cell: drawn as it comes, and not drawn again on exposure.
    send();
    XCopyArea(display_, sheetPixmap_, window_.window, gc_, srcX, srcY, width, height, dstX, dstY);
}

void WindowPainter::fillBlack(const PaintRect& rect) {
    size_t index = 0;
    if (cellAt(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, &index)) {
        cells_[index] = 0;
        changed_.push_back(index);
        return;
    }
    send();
    PaintRect clipped;
    if (!ClipToClient(rect, clientSize(), &clipped)) {
        return;
    }
    XFillRectangle(display_, window_.window, gc_, clipped.left, clipped.top, clipped.right - clipped.left,
                   clipped.bottom - clipped.top);
    if (clipped.left == 0 && clipped.top == 0 && clipped.right == size_.width && clipped.bottom == size_.height) {
        // A clear: the next world may have another cell size.
        cellWidth_ = 0;
        cells_.clear();
    }
}

void WindowPainter::present() {
    send();
    XFlush(display_);
}

void WindowPainter::resize(ClientSize size) {
    changed_.clear();
    image_.reset();
    size_ = size;
    cellWidth_ = 0;
    cells_.clear();
}

void WindowPainter::repaint(const PaintRect& rect) {
    PaintRect clipped;
    if (!ClipToClient(rect, clientSize(), &clipped)) {
        return;
    }
    send();
    XFillRectangle(display_, window_.window, gc_, clipped.left, clipped.top, clipped.right - clipped.left,
                   clipped.bottom - clipped.top);
    if (cellWidth_ != 0) {
        // Whole cells: what they add beyond rect is what is there already.
        const int lastRow = std::min(rows_, (clipped.bottom + cellHeight_ - 1) / cellHeight_);
        const int lastColumn = std::min(columns_, (clipped.right + cellWidth_ - 1) / cellWidth_);
        for (int row = clipped.top / cellHeight_; row < lastRow; ++row) {
            for (int column = clipped.left / cellWidth_; column < lastColumn; ++column) {
                const size_t index = static_cast<size_t>(row) * columns_ + column;
                if (cells_[index] != 0) {
                    draw(index);
                }
            }
        }
    }
    XFlush(display_);
}

void WindowPainter::draw(size_t index) {
    const XRectangle r = CellRect(index, columns_, cellWidth_, cellHeight_);
    const SpriteId id = cells_[index];
    if (id == 0) {
        XFillRectangle(display_, window_.window, gc_, r.x, r.y, r.width, r.height);
    } else {
        const Sprite& sprite = sprites_[id - 1];
        XCopyArea(display_, sheetPixmap_, window_.window, gc_, sprite.srcX, sprite.srcY, r.width, r.height, r.x, r.y);
    }
}

void WindowPainter::send() {
    if (changed_.empty()) {
        return;
    }
    std::vector<PaintRect> rects = changedRects();
    const TickShape tick{changed_.size(), static_cast<long>(cellWidth_) * cellHeight_, rects.size(), PixelsIn(rects)};
    if (rule_(tick) == PaintWay::Composed && compose(rects)) {
        ++(image_->shared() ? counts_.composedShared : counts_.composedSent);
    } else {
        for (size_t index : changed_) {
            draw(index);
        }
        ++counts_.cells;
    }
    changed_.clear();
}

std::vector<PaintRect> WindowPainter::changedRects() {
    for (size_t index : changed_) {
        marks_[index] = 1;
    }
    std::vector<PaintRect> rects;
    std::vector<size_t> above;  // rects ending at the row above, left to right
    std::vector<size_t> here;
    for (int row = 0; row < rows_; ++row) {
        const uint8_t* mark = &marks_[static_cast<size_t>(row) * columns_];
        size_t next = 0;  // in above
        here.clear();
        for (int column = 0; column < columns_;) {
            const void* found = std::memchr(mark + column, 1, static_cast<size_t>(columns_ - column));
            if (found == nullptr) {
                break;
            }
            column = static_cast<int>(static_cast<const uint8_t*>(found) - mark);
            const int first = column;
            while (column < columns_ && mark[column] != 0) {
                ++column;
            }
            const int left = first * cellWidth_;
            const int right = column * cellWidth_;
            while (next < above.size() && rects[above[next]].left < left) {
                ++next;
            }
            if (next < above.size() && rects[above[next]].left == left && rects[above[next]].right == right) {
                rects[above[next]].bottom += cellHeight_;
                here.push_back(above[next]);
            } else {
                here.push_back(rects.size());
                rects.push_back({left, row * cellHeight_, right, (row + 1) * cellHeight_});
            }
        }
        above.swap(here);
    }
    for (size_t index : changed_) {
        marks_[index] = 0;
    }
    return rects;
}

bool WindowPainter::compose(const std::vector<PaintRect>& rects) {
    if (!composing_) {
        return false;
    }
    if (!image_) {
        const size_t capacity = std::max(kComposePixels, static_cast<size_t>(size_.width));
        image_ = std::make_unique<ComposedImage>(connection_, window_.visual, window_.depth, capacity);
        composing_ = image_->usable();
        if (!composing_) {
            image_.reset();
            return false;
        }
    }
    for (const PaintRect& rect : rects) {
        PaintRect clipped;
        if (!ClipToClient(rect, size_, &clipped)) {
            continue;
        }
        const int width = clipped.right - clipped.left;
        const int bandRows = static_cast<int>(image_->capacity() / static_cast<size_t>(width));
        for (int top = clipped.top; top < clipped.bottom; top += bandRows) {
            const int rows = std::min(bandRows, clipped.bottom - top);
            composeBand(clipped, top, rows, image_->area(width, rows));
            image_->put(window_.window, gc_, clipped.left, top);
        }
    }
    return true;
}

void WindowPainter::composeBand(const PaintRect& rect, int top, int rows, uint32_t* to) const {
    const int width = rect.right - rect.left;
    for (int y = top; y < top + rows; ++y, to += width) {
        const int inCell = y % cellHeight_;
        if (y > top && inCell % scale_ != 0) {
            // The same sheet row as the row above, in every cell.
            std::memcpy(to, to - width, static_cast<size_t>(width) * sizeof(uint32_t));
            continue;
        }
        const SpriteId* cell = &cells_[static_cast<size_t>(y / cellHeight_) * columns_ + rect.left / cellWidth_];
        for (int x = rect.left; x < rect.right; x += cellWidth_, ++cell) {
            uint32_t* out = to + (x - rect.left);
            const int count = std::min(cellWidth_, rect.right - x);
            // Plain loops: rows of a few dozen bytes cost more as calls.
            if (*cell == 0) {
                std::fill(out, out + count, pixels_[0]);
                continue;
            }
            const Sprite& sprite = sprites_[*cell - 1];
            const uint8_t* from = &sheet_.pixels[static_cast<size_t>((sprite.srcY + inCell) / scale_) * sheet_.width +
                                                 sprite.srcX / scale_];
            if (scale_ == 1) {
                for (int i = 0; i < count; ++i) {
                    out[i] = pixels_[from[i]];
                }
            } else {
                EnlargeRow(out, from, static_cast<size_t>(count), scale_, 0,
                           [this](uint8_t index) { return pixels_[index]; });
            }
        }
    }
}
