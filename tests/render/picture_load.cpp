#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/png_test_file.h"
#include "render/picture.h"

namespace {

Picture emptyPicture() {
    Picture picture;
    picture.width = -1;
    picture.height = -1;
    picture.pixels = nullptr;
    return picture;
}

TEST(PictureLoad, WordsHaveTheFrameBuffersByteOrder) {
    pngtest::TempDir dir;
    const std::string path = dir.file("pair.png");
    pngtest::write(path, pngtest::rgbaImage(2, 1, {0xFFFF0000, 0x8000FF00}));

    Picture picture = emptyPicture();
    picture.load(path.c_str());
    ASSERT_NE(picture.pixels, nullptr);
    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.height, 1);
    EXPECT_EQ(pngW, 2);
    EXPECT_EQ(pngH, 1);
    EXPECT_STREQ(pngError, "");
    unsigned char bytes[8];
    std::memcpy(bytes, picture.pixels, sizeof bytes);
    const unsigned char expected[8] = {0x00, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x00, 0x80};
    EXPECT_EQ(std::memcmp(bytes, expected, sizeof bytes), 0);
    std::free(picture.pixels);
}

TEST(PictureLoad, RowsFollowEachOtherFromTheTop) {
    pngtest::TempDir dir;
    const std::string path = dir.file("grid.png");
    std::vector<std::uint32_t> words;
    for (std::uint32_t i = 0; i < 3 * 4; ++i) words.push_back(0xFF000000 | i * 0x010203);
    pngtest::write(path, pngtest::rgbaImage(3, 4, words));

    Picture picture = emptyPicture();
    picture.load(path.c_str());
    ASSERT_EQ(picture.width, 3);
    ASSERT_EQ(picture.height, 4);
    EXPECT_EQ(std::vector<std::uint32_t>(picture.pixels, picture.pixels + 12), words);
    std::free(picture.pixels);
}

TEST(PictureLoad, UnreadableFilesGiveAnEmptyPictureWithAReason) {
    pngtest::TempDir dir;
    Picture missing = emptyPicture();
    missing.load(dir.file("absent.png").c_str());
    EXPECT_EQ(missing.width, 0);
    EXPECT_EQ(missing.height, 0);
    EXPECT_NE(missing.pixels, nullptr);
    EXPECT_NE(std::strstr(pngError, "not found"), nullptr) << pngError;
    std::free(missing.pixels);

    const std::string text = dir.file("text.png");
    pngtest::writeBytes(text, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    Picture foreign = emptyPicture();
    foreign.load(text.c_str());
    EXPECT_EQ(foreign.width, 0);
    EXPECT_EQ(foreign.height, 0);
    EXPECT_NE(foreign.pixels, nullptr);
    EXPECT_STREQ(pngError, "not a PNG file");
    std::free(foreign.pixels);

    const std::string huge = dir.file("huge.png");
    pngtest::writeBytes(huge, pngtest::headerOnlyPng(20000, 10));
    Picture oversized = emptyPicture();
    oversized.load(huge.c_str());
    EXPECT_EQ(oversized.width, 0);
    EXPECT_EQ(oversized.height, 0);
    EXPECT_NE(std::strstr(pngError, "20000x10"), nullptr) << pngError;
    std::free(oversized.pixels);

    // The next file is unaffected by the failures before it.
    const std::string good = dir.file("good.png");
    pngtest::write(good, pngtest::rgbaImage(1, 1, {0x01020304}));
    Picture picture = emptyPicture();
    picture.load(good.c_str());
    ASSERT_EQ(picture.width, 1);
    EXPECT_EQ(picture.pixels[0], 0x01020304u);
    EXPECT_STREQ(pngError, "");
    std::free(picture.pixels);
}

TEST(PictureLoad, LongNamesAreCutTo259Characters) {
    pngtest::TempDir dir;
    // Build a folder chain so that a file path of exactly 259 characters exists.
    std::filesystem::path folder = dir.path();
    while (folder.string().size() < 259 - 120) folder /= std::string(60, 'd');
    std::filesystem::create_directories(folder);
    const std::size_t prefix = (folder / "").string().size();
    ASSERT_LT(prefix, 259u);
    const std::string path = (folder / std::string(259 - prefix, 'f')).string();
    ASSERT_EQ(path.size(), 259u);
    pngtest::write(path, pngtest::rgbaImage(1, 1, {0xFFABCDEF}));

    Picture picture = emptyPicture();
    picture.load((path + ".ignored-tail").c_str());
    ASSERT_EQ(picture.width, 1) << pngError;
    EXPECT_EQ(picture.pixels[0], 0xFFABCDEFu);
    std::free(picture.pixels);
}

}  // namespace
