#include <gtest/gtest.h>

#include "assets/png_decode.h"
#include "assets/title_layout.h"

namespace {
bool insidePiece(int x, int fileRow) {
    for (const SheetPiece& p : kSheetPieces)
        if (x >= p.sx && x < p.sx + p.w && fileRow >= p.sy && fileRow < p.sy + p.h) return true;
    return false;
}

double rowBrightness(const DecodedPng& image, int row) {
    double sum = 0;
    for (int x = 0; x < image.width; ++x) sum += image.at(x, row)[0] + image.at(x, row)[1] + image.at(x, row)[2];
    return sum / image.width;
}
}  // namespace

TEST(Wallpaper, IsAnOpaqueFrameSizedPicture) {
    DecodedPng wp = decodePngFile(assetPath("wp_1280x720.png"));
    ASSERT_TRUE(wp.ok());
    EXPECT_EQ(wp.width, 1280);
    EXPECT_EQ(wp.height, 720);
    int translucent = 0;
    for (int y = 0; y < wp.height; ++y)
        for (int x = 0; x < wp.width; ++x) translucent += wp.alpha(x, y) != 255;
    EXPECT_EQ(translucent, 0);
}

// The frame buffer shows stored row r on window row 719 - r, so the file keeps
// the picture upside down: the dark night sky must be in the last stored rows
// and the bright horizon (window row 520) well below them in the file.
TEST(Wallpaper, IsStoredUpsideDownForTheBottomUpFrame) {
    DecodedPng wp = decodePngFile(assetPath("wp_1280x720.png"));
    ASSERT_TRUE(wp.ok());
    double windowTop = rowBrightness(wp, 719), nearHorizon = rowBrightness(wp, 719 - 515);
    EXPECT_LT(windowTop * 3, nearHorizon);
}

TEST(LogoSheet, CoversThePiecesAndIsClearElsewhere) {
    DecodedPng logo = decodePngFile(assetPath("tx_logo.png"));
    ASSERT_TRUE(logo.ok());
    ASSERT_GE(logo.width, 1004);
    ASSERT_GE(logo.height, 655);

    int strayPixels = 0;
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            if (!insidePiece(x, y) && logo.alpha(x, y) != 0) ++strayPixels;
    EXPECT_EQ(strayPixels, 0);

    for (const SheetPiece& p : kSheetPieces) {
        int opaque = 0, clear = 0;
        for (int y = p.sy; y < p.sy + p.h; ++y)
            for (int x = p.sx; x < p.sx + p.w; ++x) {
                opaque += logo.alpha(x, y) == 255;
                clear += logo.alpha(x, y) == 0;
            }
        EXPECT_GT(opaque, p.w * p.h / 50) << "piece at " << p.sx << "," << p.sy;
        EXPECT_GT(clear, 0) << "piece at " << p.sx << "," << p.sy;
        // Each piece is drawn whole: its border keeps the wallpaper visible.
        for (int x = p.sx; x < p.sx + p.w; ++x) {
            EXPECT_EQ(logo.alpha(x, p.sy), 0);
            EXPECT_EQ(logo.alpha(x, p.sy + p.h - 1), 0);
        }
        for (int y = p.sy; y < p.sy + p.h; ++y) {
            EXPECT_EQ(logo.alpha(p.sx, y), 0);
            EXPECT_EQ(logo.alpha(p.sx + p.w - 1, y), 0);
        }
    }
}
