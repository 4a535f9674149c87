// Millisecond clock, performance counter and the multimedia timer calls.
#include <ctime>

#include "platform/linux/drive_hooks.h"
#include "platform/win32.h"

namespace {

bool virtualClockOn = false;
DWORD virtualMs = 0;
bool refuseTimer = false;
UINT lastTimerId = 0;

std::uint64_t monotonicNanoseconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u + static_cast<std::uint64_t>(ts.tv_nsec);
}

}  // namespace

namespace drive {
void useVirtualClock(bool on) { virtualClockOn = on; }
void setVirtualTime(DWORD ms) { virtualMs = ms; }
void advanceVirtualTime(DWORD ms) { virtualMs += ms; }  // DWORD arithmetic wraps like the real clock
DWORD virtualTime() { return virtualMs; }
void refusePeriodicTimer(bool refuse) { refuseTimer = refuse; }
}  // namespace drive

// Milliseconds since an arbitrary start, wrapping every 2^32 ms.
DWORD timeGetTime() {
    if (virtualClockOn) return virtualMs;
    return static_cast<DWORD>(monotonicNanoseconds() / 1000000u);
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = virtualClockOn ? 1000000 : 1000000000;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    count->QuadPart = virtualClockOn ? static_cast<LONGLONG>(virtualMs) * 1000
                                     : static_cast<LONGLONG>(monotonicNanoseconds());
    return TRUE;
}

// clock_gettime already has the precision the program asks for; the
// resolution calls only check their argument.
MMRESULT timeGetDevCaps(TIMECAPS* caps, UINT size) {
    if (caps == nullptr || size < sizeof(TIMECAPS)) return TIMERR_NOCANDO;
    caps->wPeriodMin = 1;
    caps->wPeriodMax = 1000000;
    return TIMERR_NOERROR;
}

MMRESULT timeBeginPeriod(UINT period) { return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }
MMRESULT timeEndPeriod(UINT period) { return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }

// Nothing runs on a tick here, so the program starts its timer without a
// callback.
const LPTIMECALLBACK kIdleTimerCallback = nullptr;

// There is no timer thread: a periodic timer without a callback has nothing
// to run, so it is accepted and only given an identifier.  A callback would
// need a thread of its own, which nothing here asks for, so it is refused.
MMRESULT timeSetEvent(UINT delay, UINT /*resolution*/, LPTIMECALLBACK callback, DWORD_PTR /*user*/, UINT /*event*/) {
    if (refuseTimer || delay == 0 || callback != nullptr) return 0;
    return ++lastTimerId;
}

MMRESULT timeKillEvent(UINT id) { return id == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }
