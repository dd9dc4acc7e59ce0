#include "render/indexed_png.h"

#include <png.h>

bool WriteIndexedPng(FILE* file, const IndexedImage& image, const std::vector<RgbColor>& palette) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colors;
    colors.reserve(palette.size());
    for (const RgbColor& c : palette) {
        colors.push_back({c.red, c.green, c.blue});
    }
    png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        png_write_row(png, &image.pixels[static_cast<size_t>(y) * image.width]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file) == 0 && !std::ferror(file);
}
