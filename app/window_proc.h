// The window procedure: sets up a run on WM_CREATE and draws one frame per
// WM_PAINT.
#pragma once

#include <cstdint>

#include "platform/win32.h"

extern BITMAPINFOHEADER bmi;
extern std::uint32_t time_int;  // period and resolution of the multimedia timer, ms
extern TIMECAPS tc;
extern MMRESULT TimerID;        // 0 when the periodic timer was refused
extern LPTIMECALLBACK QH_TimerProc3;  // kIdleTimerCallback: no code of the system runs on a tick

constexpr WPARAM kExitCommand = 105;

LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void QH_SetTimer();

// The 48-byte brand string of CPUID leaves 0x80000002..4 and a NUL.
void readBrandString(char (&brand)[49]);
