#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/frame_buffer.h"
#include "render/picture.h"

namespace {

constexpr int kW = 1280;
constexpr int kH = 720;
constexpr std::size_t kGuard = 4 * kW;  // words before and after the frame
constexpr std::uint32_t kGuardWord = 0xDEADBEEF;

// A test-owned frame buffer with guard words on both sides, and a picture
// whose pixel block the test fills.
class PictureBlit : public ::testing::Test {
protected:
    std::vector<std::uint32_t> memory = std::vector<std::uint32_t>(kGuard + std::size_t(kW) * kH + kGuard, kGuardWord);
    std::vector<std::uint32_t> block;
    Picture picture;
    std::uint8_t* savedVram = nullptr;

    void SetUp() override {
        savedVram = vramptr;
        vramptr = reinterpret_cast<std::uint8_t*>(memory.data() + kGuard);
        fillFrame(0);
        usePicture(1, 1, {0});
    }
    void TearDown() override {
        vramptr = savedVram;
        for (std::size_t i = 0; i < kGuard; ++i) {
            ASSERT_EQ(memory[i], kGuardWord) << "written before the frame at word " << i;
            ASSERT_EQ(memory[memory.size() - 1 - i], kGuardWord) << "written after the frame";
        }
    }

    void usePicture(int width, int height, std::vector<std::uint32_t> words) {
        block = std::move(words);
        block.resize(std::size_t(width) * height);
        picture.width = width;
        picture.height = height;
        picture.pixels = block.data();
    }
    std::uint32_t& at(int memoryRow, int x) { return memory[kGuard + std::size_t(memoryRow) * kW + x]; }
    void fillFrame(std::uint32_t word) { std::fill(memory.begin() + kGuard, memory.end() - kGuard, word); }
    std::size_t wordsNotEqualTo(std::uint32_t word) const {
        return std::size_t(std::count_if(memory.begin() + kGuard, memory.end() - kGuard,
                                         [word](std::uint32_t w) { return w != word; }));
    }
    // Blends one source word onto one destination word with drawSpriteAlpha.
    std::uint32_t blendOne(std::uint32_t destination, std::uint32_t source, int alpha) {
        usePicture(1, 1, {source});
        at(719, 0) = destination;
        picture.drawSpriteAlpha(0, 0, 1, 1, 0, 0, alpha);
        return at(719, 0);
    }
};

TEST_F(PictureBlit, BlendTruncatesTowardZero) {
    EXPECT_EQ(blendOne(0x00C8C8C8, 0xFF646464, 128), 0x00969696u);  // 200 toward 100
    EXPECT_EQ(blendOne(0x00646464, 0xFFC8C8C8, 128), 0x00969696u);  // 100 toward 200
    EXPECT_EQ(blendOne(0x00FFFFFF, 0xFF000000, 1), 0x00FEFEFEu);
    EXPECT_EQ(blendOne(0x000A0A0A, 0xFF000000, 1), 0x000A0A0Au);
    // Each channel on its own: blue 200->100, green 100->200, red 10->0 (-1280/255 = -5).
    EXPECT_EQ(blendOne(0x000A64C8, 0xFF00C864, 128), 0x00059696u);
}

TEST_F(PictureBlit, WideRectanglesFollowThePerPixelRules) {
    // Picture column s carries colour byte s in every channel; frame row d
    // carries d.  Every 7th source pixel has alpha 0 and must stay untouched,
    // and the frame's fourth byte varies so that keeping it is visible.
    std::vector<std::uint32_t> words;
    for (int row = 0; row < 256; ++row)
        for (int s = 0; s < 256; ++s) {
            const std::uint32_t alphaByte = (s + row) % 7 == 0 ? 0 : std::uint32_t(s ^ row) | 1;
            words.push_back(alphaByte << 24 | std::uint32_t(s) * 0x010101u);
        }
    usePicture(256, 256, words);
    auto destination = [](int d, int s) { return std::uint32_t(s * 13 & 0xFF) << 24 | std::uint32_t(d) * 0x010101u; };
    auto followsRule = [&](int memoryRow, int d, int s, int alpha, bool blend) -> ::testing::AssertionResult {
        const std::uint32_t source = words[std::size_t(d) * 256 + s];
        std::uint32_t expected = destination(d, s);
        if (source >> 24 != 0) {
            const int mixed = d + ((s - d) * alpha) / 255;
            expected = blend ? (expected & 0xFF000000u) | std::uint32_t(mixed) * 0x010101u : source;
        }
        if (at(memoryRow, 512 + s) == expected) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "d=" << d << " s=" << s << " alpha=" << alpha << ": got "
                                             << std::hex << at(memoryRow, 512 + s) << ", expected " << expected;
    };

    for (int alpha : {1, 2, 127, 128, 129, 200, 254, 255}) {
        for (int d = 0; d < 256; ++d)
            for (int s = 0; s < 256; ++s) at(d, 512 + s) = at(719 - d, 512 + s) = destination(d, s);
        // Split so that both the eight-pixel groups and a row's last pixels
        // meet every pair of bytes.
        picture.drawPictureAlpha(0, 0, 253, 256, 512, 0, alpha);
        picture.drawPictureAlpha(253, 0, 3, 256, 512 + 253, 0, alpha);
        picture.drawSpriteAlpha(0, 0, 256, 256, 512, 0, alpha);
        for (int d = 0; d < 256; ++d)
            for (int s = 0; s < 256; ++s) {
                ASSERT_TRUE(followsRule(d, d, s, alpha, true));
                ASSERT_TRUE(followsRule(719 - d, d, s, alpha, true));
            }
    }

    for (int d = 0; d < 256; ++d)
        for (int s = 0; s < 256; ++s) at(719 - d, 512 + s) = destination(d, s);
    picture.drawSprite(0, 0, 256, 256, 512, 0);
    for (int d = 0; d < 256; ++d)
        for (int s = 0; s < 256; ++s) ASSERT_TRUE(followsRule(719 - d, d, s, 0, false));
}

TEST_F(PictureBlit, AlphaZeroAndFullAlphaAreExact) {
    std::vector<std::uint32_t> words;
    for (std::uint32_t i = 0; i < 32 * 32; ++i) words.push_back(0xFF000000 | (i * 2654435761u >> 8));
    usePicture(32, 32, words);
    fillFrame(0x12345678);
    picture.drawSpriteAlpha(0, 0, 32, 32, 100, 100, 0);
    picture.drawPictureAlpha(0, 0, 32, 32, 100, 100, 0);
    EXPECT_EQ(wordsNotEqualTo(0x12345678), 0u);

    picture.drawSpriteAlpha(0, 0, 32, 32, 100, 200, 255);
    for (int row = 0; row < 32; ++row)
        for (int col = 0; col < 32; ++col)
            ASSERT_EQ(at(719 - 200 - row, 100 + col), 0x12000000u | (words[row * 32 + col] & 0xFFFFFF));

    picture.drawPictureAlpha(0, 0, 32, 32, 600, 300, 255);
    for (int row = 0; row < 32; ++row)
        for (int col = 0; col < 32; ++col)
            ASSERT_EQ(at(300 + row, 600 + col), 0x12000000u | (words[row * 32 + col] & 0xFFFFFF));
}

TEST_F(PictureBlit, SourceAlphaDecidesOnlyWhetherAPixelIsDrawn) {
    // Alpha bytes 0, 1 and 0x80 with the same colour.
    usePicture(3, 1, {0x00336699, 0x01336699, 0x80336699});
    fillFrame(0x7F000000);

    picture.drawSprite(0, 0, 3, 1, 0, 0);
    EXPECT_EQ(at(719, 0), 0x7F000000u);
    EXPECT_EQ(at(719, 1), 0x01336699u);  // the fourth byte takes the source alpha
    EXPECT_EQ(at(719, 2), 0x80336699u);

    picture.drawSpriteAlpha(0, 0, 3, 1, 0, 1, 255);
    EXPECT_EQ(at(718, 0), 0x7F000000u);
    EXPECT_EQ(at(718, 1), 0x7F336699u);  // the fourth byte stays
    EXPECT_EQ(at(718, 2), 0x7F336699u);

    picture.drawPictureAlpha(0, 0, 3, 1, 0, 5, 255);
    EXPECT_EQ(at(5, 0), 0x7F000000u);
    EXPECT_EQ(at(5, 1), 0x7F336699u);
    EXPECT_EQ(at(5, 2), 0x7F336699u);
    EXPECT_EQ(wordsNotEqualTo(0x7F000000), 6u);
}

TEST_F(PictureBlit, FullFramePictureLandsInMemoryOrder) {
    std::vector<std::uint32_t> words(std::size_t(kW) * kH);
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = 0xFF000000 | std::uint32_t(i);
    usePicture(kW, kH, words);
    fillFrame(0);
    picture.drawPictureAlpha(0, 0, kW, kH, 0, 0, 255);
    EXPECT_EQ(at(0, 0), 0x00000000u);  // picture row 0 on memory row 0, fourth byte untouched
    EXPECT_EQ(at(0, 5), 0x00000005u);
    EXPECT_EQ(at(719, 0), std::uint32_t(719 * kW));
    for (std::size_t i = 0; i < words.size(); ++i)
        ASSERT_EQ(memory[kGuard + i], words[i] & 0xFFFFFF) << "word " << i;
}

TEST_F(PictureBlit, SpriteRowsGoDownTheScreen) {
    std::vector<std::uint32_t> words;
    for (std::uint32_t row = 0; row < 32; ++row)
        for (std::uint32_t col = 0; col < 32; ++col) words.push_back(0xFF000000 | row << 8 | col);
    usePicture(32, 32, words);

    picture.drawSprite(0, 0, 32, 32, 0, 0);
    EXPECT_EQ(at(719, 0), 0xFF000000u);  // first row on the top line
    EXPECT_EQ(at(719 - 31, 31), 0xFF001F1Fu);
    EXPECT_EQ(wordsNotEqualTo(0), 32u * 32u);

    fillFrame(0);
    picture.drawSprite(0, 0, 32, 32, 1248, 688);  // last row on the bottom line, right edge
    EXPECT_EQ(at(31, 1248), 0xFF000000u);
    EXPECT_EQ(at(0, 1279), 0xFF001F1Fu);
    EXPECT_EQ(wordsNotEqualTo(0), 32u * 32u);

    fillFrame(0);
    picture.drawSpriteAlpha(0, 0, 32, 32, 1248, 688, 255);
    EXPECT_EQ(at(31, 1248), 0x00000000u);
    EXPECT_EQ(at(0, 1279), 0x00001F1Fu);
}

TEST_F(PictureBlit, RectanglesStartAtTheirSourceCorner) {
    // A 4x3 sheet; the 2x2 block at column 1, row 1 is drawn.
    std::vector<std::uint32_t> words;
    for (std::uint32_t i = 0; i < 12; ++i) words.push_back(0xFF000000 | i);
    usePicture(4, 3, words);
    picture.drawSprite(1, 1, 2, 2, 10, 20);
    EXPECT_EQ(at(699, 10), 0xFF000005u);
    EXPECT_EQ(at(699, 11), 0xFF000006u);
    EXPECT_EQ(at(698, 10), 0xFF000009u);
    EXPECT_EQ(at(698, 11), 0xFF00000Au);
    picture.drawPictureAlpha(1, 1, 2, 2, 10, 20, 255);
    EXPECT_EQ(at(20, 10), 0x00000005u);
    EXPECT_EQ(at(21, 11), 0x0000000Au);
    EXPECT_EQ(wordsNotEqualTo(0), 8u);
}

TEST_F(PictureBlit, EmptyRectanglesDrawNothing) {
    usePicture(32, 32, std::vector<std::uint32_t>(32 * 32, 0xFFFFFFFF));
    for (auto [w, h] : {std::pair{0, 32}, std::pair{32, 0}, std::pair{-5, 32}, std::pair{32, -1}}) {
        picture.drawSprite(0, 0, w, h, 0, 0);
        picture.drawSpriteAlpha(0, 0, w, h, 0, 0, 255);
        picture.drawPictureAlpha(0, 0, w, h, 0, 0, 255);
    }
    EXPECT_EQ(wordsNotEqualTo(0), 0u);
}

}  // namespace
