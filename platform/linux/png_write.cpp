#include "platform/linux/png_write.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

// The caller says why a write failed, in its own words; libpng's default
// would print a line of its own first.
void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quietWarning(png_structp, png_const_charp) {}

// libpng reports a failure by jumping back to the setjmp of the caller; the
// rows buffer lives outside the jump so nothing needs unwinding.
bool writeRows(std::FILE* file, const std::vector<png_bytep>& rows, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool savePng(const char* path, const std::uint32_t* pixels, int width, int height) {
    if (path == nullptr || pixels == nullptr || width <= 0 || height <= 0) return false;
    const std::size_t w = static_cast<std::size_t>(width);
    std::vector<png_byte> rgb(w * static_cast<std::size_t>(height) * 3);
    for (std::size_t i = 0; i < w * static_cast<std::size_t>(height); ++i) {
        const std::uint32_t p = pixels[i];
        rgb[i * 3 + 0] = static_cast<png_byte>(p >> 16);
        rgb[i * 3 + 1] = static_cast<png_byte>(p >> 8);
        rgb[i * 3 + 2] = static_cast<png_byte>(p);
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = rgb.data() + y * w * 3;

    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = writeRows(file, rows, width, height);
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}
