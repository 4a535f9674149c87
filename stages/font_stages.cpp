// Stages 1 and 2: full frames of GDI text, one call per character.
#include "platform/win32.h"
#include "render/frame_buffer.h"
#include "stages/frame_ops.h"
#include "stages/frame_rate_stage.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"

namespace {

const char fontnum[37] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// あ い う え お in code page 932.
const std::uint16_t fontchar[5] = {0x82A0, 0x82A2, 0x82A4, 0x82A6, 0x82A8};

void fontSpeed1Frame() {
    fillFrame(0);
    for (int y = 0; y < 720; y += 16) {
        for (int x = 0; x < 1280; x += 8) {
            // rand() stays within 0..32767, so the index reaches 35 ('Z')
            // only for 32767 and never the terminating NUL.
            const int index = crt_rand() * 35 / 32767;
            TextOutA(hmemdc, x, y, &fontnum[index], 1);
        }
    }
    presentFrame();
}

void fontSpeed2Prepare() { fillFrame(0); }

void fontSpeed2Frame() {
    fillFrame(0x000000FF);
    SelectObject(hmemdc, hFont01);
    for (int y = 0; y < 704; y += 32) {
        for (int x = 0; x < 1280; x += 32) {
            const int index = crt_rand() * 4 / 32767;
            const char text[3] = {static_cast<char>(fontchar[index] >> 8), static_cast<char>(fontchar[index] & 0xFF),
                                  0};
            SetTextColor(hmemdc, 0x000000);
            TextOutA(hmemdc, x - 1, y, text, 2);
            TextOutA(hmemdc, x + 1, y, text, 2);
            TextOutA(hmemdc, x, y - 1, text, 2);
            TextOutA(hmemdc, x, y + 1, text, 2);
            SetTextColor(hmemdc, 0xFFFFFF);
            TextOutA(hmemdc, x, y, text, 2);
        }
    }
    SelectObject(hmemdc, hFont);
    presentFrame();
}

const FrameRateStage fontSpeed1{"Stage 1", "Font Speed 1", &FontSpeed1, &_FontSpeed1, 45.0, nullptr, true,
                                fontSpeed1Frame};
const FrameRateStage fontSpeed2{"Stage 2",         "Font Speed 2", &FontSpeed2,    &_FontSpeed2, 17.0,
                                fontSpeed2Prepare, true,           fontSpeed2Frame};

}  // namespace

void fp0005() { runFrameRateStage(fontSpeed1); }
void fp0006() { runFrameRateStage(fontSpeed2); }
