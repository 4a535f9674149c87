// The program's driving hooks: what pelorin-cli (and the in-process tests)
// use to drive the real program from wWinMain to exit in-process -- a
// virtual clock, scripted input, frame capture, a refusable timer and
// message boxes that record instead of waiting.  Nothing here is switched
// on unless a caller asks for it; the window program never does.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace drive {

// --- clock ---------------------------------------------------------------
// While on, timeGetTime returns the virtual millisecond value and
// QueryPerformanceCounter counts virtual microseconds at 1 MHz; neither moves
// unless the caller moves it.
void useVirtualClock(bool on);
void setVirtualTime(DWORD ms);
void advanceVirtualTime(DWORD ms);
DWORD virtualTime();

// --- frames and input ----------------------------------------------------
// Called by GetMessageA each time it is about to deliver a WM_PAINT from the
// message loop, with the number of such frames so far (0 first).  The hook
// may move the clock, post keys or close the window; messages it posts are
// delivered before the WM_PAINT.
void setFrameHook(std::function<void(long frame)> hook);
// Queue a key press or release for the main window, as the keyboard would.
void pressKey(WPARAM vk);
void releaseKey(WPARAM vk);
void tapKey(WPARAM vk);  // press, then release
// Ask the main window to close, as the close box does.
void requestClose();

// Called with the window surface each time EndPaint presents it.
struct Frame {
    const std::uint32_t* pixels;  // top row first, `width` words a row
    int width;
    int height;
};
void setPresentHook(std::function<void(const Frame&)> hook);
long presentCount();
// Real time (the monotonic clock, never the virtual one) that EndPaint has
// spent handing the window surface to the display since the last reset, in
// nanoseconds.  A stage's frame time minus the growth of this total over the
// frame is its drawing time.
std::int64_t presentNanoseconds();

// --- failures and dialogs ------------------------------------------------
void refusePeriodicTimer(bool refuse);
// While on, MessageBoxA records its text and caption and returns IDOK at once.
void recordMessageBoxes(bool on);
struct MessageBoxRecord {
    std::string text;
    std::string caption;
};
const std::vector<MessageBoxRecord>& messageBoxes();

// --- state between in-process runs ---------------------------------------
// Forget windows, queued messages, hooks and counters, so another in-process
// run starts as a fresh process would (the SDL video subsystem stays up).
void resetPlatform();

}  // namespace drive
