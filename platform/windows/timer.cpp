#include "platform/win32.h"

namespace {

// Windows calls this on its timer thread at every tick; the program relies
// on no tick, so it does nothing.
void CALLBACK ignoreTick(UINT /*timerId*/, UINT /*message*/, DWORD_PTR /*user*/, DWORD_PTR /*reserved1*/,
                         DWORD_PTR /*reserved2*/) {}

}  // namespace

const LPTIMECALLBACK kIdleTimerCallback = ignoreTick;
