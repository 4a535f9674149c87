#include "app/window_proc.h"

#include <cstdlib>

#include "app/font_check.h"
#include "app/main_window.h"
#include "app/picture_check.h"
#include "kernels/work_buffers.h"
#include "render/frame_buffer.h"
#include "render/picture.h"
#include "stages/stage_state.h"

BITMAPINFOHEADER bmi;
std::uint32_t time_int = 0;
TIMECAPS tc;
MMRESULT TimerID = 0;
LPTIMECALLBACK QH_TimerProc3 = kIdleTimerCallback;

void readBrandString(char (&brand)[49]) {
    for (int i = 0; i < 3; ++i) {
        int regs[4];
        cpuid(regs, static_cast<int>(0x80000002u + static_cast<unsigned>(i)));
        for (int r = 0; r < 4; ++r)
            for (int b = 0; b < 4; ++b)
                brand[i * 16 + r * 4 + b] = static_cast<char>((static_cast<std::uint32_t>(regs[r]) >> (8 * b)) & 0xFF);
    }
    brand[48] = 0;
}

void QH_SetTimer() {
    time_int = 16;
    timeGetDevCaps(&tc, sizeof(TIMECAPS));
    if (time_int < tc.wPeriodMin) {
        time_int = tc.wPeriodMin;
    } else if (time_int > tc.wPeriodMax) {
        time_int = tc.wPeriodMax;
    }
    timeBeginPeriod(time_int);
    TimerID = timeSetEvent(time_int, time_int, QH_TimerProc3, 16, TIME_PERIODIC);
    if (TimerID == 0) MessageBoxA(nullptr, "error", "timer", MB_OK);
}

namespace {

void createFrameBuffer(HWND window) {
    bmi = BITMAPINFOHEADER{};
    bmi.biSize = sizeof(BITMAPINFOHEADER);
    bmi.biWidth = viewW;
    bmi.biHeight = viewH;  // positive: bottom-up
    bmi.biPlanes = 1;
    bmi.biBitCount = 32;
    bmi.biCompression = BI_RGB;

    hFont = CreateFontA(32, 16, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, kFaceName);
    HDC hdc = GetDC(window);
    hmemdc = CreateCompatibleDC(hdc);
    void* bits = nullptr;
    hvram = CreateDIBSection(hmemdc, reinterpret_cast<const BITMAPINFO*>(&bmi), DIB_RGB_COLORS, &bits, nullptr, 0);
    vramptr = static_cast<std::uint8_t*>(bits);
    SelectObject(hmemdc, hvram);
    SelectObject(hmemdc, hFont);
    SetBkMode(hmemdc, TRANSPARENT);
    SetTextColor(hmemdc, 0x00FFFFFF);
    ReleaseDC(window, hdc);
}

// Every byte of a work buffer is written once now: pages never written read
// the kernel's shared zero page, which would make the read kernels measure
// the cache and the copies a page that is never there.
std::int32_t* allocateWorkBuffer(std::int32_t*& raw, int exitCode) {
    raw = static_cast<std::int32_t*>(std::malloc(kWorkBufferBytes));
    if (raw == nullptr) std::exit(exitCode);
    prefaultWorkBuffer(raw, kWorkBufferBytes);
    return alignWorkBuffer(raw);
}

void onCreate(HWND window) {
    readBrandString(cpuid_brand);
    QH_SetTimer();
    requireJapaneseFont();
    createFrameBuffer(window);

    loadRequiredPicture(pic_wp, "wp_1280x720.png", 1280, 720, PictureSize::Exact);
    loadRequiredPicture(pic_logo, "tx_logo.png", 1004, 655, PictureSize::AtLeast);
    loadRequiredPicture(pic_sprite, "sprite.png", 32, 32, PictureSize::AtLeast);

    mem0 = allocateWorkBuffer(mem0_, -1);
    mem1 = allocateWorkBuffer(mem1_, -4);
}

void onPaint(HWND window) {
    BeginPaint(window, &ps);
    SelectObject(hmemdc, hFont);
    fp_main[stage]();
    EndPaint(window, &ps);
    InvalidateRect(window, nullptr, FALSE);
}

}  // namespace

LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate(window);
            return 0;
        case WM_DESTROY:
            std::free(mem0_);
            std::free(mem1_);
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            if (vramptr == nullptr) return 0;
            onPaint(window);
            return 0;
        case WM_KEYDOWN:
            if (LOWORD(wParam) == VK_UP) vadd = -4;
            if (LOWORD(wParam) == VK_DOWN) vadd = 4;
            return 0;
        case WM_KEYUP:
            if (LOWORD(wParam) == VK_RETURN) bEnter = 1;
            if (LOWORD(wParam) == VK_UP || LOWORD(wParam) == VK_DOWN) vadd = 0;
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kExitCommand) {
                DestroyWindow(window);
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_TIMER:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
