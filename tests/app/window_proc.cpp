// Window placement arithmetic, the keys the window procedure turns into the
// Enter latch and the scroll step, and the exit command.
#include <gtest/gtest.h>

#include <cstring>

#include "app/main_window.h"
#include "app/window_proc.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"

namespace {

TEST(ClientSizePlacement, AddsTheFrameAndCentresOnTheScreen) {
    // A frame of 8 pixels each side and a 31-pixel caption.
    const RECT r = clientSizePlacement(RECT{100, 50, 916, 689}, RECT{0, 0, 800, 600}, 1280, 720, 1920, 1080);
    EXPECT_EQ(r.right - r.left, 1296);
    EXPECT_EQ(r.bottom - r.top, 759);
    EXPECT_EQ(r.left, 960 - 648);
    EXPECT_EQ(r.top, 540 - 379);
}

TEST(ClientSizePlacement, AWindowWiderThanTheScreenStartsAtANegativeX) {
    const RECT r = clientSizePlacement(RECT{0, 0, 816, 600}, RECT{0, 0, 800, 600}, 1280, 720, 1280, 800);
    EXPECT_EQ(r.left, -8);
}

TEST(ClientSizePlacement, EachHalvingTruncatesOnItsOwn) {
    // A 1297-pixel-wide window on a 1920-pixel screen: 960 - 648.
    const RECT r = clientSizePlacement(RECT{0, 0, 1297, 800}, RECT{0, 0, 1280, 720}, 1280, 720, 1920, 1081);
    EXPECT_EQ(r.left, 312);
    EXPECT_EQ(r.top, 540 - 400);
    // Negative halves truncate toward zero too: -1297 / 2 is -648.
    const RECT n = clientSizePlacement(RECT{0, 0, 1297, 800}, RECT{0, 0, 2594, 720}, 0, 720, 1920, 1080);
    EXPECT_EQ(n.right - n.left, -1297);
    EXPECT_EQ(n.left, 960 + 648);
}

class Keys : public ::testing::Test {
protected:
    void SetUp() override { vadd = 0, bEnter = 0; }
    LRESULT down(WPARAM vk) { return WndProc(nullptr, WM_KEYDOWN, vk, 1); }
    LRESULT up(WPARAM vk) { return WndProc(nullptr, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u)); }
};

TEST_F(Keys, TheArrowLastPressedWinsAndReleasingEitherStops) {
    down(VK_UP);
    EXPECT_EQ(vadd, -4);
    down(VK_DOWN);
    EXPECT_EQ(vadd, 4);
    up(VK_UP);
    EXPECT_EQ(vadd, 0);  // although Down is still held
    down(VK_DOWN);
    down(VK_DOWN);  // auto-repeat
    EXPECT_EQ(vadd, 4);
    up(VK_DOWN);
    EXPECT_EQ(vadd, 0);
}

TEST_F(Keys, EnterLatchesOnReleaseOnly) {
    for (int i = 0; i < 20; ++i) down(VK_RETURN);  // held
    EXPECT_EQ(bEnter, 0);
    up(VK_RETURN);
    EXPECT_EQ(bEnter, 1);
}

TEST_F(Keys, OtherKeysChangeNothingAndReturn0) {
    for (WPARAM vk : {WPARAM{'A'}, VK_ESCAPE, VK_SPACE, VK_LEFT, VK_F1}) {
        EXPECT_EQ(down(vk), 0);
        EXPECT_EQ(up(vk), 0);
    }
    EXPECT_EQ(vadd, 0);
    EXPECT_EQ(bEnter, 0);
    down(0x10000 | VK_UP);  // only the low 16 bits name the key
    EXPECT_EQ(vadd, -4);
}

TEST(BrandString, IsAtMost48CharactersAndTerminated) {
    char brand[49];
    std::memset(brand, 'x', sizeof brand);
    readBrandString(brand);
    EXPECT_EQ(brand[48], 0);
    EXPECT_LE(std::strlen(brand), 48u);
}

TEST(ExitCommand, Command105DestroysTheWindowAndOthersDoNot) {
    ProgramHarness program;
    LRESULT other = -1;
    const int exitCode = program.run([&](long frame) {
        if (frame == 2) other = SendMessageA(hMainWnd, WM_COMMAND, 106, 0);
        if (frame == 3) SendMessageA(hMainWnd, WM_COMMAND, (1u << 16) | kExitCommand, 0);  // any notification code
        ASSERT_LT(frame, 4) << "the window outlived the exit command";
    });
    EXPECT_EQ(other, 0);
    EXPECT_EQ(exitCode, 0);
}

}  // namespace

namespace {

TEST(SystemKeys, AltF4ClosesTheWindowThroughTheDefaultProcedure) {
    ProgramHarness program;
    const int exitCode = program.run([&](long frame) {
        if (frame == 2) PostMessageA(hMainWnd, WM_SYSKEYDOWN, VK_F4, LPARAM{1} << 29);  // Alt held
        ASSERT_LT(frame, 4) << "Alt+F4 did not close the window";
    });
    EXPECT_EQ(exitCode, 0);
}

}  // namespace
