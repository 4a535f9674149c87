// What TextOutA writes: colour, blending, clipping, and nothing without a font.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/text_surface.h"

namespace {

constexpr std::uint32_t kBlue = 0x000000FF;

bool between(std::uint32_t v, std::uint32_t a, std::uint32_t b, int shift) {
    const int c = static_cast<int>(v >> shift & 0xFF), lo = static_cast<int>(a >> shift & 0xFF),
              hi = static_cast<int>(b >> shift & 0xFF);
    return c >= std::min(lo, hi) && c <= std::max(lo, hi);
}

}  // namespace

TEST(TextDraw, ColourIsTurnedIntoPixelOrderAndBlendedOverTheBackground) {
    auto font = makeGothic(32, 16);
    ASSERT_NE(font, nullptr);
    GuardedSurface s(32, 32, true, kBlue);
    s.dc.font = static_cast<FontObject*>(font.get());
    s.dc.textColor = 0x0000FF;  // red in COLORREF order
    ASSERT_TRUE(TextOutA(&s.dc, 0, 0, "\x82\xA0", 2));
    const std::uint32_t red = 0x00FF0000;
    int full = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t p = s.pixel(x, y);
            full += p == red;
            for (int shift : {0, 8, 16}) EXPECT_TRUE(between(p, kBlue, red, shift)) << std::hex << p;
            EXPECT_EQ(p >> 24, 0u);
        }
    EXPECT_GT(full, 20);
}

TEST(TextDraw, ClippedCopiesDrawTheirVisiblePart) {
    auto font = makeGothic(32, 16);
    ASSERT_NE(font, nullptr);
    auto* f = static_cast<FontObject*>(font.get());
    const std::string kana = "\x82\xA0";

    // Reference: the glyph drawn well inside a surface at (40, 40).  A
    // colour over a coloured background makes every blended pixel count.
    const COLORREF colour = 0x3399CC;
    GuardedSurface whole(120, 120, false, kBlue);
    whole.dc.font = f;
    whole.dc.textColor = colour;
    TextOutA(&whole.dc, 40, 40, kana.data(), 2);

    const int w = 50, h = 45;
    std::vector<std::pair<int, int>> places = {{-1, 0},        {0, -1},    {-1, -1},       {5, h - 31},
                                               {w - 5, h - 7}, {-28, -30}, {w - 1, h - 1}, {-200, 5}, {5, 900}};
    for (int px = w - 36; px <= w - 26; ++px) places.emplace_back(px, 4);  // right edge near the glyph's padding
    for (auto [px, py] : places) {
        for (bool bottomUp : {false, true}) {
            GuardedSurface s(w, h, bottomUp, kBlue);
            s.dc.font = f;
            s.dc.textColor = colour;
            EXPECT_TRUE(TextOutA(&s.dc, px, py, kana.data(), 2));
            EXPECT_TRUE(s.guardIntact()) << px << "," << py;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int rx = x - px + 40, ry = y - py + 40;
                    const bool inRef = rx >= 0 && rx < 120 && ry >= 0 && ry < 120;
                    const std::uint32_t expected = inRef ? whole.pixel(rx, ry) : kBlue;
                    ASSERT_EQ(s.pixel(x, y), expected) << px << "," << py << " at " << x << "," << y;
                }
        }
    }
}

TEST(TextDraw, LongLinesStopAtTheRightEdge) {
    auto font = makeGothic(16, 8);
    ASSERT_NE(font, nullptr);
    GuardedSurface s(100, 16);
    s.dc.font = static_cast<FontObject*>(font.get());
    const std::string line = "Draw Sprite Speed with Alpha = 121 fps (100.000000\x81\x93)";
    EXPECT_TRUE(TextOutA(&s.dc, 3, 0, line.data(), static_cast<int>(line.size())));
    EXPECT_TRUE(s.guardIntact());
    EXPECT_GT(s.inkCount(), 100);
}

TEST(TextDraw, NothingIsDrawnWithoutAFontOrTarget) {
    GuardedSurface s(32, 32);
    EXPECT_TRUE(TextOutA(&s.dc, 0, 0, "A", 1));  // no font selected
    FontObject empty;                             // a font that could not find its face
    s.dc.font = &empty;
    EXPECT_TRUE(TextOutA(&s.dc, 0, 0, "\x82\xA0", 2));
    EXPECT_EQ(s.inkCount(), 0);
    EXPECT_TRUE(s.guardIntact());

    auto font = makeGothic(16, 8);
    ASSERT_NE(font, nullptr);
    DeviceContext noTarget;
    noTarget.font = static_cast<FontObject*>(font.get());
    EXPECT_TRUE(TextOutA(&noTarget, 0, 0, "A", 1));
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "A", 1));
    s.dc.font = noTarget.font;
    EXPECT_FALSE(TextOutA(&s.dc, 0, 0, nullptr, 1));
    EXPECT_FALSE(TextOutA(&s.dc, 0, 0, "A", -1));
    EXPECT_TRUE(TextOutA(&s.dc, 0, 0, "A", 0));
    EXPECT_EQ(s.inkCount(), 0);
}

TEST(TextDraw, ExtremeCoordinatesDoNotOverflow) {
    auto font = makeGothic(16, 8);
    ASSERT_NE(font, nullptr);
    GuardedSurface s(16, 16);
    s.dc.font = static_cast<FontObject*>(font.get());
    const std::string line(64, 'W');
    for (auto [x, y] : {std::pair{INT_MAX - 8, 0}, std::pair{INT_MIN, 0}, std::pair{0, INT_MAX}, std::pair{0, INT_MIN}})
        EXPECT_TRUE(TextOutA(&s.dc, x, y, line.data(), 64));
    EXPECT_EQ(s.inkCount(), 0);
    EXPECT_TRUE(s.guardIntact());
}

TEST(TextDraw, ADanglingLeadByteAndControlBytesDrawNothingOutsideTheirCells) {
    auto font = makeGothic(16, 8);
    ASSERT_NE(font, nullptr);
    GuardedSurface s(24, 16);
    s.dc.font = static_cast<FontObject*>(font.get());
    const char text[] = {'\t', '\0', '\x82'};
    EXPECT_TRUE(TextOutA(&s.dc, 0, 0, text, 3));
    EXPECT_TRUE(s.guardIntact());
}
