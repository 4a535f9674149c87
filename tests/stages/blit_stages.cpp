// Stage 3's scroll by two clipped copies and Stage 4's zoom geometry and
// nearest-neighbour copy.
#include <gtest/gtest.h>

#include <cmath>

#include "render/frame_buffer.h"
#include "stages/blit_stages.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"
#include "support/frame_fixture.h"

namespace {

class BlitStages : public StageFixture {
protected:
    void SetUp() override {
        StageFixture::SetUp();
        // Every frame pixel names its own column and GDI row.
        for (int y = 0; y < 720; ++y)
            for (int x = 0; x < 1280; ++x) framePixel(x, y) = static_cast<std::uint32_t>(y << 12 | x);
    }
    void expectRotatedBy(int rows) {
        for (int r = 0; r < 720; ++r) {
            const std::uint32_t want = static_cast<std::uint32_t>(((r + rows) % 720) << 12);
            ASSERT_EQ(windowRow(r)[0], want) << "window row " << r;
            ASSERT_EQ(windowRow(r)[1279], want | 1279) << "window row " << r;
        }
    }
};

TEST_F(BlitStages, ScrollShowsTheFrameRotatedUpByVirticalRows) {
    for (int start : {0, 1, 359, 719}) {
        virtical = start;
        measureOnce(fp0007);
        expectRotatedBy(start);
        EXPECT_EQ(virtical, (start + 1) % 720);
    }
}

TEST_F(BlitStages, The721stScrollFrameIsUnscrolledAgain) {
    virtical = 0;
    for (int i = 0; i < 720; ++i) measureOnce(fp0007);
    EXPECT_EQ(virtical, 0);
    measureOnce(fp0007);
    expectRotatedBy(0);
}

TEST(ZoomGeometry, MatchesTheSampleTable) {
    struct Row {
        int length, x, y, w, h;
    };
    for (const Row& r : {Row{8192, -640, -360, 2560, 1440}, Row{1, 0, 0, 1280, 720}, Row{7, 0, 0, 1281, 720},
                         Row{13, -1, 0, 1282, 721}, Row{4096, -320, -180, 1920, 1080},
                         Row{8191, -639, -359, 2559, 1439}}) {
        const ZoomRect z = zoomRect(r.length);
        EXPECT_EQ(z.x, r.x) << r.length;
        EXPECT_EQ(z.y, r.y) << r.length;
        EXPECT_EQ(z.w, r.w) << r.length;
        EXPECT_EQ(z.h, r.h) << r.length;
    }
}

TEST_F(BlitStages, ZoomMatchesADirectNearestNeighbourCopy) {
    for (int step : {8192, 1, 13, 4096, 8191}) {
        length = step;
        measureOnce(fp0008);
        const ZoomRect z = zoomRect(step);
        for (int wy = 0; wy < 720; wy += 7) {
            for (int wx = 0; wx < 1280; wx += 3) {
                const int sx = static_cast<int>(std::floor((wx - z.x + 0.5) * 1280.0 / z.w));
                const int sy = static_cast<int>(std::floor((wy - z.y + 0.5) * 720.0 / z.h));
                ASSERT_EQ(windowRow(wy)[wx], static_cast<std::uint32_t>(sy << 12 | sx))
                    << "length " << step << " at " << wx << "," << wy;
            }
        }
    }
    EXPECT_EQ(length, 1);  // after 8191 the zoom restarts
}

// The Stage 4 benchmark follows these steps, so they must be the stage's own.
TEST_F(BlitStages, ZoomStartsAtTheFirstStepAndOnlyGrowsFromThere) {
    length = 1;
    phase = 0;
    fp0008();  // the preparation
    EXPECT_EQ(length, kFirstZoomStep);
    measureOnce(fp0008);
    EXPECT_EQ(length, nextZoomStep(kFirstZoomStep));
    EXPECT_EQ(nextZoomStep(kFirstZoomStep), kFirstZoomStep + 1);
}

}  // namespace
