#include "support/frame_fixture.h"

#include "platform/linux/drive_hooks.h"
#include "render/frame_buffer.h"
#include "render/picture.h"
#include "stages/stage_state.h"

void loadProgramPictures() {
    if (pic_wp.pixels == nullptr) pic_wp.load("wp_1280x720.png");
    if (pic_logo.pixels == nullptr) pic_logo.load("tx_logo.png");
    if (pic_sprite.pixels == nullptr) pic_sprite.load("sprite.png");
    ASSERT_EQ(pic_wp.width, 1280) << "run the tests from the build folder";
}

void StageFixture::SetUp() {
    BITMAPINFO bottomUp{};
    bottomUp.bmiHeader = BITMAPINFOHEADER{40, 1280, 720, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    hmemdc = CreateCompatibleDC(nullptr);
    hvram = CreateDIBSection(hmemdc, &bottomUp, DIB_RGB_COLORS, &bits, nullptr, 0);
    vramptr = static_cast<std::uint8_t*>(bits);
    SelectObject(hmemdc, hvram);

    BITMAPINFO topDown = bottomUp;
    topDown.bmiHeader.biHeight = -720;
    windowDC = CreateCompatibleDC(nullptr);
    windowBitmap = CreateDIBSection(windowDC, &topDown, DIB_RGB_COLORS, &bits, nullptr, 0);
    windowPixels = static_cast<std::uint32_t*>(bits);
    SelectObject(windowDC, windowBitmap);
    ps = PAINTSTRUCT{};
    ps.hdc = windowDC;

    drive::useVirtualClock(true);
    drive::setVirtualTime(50000);
    stage = 7;
    phase = 0;
}

void StageFixture::TearDown() {
    DeleteDC(hmemdc);
    DeleteObject(hvram);
    DeleteDC(windowDC);
    DeleteObject(windowBitmap);
    hmemdc = nullptr;
    hvram = nullptr;
    vramptr = nullptr;
    ps = PAINTSTRUCT{};
    drive::useVirtualClock(false);
}

std::uint32_t* StageFixture::windowRow(int y) const { return windowPixels + static_cast<std::ptrdiff_t>(y) * 1280; }

std::uint32_t& StageFixture::framePixel(int x, int y) const {
    return reinterpret_cast<std::uint32_t*>(vramptr)[(719 - y) * 1280 + x];
}

void StageFixture::measureOnce(void (*routine)()) {
    phase = 2;
    t_start = static_cast<std::int32_t>(drive::virtualTime());
    drive::advanceVirtualTime(1);
    routine();
}
