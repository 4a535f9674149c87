// Writing small PNG files for decoder tests: a temporary folder that removes
// itself, libpng-written images in any colour type, and raw byte editing for
// damaged files.
#pragma once

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace pngtest {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pelorin-png-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int colorType = PNG_COLOR_TYPE_RGBA;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<std::uint8_t> rows;  // packed rows as stored in the file (16-bit samples big-endian), top first
    std::vector<png_color> palette;
    std::vector<std::uint8_t> paletteAlpha;  // tRNS for palette images
    double gamma = 0;                         // writes a gAMA chunk when non-zero
    bool chromaticities = false;              // writes a cHRM chunk
};

inline std::size_t rowBytes(const Image& image) {
    int channels = 1;
    switch (image.colorType) {
    case PNG_COLOR_TYPE_RGB: channels = 3; break;
    case PNG_COLOR_TYPE_RGBA: channels = 4; break;
    case PNG_COLOR_TYPE_GRAY_ALPHA: channels = 2; break;
    default: channels = 1; break;
    }
    return (std::size_t(image.width) * channels * image.bitDepth + 7) / 8;
}

inline void write(const std::string& path, const Image& image) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot create " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> pointers(image.height);
    const std::size_t stride = rowBytes(image);
    for (std::uint32_t y = 0; y < image.height; ++y)
        pointers[y] = const_cast<png_bytep>(image.rows.data() + y * stride);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        std::abort();  // a test image that cannot be written is a broken test
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colorType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!image.palette.empty())
        png_set_PLTE(png, info, image.palette.data(), static_cast<int>(image.palette.size()));
    if (!image.paletteAlpha.empty())
        png_set_tRNS(png, info, image.paletteAlpha.data(), static_cast<int>(image.paletteAlpha.size()), nullptr);
    if (image.gamma != 0) png_set_gAMA(png, info, image.gamma);
    if (image.chromaticities)
        png_set_cHRM(png, info, 0.3127, 0.3290, 0.64, 0.33, 0.30, 0.60, 0.15, 0.06);
    png_write_info(png, info);
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Offset of the first chunk of the given type, or 0 if there is none.
inline std::size_t findChunk(const std::vector<std::uint8_t>& bytes, const char* type) {
    std::size_t at = 8;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t length = std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
                                     std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
        if (std::equal(type, type + 4, bytes.begin() + at + 4)) return at;
        at += 12 + length;
    }
    return 0;
}

inline std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void appendChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    const auto length = static_cast<std::uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(length >> shift));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const std::uint32_t crc = crc32(out.data() + typeAt, 4 + data.size());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(crc >> shift));
}

// A file that is well formed up to and including its IHDR, which claims the
// given size, followed by an empty IDAT and IEND: the pixel data is missing.
inline std::vector<std::uint8_t> headerOnlyPng(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) ihdr.push_back(std::uint8_t(v >> shift));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, deflate, no filter set, not interlaced
    appendChunk(out, "IHDR", ihdr);
    appendChunk(out, "IDAT", {});
    appendChunk(out, "IEND", {});
    return out;
}

// RGBA image from AARRGGBB words, top row first.
inline Image rgbaImage(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& argb) {
    Image image;
    image.width = width;
    image.height = height;
    image.colorType = PNG_COLOR_TYPE_RGBA;
    for (std::uint32_t word : argb) {
        image.rows.push_back(std::uint8_t(word >> 16));
        image.rows.push_back(std::uint8_t(word >> 8));
        image.rows.push_back(std::uint8_t(word));
        image.rows.push_back(std::uint8_t(word >> 24));
    }
    return image;
}

}  // namespace pngtest
