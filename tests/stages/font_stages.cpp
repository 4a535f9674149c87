// The runtime's generator and what the font stages draw from it.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_window.h"
#include "platform/linux/gdi_objects.h"
#include "render/frame_buffer.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"
#include "support/frame_fixture.h"

namespace {

TEST(RuntimeRand, StartsWhereTheUnseededRuntimeStarts) {
    crt_srand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(crt_rand(), value);
    for (int i = 0; i < 100000; ++i) {
        const int r = crt_rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

// The seed whose first draw is `value`: the step x * 214013 + 2531011 is
// invertible modulo 2^32.
unsigned seedDrawing(int value) {
    std::uint32_t inverse = 214013;  // Newton's iteration for 1/214013 mod 2^32
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    const std::uint32_t state = static_cast<std::uint32_t>(value) << 16;
    return (state - 2531011u) * inverse;
}

class FontStages : public StageFixture {
protected:
    void SetUp() override {
        StageFixture::SetUp();
        hFont = CreateFontA(16, 8, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, kFaceName);
        hFont01 = CreateFontA(32, 16, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FF_ROMAN, kFaceName);
        ASSERT_NE(hFont, nullptr);
        SelectObject(hmemdc, hFont);
        SetBkMode(hmemdc, TRANSPARENT);
        SetTextColor(hmemdc, 0xFFFFFF);
    }
    // The window's top-left w x h cell after drawing.
    std::vector<std::uint32_t> cell(int w, int h) {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < h; ++y) pixels.insert(pixels.end(), windowRow(y), windowRow(y) + w);
        return pixels;
    }
};

TEST_F(FontStages, Stage1DrawsZOnlyFor32767) {
    crt_srand(seedDrawing(32767));
    EXPECT_EQ(crt_rand(), 32767);
    crt_srand(seedDrawing(32767));
    measureOnce(fp0005);
    const std::vector<std::uint32_t> drawn = cell(8, 16);

    SelectObject(windowDC, hFont);
    SetBkMode(windowDC, TRANSPARENT);
    SetTextColor(windowDC, 0xFFFFFF);
    std::fill(windowPixels, windowPixels + 1280 * 720, 0u);
    TextOutA(windowDC, 0, 0, "Z", 1);
    EXPECT_EQ(drawn, cell(8, 16));

    crt_srand(seedDrawing(32766));  // 32766 * 35 / 32767 is 34, 'Y'
    measureOnce(fp0005);
    EXPECT_NE(cell(8, 16), drawn);
}

TEST_F(FontStages, Stage2OutlinesEachCharacterAndLeavesTheDefaultFontAndWhite) {
    crt_srand(seedDrawing(32767));  // お
    measureOnce(fp0006);
    // Blue background, white and dark outline pixels inside the first cell.
    int white = 0, black = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t p = windowRow(y)[x] & 0xFFFFFF;
            white += p == 0xFFFFFF;
            black += (p & 0xFF) < 0x40;  // the outline darkens the blue
        }
    EXPECT_GT(white, 20);
    EXPECT_GT(black, 20);
    EXPECT_EQ(windowRow(710)[640] & 0xFFFFFF, 0x0000FFu) << "no cell starts at or below row 704";
    EXPECT_EQ(hmemdc->font, reinterpret_cast<FontObject*>(hFont));
    EXPECT_EQ(hmemdc->textColor, 0xFFFFFFu);
}

}  // namespace
