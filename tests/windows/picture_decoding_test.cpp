// PNG decoding through the real GDI+: the program's three pictures give the
// words their generator drew (which the Linux decoder is held to as well),
// and files that cannot be used give an empty picture with the reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render/picture.h"

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A folder of the test's own beside the build's pictures (the tests run in
// the build folder), removed at the end.
class BadPictures : public ::testing::Test {
protected:
    fs::path dir = fs::path("bad-pictures-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directory(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    Picture load(const fs::path& path) {
        Picture picture{};
        picture.load(path.string().c_str());
        return picture;
    }
};

void expectEmptyWithReason(const Picture& picture, const char* reason) {
    EXPECT_EQ(picture.width, 0);
    EXPECT_EQ(picture.height, 0);
    EXPECT_NE(picture.pixels, nullptr);
    EXPECT_NE(std::strstr(pngError, reason), nullptr) << "reason given: " << pngError;
    std::free(picture.pixels);
}

TEST(PictureDecoding, TheProgramsPicturesGiveTheWordsTheirGeneratorDrew) {
    const struct {
        const char* file;
        int width;
        int height;
    } pictures[] = {{"wp_1280x720.png", 1280, 720}, {"tx_logo.png", 1280, 720}, {"sprite.png", 128, 32}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.file);
        Picture picture{};
        picture.load(p.file);
        ASSERT_EQ(picture.width, p.width) << pngError;
        ASSERT_EQ(picture.height, p.height);
        EXPECT_STREQ(pngError, "");
        const std::vector<unsigned char> expected =
            readBytes(fs::path("generated/pixels") / fs::path(p.file).replace_extension(".bgra"));
        ASSERT_EQ(expected.size(), std::size_t(p.width) * p.height * 4);
        std::size_t differing = 0;
        std::size_t first = 0;
        for (std::size_t i = 0; i < expected.size() / 4; ++i) {
            std::uint32_t want;
            std::memcpy(&want, expected.data() + 4 * i, 4);
            if (picture.pixels[i] != want && differing++ == 0) first = i;
        }
        EXPECT_EQ(differing, 0u) << "first at word " << first;
        std::free(picture.pixels);
    }
}

TEST_F(BadPictures, MissingTextTruncatedAndOversizedFilesAreRefusedWithTheirReason) {
    expectEmptyWithReason(load(dir / "absent.png"), "file not found");

    writeBytes(dir / "text.png", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    expectEmptyWithReason(load(dir / "text.png"), "not a PNG file");

    std::vector<unsigned char> wallpaper = readBytes("wp_1280x720.png");
    wallpaper.resize(3000);
    writeBytes(dir / "cut.png", wallpaper);
    expectEmptyWithReason(load(dir / "cut.png"), "damaged");

    // The header claims 20000 x 10 pixels; nothing follows it.
    std::vector<unsigned char> header = readBytes("sprite.png");
    header.resize(33);
    const unsigned char size[8] = {0x00, 0x00, 0x4E, 0x20, 0x00, 0x00, 0x00, 0x0A};  // big-endian
    std::memcpy(header.data() + 16, size, sizeof size);
    writeBytes(dir / "huge.png", header);
    expectEmptyWithReason(load(dir / "huge.png"), "20000x10");  // refused before GDI+ decodes

    // The next file is unaffected by the failures before it.
    Picture sprite = load("sprite.png");
    EXPECT_EQ(sprite.width, 128);
    EXPECT_STREQ(pngError, "");
    std::free(sprite.pixels);
}

}  // namespace
