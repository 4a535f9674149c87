// Where glyphs land: inside their cells, half- or full-width, upright.
#include <gtest/gtest.h>

#include <string>

#include "tests/platform/text_surface.h"

namespace {

const char* const kKana[] = {"\x82\xA0", "\x82\xA2", "\x82\xA4", "\x82\xA6", "\x82\xA8"};

int rightmostInk(const GuardedSurface& s) {
    int right = -1;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != 0) right = std::max(right, x);
    return right;
}

}  // namespace

TEST(TextGlyphs, TheGothicFaceIsFoundForBothSizes) {
    for (auto [h, w] : {std::pair{16, 8}, std::pair{32, 16}}) {
        auto font = makeGothic(h, w);
        ASSERT_NE(font, nullptr);
        auto* f = static_cast<FontObject*>(font.get());
        EXPECT_EQ(f->cellHeight, h);
        EXPECT_EQ(f->cellWidth, w);
        EXPECT_NE(f->face, nullptr);
    }
}

TEST(TextGlyphs, PrintableAsciiStaysInsideItsCell) {
    for (auto [h, w] : {std::pair{16, 8}, std::pair{32, 16}}) {
        auto font = makeGothic(h, w);
        ASSERT_NE(font, nullptr);
        for (char c = 0x20; c < 0x7F; ++c) {
            GuardedSurface cell(w, h);
            cell.dc.font = static_cast<FontObject*>(font.get());
            EXPECT_TRUE(TextOutA(&cell.dc, 0, 0, &c, 1));
            EXPECT_TRUE(cell.guardIntact()) << "'" << c << "' in " << w << "x" << h;
            if (c != ' ') {
                EXPECT_GT(cell.inkCount(), 0) << "'" << c << "' in " << w << "x" << h;
            }
        }
    }
}

TEST(TextGlyphs, KanaStayInsideTheirCellAndUseBothHalves) {
    for (auto [h, w] : {std::pair{16, 8}, std::pair{32, 16}}) {
        auto font = makeGothic(h, w);
        ASSERT_NE(font, nullptr);
        for (const char* kana : kKana) {
            GuardedSurface cell(2 * w, h);
            cell.dc.font = static_cast<FontObject*>(font.get());
            EXPECT_TRUE(TextOutA(&cell.dc, 0, 0, kana, 2));
            EXPECT_TRUE(cell.guardIntact()) << w << "x" << h;
            EXPECT_GE(rightmostInk(cell), w + w / 2) << "a full-width glyph reaches into its second half";
        }
    }
}

TEST(TextGlyphs, CharactersAdvanceByOneOrTwoCellWidths) {
    auto font = makeGothic(32, 16);
    ASSERT_NE(font, nullptr);
    auto* f = static_cast<FontObject*>(font.get());

    // The same glyph drawn alone at the expected pen position must match
    // what a string put there.
    auto sameAs = [&](const std::string& text, const std::string& last, int pen) {
        GuardedSurface line(96, 32), alone(96, 32);
        line.dc.font = alone.dc.font = f;
        TextOutA(&line.dc, 0, 0, text.data(), static_cast<int>(text.size()));
        GuardedSurface head(96, 32);
        head.dc.font = f;
        const std::string prefix = text.substr(0, text.size() - last.size());
        TextOutA(&head.dc, 0, 0, prefix.data(), static_cast<int>(prefix.size()));
        TextOutA(&alone.dc, pen, 0, last.data(), static_cast<int>(last.size()));
        for (int y = 0; y < 32; ++y)
            for (int x = pen; x < 96; ++x)
                if (line.pixel(x, y) != std::max(alone.pixel(x, y), head.pixel(x, y))) return false;
        return alone.inkCount() > 0;
    };
    EXPECT_TRUE(sameAs("AB", "B", 16));
    EXPECT_TRUE(sameAs("\x82\xA0" "B", "B", 32));
    EXPECT_TRUE(sameAs("A\x82\xA2", "\x82\xA2", 16));
    EXPECT_TRUE(sameAs("\x82\xA0\x82\xA2", "\x82\xA2", 32));
}

TEST(TextGlyphs, ResultScreenSymbolsAreFullWidthGlyphs) {
    auto font = makeGothic(16, 8);
    ASSERT_NE(font, nullptr);
    for (const char* s : {"\x81\x93", "\x81\x79", "\x81\x7A"}) {
        GuardedSurface cell(16, 16);
        cell.dc.font = static_cast<FontObject*>(font.get());
        TextOutA(&cell.dc, 0, 0, s, 2);
        EXPECT_TRUE(cell.guardIntact());
        EXPECT_GT(cell.inkCount(), 0);
    }
}

TEST(TextGlyphs, BottomUpTargetDrawsUpright) {
    auto font = makeGothic(32, 16);
    ASSERT_NE(font, nullptr);
    GuardedSurface down(40, 40, false), up(40, 40, true);
    down.dc.font = up.dc.font = static_cast<FontObject*>(font.get());
    TextOutA(&down.dc, 4, 3, "T", 1);
    TextOutA(&up.dc, 4, 3, "T", 1);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(up.pixel(x, y), down.pixel(x, y)) << x << "," << y;
    EXPECT_TRUE(up.guardIntact());
    // GDI row y of a bottom-up surface is memory row height-1-y.
    EXPECT_EQ(up.at(10, 39 - 20), up.pixel(10, 20));

    // A T is wide at its top and narrow at its foot.
    auto inkInRow = [&](int y) {
        int n = 0;
        for (int x = 0; x < 40; ++x) n += down.pixel(x, y) != 0;
        return n;
    };
    int top = 0, bottom = 39;
    while (top < 40 && inkInRow(top) == 0) ++top;
    while (bottom >= 0 && inkInRow(bottom) == 0) --bottom;
    ASSERT_LT(top, bottom);
    EXPECT_GT(inkInRow(top), 2 * inkInRow(bottom));
}
