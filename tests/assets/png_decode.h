// Decodes a PNG into straight 8-bit RGBA, rows top first, for inspection.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

struct DecodedPng {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    bool ok() const { return width > 0 && height > 0; }
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    std::uint8_t alpha(int x, int y) const { return at(x, y)[3]; }
};

inline DecodedPng finishDecode(png_image& image) {
    DecodedPng out;
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        out.width = static_cast<int>(image.width);
        out.height = static_cast<int>(image.height);
        out.rgba = std::move(pixels);
    }
    png_image_free(&image);
    return out;
}

inline DecodedPng decodePngFile(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    return finishDecode(image);
}

inline DecodedPng decodePngMemory(const unsigned char* data, std::size_t size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return {};
    return finishDecode(image);
}

// The generated pictures sit in the build directory, which is also where the tests run.
inline std::string assetPath(const std::string& name) {
    const char* dir = std::getenv("PELORIN_TEST_ASSETS");
    return (dir && *dir ? std::string(dir) : std::string(".")) + "/" + name;
}
