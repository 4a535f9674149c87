// Thousands of random key presses and releases during a run: they may move
// only the Enter latch and the scroll step, exactly as the window procedure's
// rules say, and through the real event path they change no frame at all.
#include <SDL.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/main_window.h"
#include "frame_checks.h"
#include "platform/linux/drive_hooks.h"
#include "program_state.h"
#include "support/quick_kernels.h"
#include "support/program_harness.h"

namespace {

struct KeyModel {
    std::int32_t vadd;
    std::int32_t bEnter;
    void apply(UINT message, WPARAM wParam) {
        const WPARAM vk = wParam & 0xFFFF;
        if (message == WM_KEYDOWN && vk == VK_UP) vadd = -4;
        if (message == WM_KEYDOWN && vk == VK_DOWN) vadd = 4;
        if (message == WM_KEYUP && vk == VK_RETURN) bEnter = 1;
        if (message == WM_KEYUP && (vk == VK_UP || vk == VK_DOWN)) vadd = 0;
    }
};

// Sends `count` random key messages straight to the window procedure, between
// two frames, and checks each one and the state they leave.
void stormBetweenFrames(std::mt19937& random, int count, bool withEnterAndArrows) {
    const ProgramState before = ProgramState::now();
    KeyModel model{vadd, bEnter};
    std::uniform_int_distribution<int> anyKey(0, 0x1FF);
    std::uniform_int_distribution<std::uint32_t> junk;
    for (int i = 0; i < count; ++i) {
        WPARAM vk = static_cast<WPARAM>(anyKey(random));
        if (withEnterAndArrows && i % 9 == 0) vk = (i / 9) % 3 == 0 ? VK_RETURN : (i / 9) % 3 == 1 ? VK_UP : VK_DOWN;
        if (!withEnterAndArrows && (vk == VK_RETURN || vk == VK_UP || vk == VK_DOWN)) continue;
        // Only the low 16 bits are the key; the rest must not matter.
        const WPARAM wParam = vk | static_cast<WPARAM>(junk(random) & 0xFFFF0000u);
        const UINT message = junk(random) & 1 ? WM_KEYDOWN : WM_KEYUP;
        const MSG msg{hMainWnd, message, wParam, static_cast<LPARAM>(junk(random)), 0, POINT{0, 0}};
        ASSERT_EQ(DispatchMessageA(&msg), 0) << "key " << vk;
        model.apply(message, wParam);
    }
    const ProgramState after = ProgramState::now();
    EXPECT_TRUE(after.sameBesideKeys(before)) << "at stage " << before.stage << " phase " << before.phase;
    EXPECT_EQ(after.vadd, model.vadd);
    EXPECT_EQ(after.bEnter, model.bEnter);
}

TEST(KeyStorm, KeysChangeOnlyTheEnterLatchAndTheScrollStep) {
    quick::Kernels kernels;
    ProgramHarness program;
    std::mt19937 random(20240611);
    long storms = 0;
    const int exitCode = program.run([&](long frame) {
        if (frame % 13 == 5 && storms < 200) {
            const std::int32_t keepEnter = bEnter, keepVadd = vadd;
            stormBetweenFrames(random, 400, true);
            ++storms;
            // Put the two back so the run keeps to its script.
            bEnter = keepEnter;
            vadd = keepVadd;
        }
        if (stage == 3) drive::tapKey(VK_RETURN);
        if (stage == 13) drive::requestClose();
        drive::advanceVirtualTime(500);
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_GE(storms, 70);
}

// The same run twice from a fresh start, once with storms of every other key
// pushed through the window system as a keyboard would send them.
std::vector<std::uint64_t> presentedFrames(bool storm) {
    quick::Kernels kernels;
    crt_srand(1);  // as a fresh process starts
    ProgramHarness program;
    std::vector<std::uint64_t> hashes;
    drive::setPresentHook([&](const drive::Frame& f) { hashes.push_back(frameHash(f)); });
    std::mt19937 random(7);
    std::uniform_int_distribution<int> anyKey(0, SDL_NUM_SCANCODES - 1);
    const int exitCode = program.run([&](long frame) {
        if (storm && frame % 3 == 0) {
            for (int i = 0; i < 40; ++i) {
                const auto scancode = static_cast<SDL_Scancode>(anyKey(random));
                const SDL_Keycode key = SDL_GetKeyFromScancode(scancode);
                if (key == SDLK_RETURN || key == SDLK_RETURN2 || key == SDLK_KP_ENTER || key == SDLK_UP ||
                    key == SDLK_DOWN)
                    continue;
                SDL_Event e{};
                e.type = i % 2 ? SDL_KEYUP : SDL_KEYDOWN;
                e.key.state = i % 2 ? SDL_RELEASED : SDL_PRESSED;
                e.key.repeat = i % 5 == 0;
                e.key.keysym.scancode = scancode;
                e.key.keysym.sym = key;
                SDL_PushEvent(&e);
            }
        }
        if (stage == 3 && frame % 4 == 0) drive::tapKey(VK_RETURN);
        if (stage == 13) drive::requestClose();
        drive::advanceVirtualTime(500);
    });
    EXPECT_EQ(exitCode, 0);
    return hashes;
}

TEST(KeyStorm, OtherKeysThroughTheEventQueueChangeNoFrame) {
    const std::vector<std::uint64_t> quiet = presentedFrames(false);
    const std::vector<std::uint64_t> stormy = presentedFrames(true);
    ASSERT_GT(quiet.size(), 900u);
    ASSERT_EQ(quiet.size(), stormy.size());
    for (std::size_t i = 0; i < quiet.size(); ++i) ASSERT_EQ(quiet[i], stormy[i]) << "frame " << i;
}

}  // namespace
