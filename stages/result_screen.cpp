// The result screen: every figure beside its percentage of the reference
// machine, until Enter returns to the title.
#include "stages/result_screen.h"

#include <cstring>

#include "platform/win32.h"
#include "render/frame_buffer.h"
#include "stages/frame_ops.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"

char strbuf[256];
const char referenceProcessor[] = "Intel(R) Core(TM) i3-10100F CPU @ 3.6GHz";

namespace {

// "％", "【" and "】" in code page 932; none of their bytes is '%'.
#define PCT "\x81\x93"
#define LBR "\x81\x79"
#define RBR "\x81\x7A"

const char caption[] = "[ Result : ]";

struct FrameRateLine {
    const char* format;
    const std::int32_t* frames;
    const double* ratio;
};
struct FigureLine {
    const char* format;
    const double* figure;
    const double* ratio;
};

// Lines 2 to 7, at x 48 and y 64, 96, ... 224.
const FrameRateLine frameRateLines[] = {
    {"Font Speed 1 = %d fps (%f" PCT ")", &FontSpeed1, &_FontSpeed1},
    {"Font Speed 2 = %d fps (%f" PCT ")", &FontSpeed2, &_FontSpeed2},
    {"CG Draw Speed (BitBlt)= %d fps (%f" PCT ")", &FastBltSpeed, &_FastBltSpeed},
    {"CG Draw Speed (StretchBlt)= %d fps (%f" PCT ")", &StretchBltSpeed, &_StretchBltSpeed},
    {"Draw Sprite Speed = %d fps (%f" PCT ")", &DrawSpriteSpeed, &_DrawSpriteSpeed},
    {"Draw Sprite Speed with Alpha = %d fps (%f" PCT ")", &DrawSpriteAlphaSpeed, &_DrawSpriteAlphaSpeed},
};

// Lines 8 to 20, at x 48 and y 256, 288, ... 640.
const FigureLine figureLines[] = {
    {"Read Memory  = %f MB/S (%f" PCT ")", &read1, &_read1},
    {"Read Memory (MMX) = %f MB/S (%f" PCT ")", &read2, &_read2},
    {"Read Memory (SSE) = %f MB/S (%f" PCT ")", &read3, &_read3},
    {"Write Memory = %f MB/S (%f" PCT ")", &write1, &_write1},
    {"Write Memory (MMX) = %f MB/S (%f" PCT ")", &write2, &_write2},
    {"Write Memory (SSE) = %f MB/S (%f" PCT ")", &write3, &_write3},
    {"Copy Memory = %f MB/S (%f" PCT ")", &copy1, &_copy1},
    {"Copy Memory (MMX) = %f MB/S (%f" PCT ")", &copy2, &_copy2},
    {"Copy Memory (SSE) = %f MB/S (%f" PCT ")", &copy3, &_copy3},
    {"Calc ADD = %f times/S (%f" PCT ")", &calc_add, &_calc_add},
    {"Calc SUB = %f times/S (%f" PCT ")", &calc_sub, &_calc_sub},
    {"Calc MUL = %f times/S (%f" PCT ")", &calc_mul, &_calc_mul},
    {"Calc DIV = %f times/S (%f" PCT ")", &calc_div, &_calc_div},
};

struct FixedLine {
    int x, y;
    const char* text;
};

// Lines 21 to 23 of the right-hand column, with the reference machine's
// graphics adapter in the row between its two blocks.
const FixedLine rightColumn[] = {
    {640, 64, LBR " Benchmark Base CPU Spec (=100" PCT ")" RBR},
    {640, 96, referenceProcessor},
    {640, 128, "VGA : GeForce GT 710"},
    {640, 160, LBR " Your CPU Spec " RBR},
};
const FixedLine prompt{1032, 672, "Push Enter Key to go Title."};

void drawBuffer(int x, int y) { TextOutA(hmemdc, x, y, strbuf, static_cast<int>(std::strlen(strbuf))); }

void drawFixed(const FixedLine& l) {
    crt_snprintf(strbuf, sizeof strbuf, "%s", l.text);
    drawBuffer(l.x, l.y);
}

}  // namespace

const char* formatFrameRateLine(int index) {
    const FrameRateLine& l = frameRateLines[index];
    crt_snprintf(strbuf, sizeof strbuf, l.format, *l.frames, *l.ratio * 100.0);
    return strbuf;
}

const char* formatFigureLine(int index) {
    const FigureLine& l = figureLines[index];
    crt_snprintf(strbuf, sizeof strbuf, l.format, *l.figure, *l.ratio * 100.0);
    return strbuf;
}

void fp0013() {
    if (bEnter == 1) {
        bEnter = 0;
        stage = 0;
        phase = 0;
    }
    vy = vy + vadd;
    if (vy < 0) vy = 0;
    if (vy > kCaptionOutOfSight) vy = kCaptionOutOfSight;  // out of sight already; never overflows
    fillFrame(0);

    TextOutA(hmemdc, 16, vy + 32, caption, 12);
    for (int i = 0; i < kFrameRateLines; ++i) {
        formatFrameRateLine(i);
        drawBuffer(48, 64 + 32 * i);
    }
    for (int i = 0; i < kFigureLines; ++i) {
        formatFigureLine(i);
        drawBuffer(48, 256 + 32 * i);
    }
    for (const FixedLine& l : rightColumn) drawFixed(l);
    TextOutA(hmemdc, 640, 192, cpuid_brand, static_cast<int>(strnlen(cpuid_brand, 48)));
    drawFixed(prompt);
    presentFrame();
}
