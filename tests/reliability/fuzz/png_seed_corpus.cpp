// Writes the fuzzer's seed corpus into the folder named on the command line:
// a valid image of every colour type and bit depth, interlaced ones, and
// damaged variants (cut short, wrong CRCs, huge declared sizes).
#include <cstdio>
#include <string>
#include <vector>

#include "support/png_test_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Pixel rows with a little of everything in them, for any layout.
pngtest::Image patterned(int colorType, int bitDepth, std::uint32_t width, std::uint32_t height, bool interlaced) {
    pngtest::Image image;
    image.width = width;
    image.height = height;
    image.colorType = colorType;
    image.bitDepth = bitDepth;
    image.interlaced = interlaced;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        const int entries = 1 << bitDepth;
        for (int i = 0; i < entries; ++i)
            image.palette.push_back(png_color{png_byte(i * 37), png_byte(255 - i * 11), png_byte(i * 5)});
        for (int i = 0; i < entries / 2; ++i) image.paletteAlpha.push_back(png_byte(i * 29));
    }
    const std::size_t bytes = pngtest::rowBytes(image) * height;
    for (std::size_t i = 0; i < bytes; ++i) image.rows.push_back(std::uint8_t(i * 131 + (i >> 3) * 7));
    if (colorType == PNG_COLOR_TYPE_RGB && bitDepth == 8) image.gamma = 0.45455;
    if (colorType == PNG_COLOR_TYPE_RGBA && bitDepth == 16) image.chromaticities = true;
    return image;
}

void save(const std::string& folder, const std::string& name, const Bytes& bytes) {
    pngtest::writeBytes(folder + "/" + name, bytes);
}

std::uint32_t readBig32(const Bytes& b, std::size_t at) {
    return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 | std::uint32_t(b[at + 2]) << 8 | b[at + 3];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    pngtest::TempDir scratch;

    struct Layout {
        int colorType;
        std::vector<int> depths;
        const char* name;
    };
    const Layout layouts[] = {{PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}, "grey"},
                              {PNG_COLOR_TYPE_RGB, {8, 16}, "rgb"},
                              {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}, "palette"},
                              {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}, "greyalpha"},
                              {PNG_COLOR_TYPE_RGBA, {8, 16}, "rgba"}};
    int written = 0;
    for (const Layout& layout : layouts) {
        for (int depth : layout.depths) {
            for (bool interlaced : {false, true}) {
                const std::string name = std::string(layout.name) + std::to_string(depth) + (interlaced ? "i" : "");
                const std::string path = scratch.file(name + ".png");
                pngtest::write(path, patterned(layout.colorType, depth, 7, 5, interlaced));
                const Bytes good = pngtest::readBytes(path);
                save(folder, name + ".png", good);
                ++written;
                if (layout.colorType != PNG_COLOR_TYPE_RGBA || depth != 8) continue;

                // Damaged variants of one ordinary image.
                save(folder, name + "-cut-in-idat.png", Bytes(good.begin(), good.begin() + good.size() * 2 / 3));
                save(folder, name + "-cut-in-ihdr.png", Bytes(good.begin(), good.begin() + 20));
                save(folder, name + "-signature-only.png", Bytes(good.begin(), good.begin() + 8));
                Bytes badCrc = good;
                const std::size_t idat = pngtest::findChunk(badCrc, "IDAT");
                badCrc[idat + 8 + readBig32(badCrc, idat)] ^= 0x5A;
                save(folder, name + "-idat-crc.png", badCrc);
                Bytes badHeaderCrc = good;
                badHeaderCrc[8 + 8 + 13] ^= 0x01;
                save(folder, name + "-ihdr-crc.png", badHeaderCrc);
                Bytes badData = good;
                badData[idat + 8 + readBig32(badData, idat) / 2] ^= 0xFF;
                save(folder, name + "-idat-flipped.png", badData);
                written += 6;
            }
        }
    }

    // Headers that promise far more than the file holds.
    save(folder, "huge-16384x16384.png", pngtest::headerOnlyPng(16384, 16384));
    save(folder, "huge-16385x1.png", pngtest::headerOnlyPng(16385, 1));
    save(folder, "huge-1x2147483647.png", pngtest::headerOnlyPng(1, 0x7FFFFFFF));
    save(folder, "huge-4294967295x4294967295.png", pngtest::headerOnlyPng(0xFFFFFFFF, 0xFFFFFFFF));
    save(folder, "zero-size.png", pngtest::headerOnlyPng(0, 0));
    save(folder, "not-a-png.png", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0});
    save(folder, "empty.png", Bytes{});
    written += 7;
    std::printf("%d seed files in %s\n", written, folder.c_str());
    return 0;
}
