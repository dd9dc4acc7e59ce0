#include "render/indexed_png.h"

#include <png.h>

#include <cerrno>

namespace {

struct PngSink {
    FILE* file;
    int error;
};

void WriteToSink(png_structp png, png_bytep data, size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    if (std::fwrite(data, 1, length, sink->file) != length) {
        sink->error = errno;
        png_error(png, "write failed");
    }
}

void FlushNothing(png_structp) {}

// The caller says what failed, on one line: libpng itself prints nothing.
[[noreturn]] void JumpOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// libpng's errors longjmp out of here: only objects without destructors may
// live in this function.
bool WriteRows(PngSink& sink, const IndexedImage& image, const png_color* colors, int colorCount) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, WriteToSink, FlushNothing);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colors, colorCount);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        png_write_row(png, &image.pixels[static_cast<size_t>(y) * image.width]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WriteIndexedPng(FILE* file, const IndexedImage& image, const std::vector<RgbColor>& palette, int* reason) {
    std::vector<png_color> colors;
    colors.reserve(palette.size());
    for (const RgbColor& c : palette) {
        colors.push_back({c.red, c.green, c.blue});
    }
    PngSink sink{file, 0};
    bool written = WriteRows(sink, image, colors.data(), static_cast<int>(colors.size()));
    if (written && (std::fflush(file) != 0 || std::ferror(file))) {
        sink.error = errno;
        written = false;
    }
    if (!written && reason)
        *reason = sink.error;
    return written;
}
