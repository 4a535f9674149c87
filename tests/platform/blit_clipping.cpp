// The SRCCOPY blits never write outside the destination or read outside the
// source, whatever rectangles they are given.  The destination sits inside a
// guarded buffer; the source bitmap is exactly its own size, so a read past
// it is caught by AddressSanitizer in the sanitizer build.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/linux/gdi_objects.h"

namespace {

constexpr std::uint32_t kGuard = 0xDEADBEEF;
constexpr std::uint32_t kUntouched = 0x01010101;

class BlitClipping : public ::testing::Test {
protected:
    static constexpr int kW = 100, kH = 60, kMargin = 10, kStride = kW + 2 * kMargin;
    std::vector<std::uint32_t> buffer = std::vector<std::uint32_t>(kStride * (kH + 2 * kMargin), kGuard);
    DeviceContext dst;
    HDC src = nullptr;
    HBITMAP srcBitmap = nullptr;
    std::uint32_t* srcPixels = nullptr;  // bottom-up, 40 x 30

    void SetUp() override {
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) at(x, y) = kUntouched;
        dst.target.rowZero = reinterpret_cast<std::uint8_t*>(&buffer[kMargin * kStride + kMargin]);
        dst.target.rowStep = kStride * 4;
        dst.target.width = kW;
        dst.target.height = kH;

        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{40, 40, 30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        src = CreateCompatibleDC(nullptr);
        srcBitmap = CreateDIBSection(src, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(src, srcBitmap);
        srcPixels = static_cast<std::uint32_t*>(bits);
        for (int y = 0; y < 30; ++y)  // GDI row y is memory row 29 - y
            for (int x = 0; x < 40; ++x) srcPixels[(29 - y) * 40 + x] = static_cast<std::uint32_t>(y << 8 | x);
    }
    void TearDown() override {
        DeleteDC(src);
        DeleteObject(srcBitmap);
    }
    std::uint32_t& at(int x, int y) { return buffer[static_cast<std::size_t>((y + kMargin) * kStride + x + kMargin)]; }
    void expectGuardIntact() {
        for (int y = -kMargin; y < kH + kMargin; ++y)
            for (int x = -kMargin; x < kW + kMargin; ++x)
                if (x < 0 || y < 0 || x >= kW || y >= kH) {
                    ASSERT_EQ(at(x, y), kGuard) << x << "," << y;
                }
    }
};

TEST_F(BlitClipping, StretchLargerThanTheDestinationWritesOnlyInsideIt) {
    ASSERT_TRUE(StretchBlt(&dst, -50, -30, 300, 200, src, 0, 0, 40, 30, SRCCOPY));
    expectGuardIntact();
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const int sx = static_cast<int>(std::floor((x + 50 + 0.5) * 40.0 / 300));
            const int sy = static_cast<int>(std::floor((y + 30 + 0.5) * 30.0 / 200));
            ASSERT_EQ(at(x, y), static_cast<std::uint32_t>(sy << 8 | sx)) << x << "," << y;
        }
}

TEST_F(BlitClipping, StretchFromOutsideTheSourceLeavesThoseDestinationPixelsAlone) {
    // Source rectangle (-10, -10) 60 x 50 around the 40 x 30 bitmap, drawn 2:1.
    ASSERT_TRUE(StretchBlt(&dst, 0, 0, 120, 100, src, -10, -10, 60, 50, SRCCOPY));
    expectGuardIntact();
    EXPECT_EQ(at(0, 0), kUntouched);    // samples source (-10, -10)
    EXPECT_EQ(at(19, 19), kUntouched);  // samples source (-1, -1)
    EXPECT_EQ(at(20, 20), 0u);          // samples source (0, 0)
    EXPECT_EQ(at(99, 59), static_cast<std::uint32_t>(19 << 8 | 39));
}

TEST_F(BlitClipping, BitBltCopiesOnlyWhereBothRectanglesOverlapTheirBitmaps) {
    ASSERT_TRUE(BitBlt(&dst, -5, 50, 200, 200, src, 10, -20, SRCCOPY));
    expectGuardIntact();
    // Destination (x, y) takes source (x + 15, y - 70): inside only for
    // y >= 70, which is below this destination, so nothing changes.
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) ASSERT_EQ(at(x, y), kUntouched);
    ASSERT_TRUE(BitBlt(&dst, 90, 55, 40, 30, src, 0, 0, SRCCOPY));
    expectGuardIntact();
    EXPECT_EQ(at(90, 55), 0u);
    EXPECT_EQ(at(99, 59), static_cast<std::uint32_t>(4 << 8 | 9));
    EXPECT_EQ(at(89, 55), kUntouched);
}

TEST_F(BlitClipping, BitBltWithinOneBitmapCopiesAsIfThroughABuffer) {
    for (int x = 0; x < kW; ++x) at(x, 0) = static_cast<std::uint32_t>(x);
    ASSERT_TRUE(BitBlt(&dst, 1, 0, 50, 1, &dst, 0, 0, SRCCOPY));  // overlapping, one pixel to the right
    for (int x = 1; x <= 50; ++x) ASSERT_EQ(at(x, 0), static_cast<std::uint32_t>(x - 1)) << x;
    ASSERT_TRUE(BitBlt(&dst, 0, 1, 40, 1, &dst, 60, 0, SRCCOPY));  // the same bitmap, apart
    for (int x = 0; x < 40; ++x) ASSERT_EQ(at(x, 1), static_cast<std::uint32_t>(x + 60)) << x;
    expectGuardIntact();
}

TEST_F(BlitClipping, EmptyAndInvertedRectanglesDrawNothing) {
    EXPECT_TRUE(StretchBlt(&dst, 0, 0, 0, 10, src, 0, 0, 40, 30, SRCCOPY));
    EXPECT_TRUE(StretchBlt(&dst, 0, 0, 10, 10, src, 0, 0, -40, 30, SRCCOPY));
    EXPECT_TRUE(BitBlt(&dst, 0, 0, -10, 10, src, 0, 0, SRCCOPY));
    EXPECT_TRUE(StretchBlt(&dst, 1000, 1000, 10, 10, src, 0, 0, 40, 30, SRCCOPY));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) ASSERT_EQ(at(x, y), kUntouched);
    expectGuardIntact();
}

}  // namespace
