#include "assets/ico_writer.h"

#include <cstdint>

namespace {

void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A BITMAPINFOHEADER of twice the height (colour, then mask), the BGRA rows
// bottom-up, then the 1-bit AND mask (set where the icon is transparent),
// its rows padded to 32 bits.
std::vector<unsigned char> iconBitmap(const RgbaImage& image) {
    const int w = image.width;
    const int h = image.height;
    const std::uint32_t maskRow = static_cast<std::uint32_t>((w + 31) / 32 * 4);
    std::vector<unsigned char> out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(w));
    put32(out, static_cast<std::uint32_t>(2 * h));
    put16(out, 1);   // planes
    put16(out, 32);  // bits a pixel
    put32(out, 0);   // BI_RGB
    put32(out, static_cast<std::uint32_t>(w * h * 4) + maskRow * static_cast<std::uint32_t>(h));
    for (int i = 0; i < 4; ++i) put32(out, 0);  // resolution and colour counts
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = image.at(x, y);
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<unsigned char> row(maskRow, 0);
        for (int x = 0; x < w; ++x)
            if (image.at(x, y)[3] == 0) row[static_cast<std::size_t>(x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

std::vector<unsigned char> encodeIco(const std::vector<IcoImage>& images) {
    std::vector<std::vector<unsigned char>> bodies;
    for (const IcoImage& entry : images) bodies.push_back(entry.png ? *entry.png : iconBitmap(*entry.image));

    std::vector<unsigned char> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // an icon, not a cursor
    put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const RgbaImage& image = *images[i].image;
        out.push_back(static_cast<unsigned char>(image.width & 0xFF));  // 256 is written as 0
        out.push_back(static_cast<unsigned char>(image.height & 0xFF));
        out.push_back(0);  // no palette
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies) out.insert(out.end(), body.begin(), body.end());
    return out;
}
