// The sprites' bounce rule and their motion over many frames.
#include <gtest/gtest.h>

#include "stages/sprite_stages.h"

namespace {

SPRITE moved(SPRITE s, int frames = 1) {
    for (int i = 0; i < frames; ++i) moveSprite(s);
    return s;
}

TEST(SpriteBounce, AtTheRightEdgeWithNoStepStaysPut) {
    const SPRITE s = moved({1248, 688, 0, 0}, 50);
    EXPECT_EQ(s.x, 1248);
    EXPECT_EQ(s.y, 688);
}

TEST(SpriteBounce, AtTheLeftEdgeMovingLeftTurnsWithoutMoving) {
    const SPRITE s = moved({0, 100, -3, 0});
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.xadd, 3);
    EXPECT_EQ(moved(s).x, 3);
}

TEST(SpriteBounce, InACornerBothStepsTurnAndTheSpriteStandsStillForAFrame) {
    const SPRITE s = moved({1246, 686, 4, 4});
    EXPECT_EQ(s.x, 1246);
    EXPECT_EQ(s.y, 686);
    EXPECT_EQ(s.xadd, -4);
    EXPECT_EQ(s.yadd, -4);
    const SPRITE t = moved(s);
    EXPECT_EQ(t.x, 1242);
    EXPECT_EQ(t.y, 682);
}

// An independent model: positions as integers, each axis bouncing on its
// own between 0 and the last position whose move still stays below the limit.
struct Axis {
    int position, step;
    void advance(int limit) {
        const int next = position + step;
        if (next < 0 || next >= limit) {
            step = -step;
        } else {
            position = next;
        }
    }
};

TEST(SpriteMotion, PlacedSpritesFollowTheIndependentModelAndStayInsideTheFrame) {
    placeSprites();
    std::vector<Axis> xs, ys;
    for (const SPRITE& s : sprite) {
        xs.push_back({static_cast<int>(s.x), static_cast<int>(s.xadd)});
        ys.push_back({static_cast<int>(s.y), static_cast<int>(s.yadd)});
        ASSERT_GE(s.xadd, -4);
        ASSERT_LE(s.xadd, 4);
    }
    for (int frame = 0; frame < 3000; ++frame) {
        for (std::size_t i = 0; i < 1024; ++i) {
            moveSprite(sprite[i]);
            xs[i].advance(1248);
            ys[i].advance(688);
            ASSERT_EQ(sprite[i].x, static_cast<float>(xs[i].position)) << "sprite " << i << " frame " << frame;
            ASSERT_EQ(sprite[i].y, static_cast<float>(ys[i].position)) << "sprite " << i << " frame " << frame;
            ASSERT_GE(sprite[i].x, 0);
            ASSERT_LE(sprite[i].x, 1248);
            ASSERT_GE(sprite[i].y, 0);
            ASSERT_LE(sprite[i].y, 688);
        }
    }
}

}  // namespace
