#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/png_test_file.h"
#include "platform/linux/gdiplus.h"

using namespace Gdiplus;

namespace {

std::wstring wide(const std::string& narrow) { return std::wstring(narrow.begin(), narrow.end()); }

// Decodes a file and returns its pixels as ARGB words, top row first.
struct Decoded {
    Status status = GenericError;
    UINT width = 0;
    UINT height = 0;
    std::vector<ARGB> pixels;
    std::string error;
};

Decoded decode(const std::string& path) {
    Decoded out;
    GpBitmap* bitmap = nullptr;
    out.status = GdipCreateBitmapFromFile(wide(path).c_str(), &bitmap);
    out.error = GdipLastDecodeError();
    if (out.status != Ok) {
        EXPECT_EQ(bitmap, nullptr);
        return out;
    }
    EXPECT_EQ(GdipGetImageWidth(bitmap, &out.width), Ok);
    EXPECT_EQ(GdipGetImageHeight(bitmap, &out.height), Ok);
    for (UINT y = 0; y < out.height; ++y) {
        for (UINT x = 0; x < out.width; ++x) {
            ARGB color = 0;
            EXPECT_EQ(GdipBitmapGetPixel(bitmap, int(x), int(y), &color), Ok);
            out.pixels.push_back(color);
        }
    }
    EXPECT_EQ(GdipDisposeImage(bitmap), Ok);
    return out;
}

class GdiplusDecode : public ::testing::Test {
protected:
    pngtest::TempDir dir;

    std::string writeImage(const std::string& name, const pngtest::Image& image) {
        const std::string path = dir.file(name);
        pngtest::write(path, image);
        return path;
    }
};

TEST_F(GdiplusDecode, RgbaValuesAreStoredNotPremultipliedTopRowFirst) {
    const auto single = decode(writeImage("row.png", pngtest::rgbaImage(2, 1, {0xFFFF0000, 0x8000FF00})));
    ASSERT_EQ(single.status, Ok);
    EXPECT_EQ(single.width, 2u);
    EXPECT_EQ(single.height, 1u);
    EXPECT_EQ(single.pixels, (std::vector<ARGB>{0xFFFF0000, 0x8000FF00}));
    EXPECT_STREQ(single.error.c_str(), "");

    const auto column = decode(writeImage("column.png", pngtest::rgbaImage(1, 3, {0xFF112233, 0x01445566, 0x00778899})));
    ASSERT_EQ(column.status, Ok);
    EXPECT_EQ(column.pixels, (std::vector<ARGB>{0xFF112233, 0x01445566, 0x00778899}));
}

TEST_F(GdiplusDecode, ColourTypesWithoutAlphaReadAsOpaque) {
    pngtest::Image rgb;
    rgb.width = 2;
    rgb.height = 1;
    rgb.colorType = PNG_COLOR_TYPE_RGB;
    rgb.rows = {0x10, 0x20, 0x30, 0xFE, 0x00, 0x01};
    EXPECT_EQ(decode(writeImage("rgb.png", rgb)).pixels, (std::vector<ARGB>{0xFF102030, 0xFFFE0001}));

    pngtest::Image grey;
    grey.width = 3;
    grey.height = 1;
    grey.colorType = PNG_COLOR_TYPE_GRAY;
    grey.rows = {0x00, 0x7F, 0xFF};
    EXPECT_EQ(decode(writeImage("grey.png", grey)).pixels,
              (std::vector<ARGB>{0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF}));

    pngtest::Image greyTwoBit;
    greyTwoBit.width = 4;
    greyTwoBit.height = 1;
    greyTwoBit.colorType = PNG_COLOR_TYPE_GRAY;
    greyTwoBit.bitDepth = 2;
    greyTwoBit.rows = {0b00011011};  // levels 0, 1, 2, 3
    EXPECT_EQ(decode(writeImage("grey2.png", greyTwoBit)).pixels,
              (std::vector<ARGB>{0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}));
}

TEST_F(GdiplusDecode, GreyAlphaAndPaletteTransparencyBecomeAlpha) {
    pngtest::Image greyAlpha;
    greyAlpha.width = 2;
    greyAlpha.height = 1;
    greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {0x40, 0x80, 0xC0, 0x00};
    EXPECT_EQ(decode(writeImage("ga.png", greyAlpha)).pixels, (std::vector<ARGB>{0x80404040, 0x00C0C0C0}));

    pngtest::Image palette;
    palette.width = 3;
    palette.height = 1;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0x12, 0x34, 0x56}};
    palette.paletteAlpha = {0x00, 0x80};  // the third entry has no tRNS value: opaque
    palette.rows = {0, 1, 2};
    EXPECT_EQ(decode(writeImage("palette.png", palette)).pixels,
              (std::vector<ARGB>{0x00FF0000, 0x8000FF00, 0xFF123456}));
}

TEST_F(GdiplusDecode, SixteenBitSamplesKeepTheirHighByte) {
    pngtest::Image deep;
    deep.width = 1;
    deep.height = 1;
    deep.colorType = PNG_COLOR_TYPE_RGBA;
    deep.bitDepth = 16;
    // Rounding 0x12FF to eight bits would give 0x13; the high byte is 0x12.
    deep.rows = {0x12, 0xFF, 0xAB, 0x00, 0x00, 0xFF, 0x7F, 0xFF};
    const auto decoded = decode(writeImage("deep.png", deep));
    ASSERT_EQ(decoded.status, Ok);
    EXPECT_EQ(decoded.pixels, (std::vector<ARGB>{0x7F12AB00}));
}

TEST_F(GdiplusDecode, InterlacedImageMatchesItsPixels) {
    std::vector<ARGB> words;
    for (std::uint32_t y = 0; y < 11; ++y)
        for (std::uint32_t x = 0; x < 13; ++x) words.push_back(0xFF000000 | y << 16 | x << 8 | (x * 7 + y * 3));
    pngtest::Image image = pngtest::rgbaImage(13, 11, words);
    image.interlaced = true;
    const auto decoded = decode(writeImage("adam7.png", image));
    ASSERT_EQ(decoded.status, Ok);
    EXPECT_EQ(decoded.pixels, words);
}

TEST_F(GdiplusDecode, GammaAndChromaticityChunksDoNotChangeValues) {
    pngtest::Image image = pngtest::rgbaImage(2, 1, {0xFF804020, 0x80C0C0C0});
    image.gamma = 1.0;
    image.chromaticities = true;
    EXPECT_EQ(decode(writeImage("gamma.png", image)).pixels, (std::vector<ARGB>{0xFF804020, 0x80C0C0C0}));

    pngtest::Image rgb;
    rgb.width = 1;
    rgb.height = 1;
    rgb.colorType = PNG_COLOR_TYPE_RGB;
    rgb.rows = {0x80, 0x40, 0x20};
    rgb.gamma = 0.25;
    EXPECT_EQ(decode(writeImage("gamma-rgb.png", rgb)).pixels, (std::vector<ARGB>{0xFF804020}));
}

TEST_F(GdiplusDecode, SideLimitIsInclusive) {
    const auto wideImage = decode(writeImage("wide.png", pngtest::rgbaImage(kMaxImageSide, 1, std::vector<ARGB>(kMaxImageSide, 0xFF010203))));
    ASSERT_EQ(wideImage.status, Ok);
    EXPECT_EQ(wideImage.width, kMaxImageSide);

    const auto tooWide = decode(writeImage("too-wide.png", pngtest::rgbaImage(kMaxImageSide + 1, 1, std::vector<ARGB>(kMaxImageSide + 1, 0xFF010203))));
    EXPECT_EQ(tooWide.status, ValueOverflow);
    EXPECT_EQ(tooWide.error, "image is 16385x1 pixels, larger than 16384 on a side");
}

TEST_F(GdiplusDecode, OversizedHeaderIsRefusedBeforeThePixelData) {
    // The pixel data is missing altogether, so only a refusal made on the
    // header alone reports the size rather than damage.
    const std::string path = dir.file("huge.png");
    pngtest::writeBytes(path, pngtest::headerOnlyPng(20000, 20000));
    const auto decoded = decode(path);
    EXPECT_EQ(decoded.status, ValueOverflow);
    EXPECT_EQ(decoded.error, "image is 20000x20000 pixels, larger than 16384 on a side");

    pngtest::writeBytes(path, pngtest::headerOnlyPng(1, 2000000000));
    EXPECT_EQ(decode(path).status, ValueOverflow);
}

TEST_F(GdiplusDecode, MissingOrForeignFilesAreReported) {
    const auto missing = decode(dir.file("absent.png"));
    EXPECT_EQ(missing.status, FileNotFound);
    EXPECT_EQ(missing.error, "file not found");

    const auto inMissingFolder = decode(dir.file("absent/inner.png"));
    EXPECT_EQ(inMissingFolder.status, FileNotFound);

    const std::string text = dir.file("text.png");
    pngtest::writeBytes(text, {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'});
    const auto foreign = decode(text);
    EXPECT_EQ(foreign.status, UnknownImageFormat);
    EXPECT_EQ(foreign.error, "not a PNG file");

    const std::string empty = dir.file("empty.png");
    pngtest::writeBytes(empty, {});
    EXPECT_EQ(decode(empty).status, UnknownImageFormat);

    const auto folder = decode(dir.path().string());
    EXPECT_NE(folder.status, Ok);
    EXPECT_FALSE(folder.error.empty());
}

TEST_F(GdiplusDecode, DamagedFilesFailWithLibpngsReason) {
    std::vector<ARGB> words(64 * 64);
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = 0xFF000000 | std::uint32_t(i * 2654435761u >> 8);
    const std::string good = writeImage("good.png", pngtest::rgbaImage(64, 64, words));
    const std::vector<std::uint8_t> bytes = pngtest::readBytes(good);
    const std::size_t idat = pngtest::findChunk(bytes, "IDAT");
    ASSERT_GT(idat, 0u);

    const std::string truncated = dir.file("truncated.png");
    pngtest::writeBytes(truncated, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + idat + 100));
    const auto cut = decode(truncated);
    EXPECT_EQ(cut.status, UnknownImageFormat);
    EXPECT_EQ(cut.error.rfind("damaged PNG data: ", 0), 0u) << cut.error;

    std::vector<std::uint8_t> flipped = bytes;
    flipped[idat + 8 + 20] ^= 0x01;  // inside the IDAT data, so its CRC no longer matches
    const std::string badCrc = dir.file("bad-crc.png");
    pngtest::writeBytes(badCrc, flipped);
    const auto crc = decode(badCrc);
    EXPECT_EQ(crc.status, UnknownImageFormat);
    EXPECT_EQ(crc.error.rfind("damaged PNG data: ", 0), 0u) << crc.error;

    // A later good file decodes as if nothing had happened.
    const auto again = decode(good);
    ASSERT_EQ(again.status, Ok);
    EXPECT_EQ(again.pixels, words);
    EXPECT_EQ(again.error, "");
}

TEST_F(GdiplusDecode, PixelQueriesOutsideTheImageAreRefused) {
    GpBitmap* bitmap = nullptr;
    const std::string path = writeImage("small.png", pngtest::rgbaImage(2, 3, std::vector<ARGB>(6, 0xFFFFFFFF)));
    ASSERT_EQ(GdipCreateBitmapFromFile(wide(path).c_str(), &bitmap), Ok);
    ARGB color = 0x12345678;
    EXPECT_EQ(GdipBitmapGetPixel(bitmap, -1, 0, &color), InvalidParameter);
    EXPECT_EQ(GdipBitmapGetPixel(bitmap, 2, 0, &color), InvalidParameter);
    EXPECT_EQ(GdipBitmapGetPixel(bitmap, 0, 3, &color), InvalidParameter);
    EXPECT_EQ(GdipBitmapGetPixel(bitmap, 0, -1, &color), InvalidParameter);
    EXPECT_EQ(color, 0x12345678u);
    EXPECT_EQ(GdipBitmapGetPixel(bitmap, 1, 2, &color), Ok);
    EXPECT_EQ(color, 0xFFFFFFFFu);
    EXPECT_EQ(GdipDisposeImage(bitmap), Ok);
}

}  // namespace
