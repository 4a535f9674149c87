// The one header through which the benchmark reaches its platform: the
// Win32 calls it makes (USER, GDI, the GDI+ flat API, the multimedia timer,
// the performance counter) and the few services it needs beyond them.
//
// On Windows these are the real API (platform/windows/ adds what the SDK
// lacks); on Linux, platform/linux/ implements them itself.  The services
// beyond Win32 declared below are implemented once for each platform.
#pragma once

#include <cstddef>
#include <string>

#if defined(_WIN32)
#include "platform/windows/win32_api.h"
#else
#include "platform/linux/gdiplus.h"
#include "platform/linux/win32_api.h"
#endif

// ---- processor ----------------------------------------------------------
// CPUID of the given leaf: EAX, EBX, ECX, EDX into regs[0..3].  On other
// processors the brand-string leaves report the machine name from the OS.
void cpuid(int regs[4], int leaf);

// ---- runtime library ----------------------------------------------------
// The C runtime's 15-bit generator: never seeded unless asked, 0 to 32767,
// x = x * 214013 + 2531011, result (x >> 16) & 0x7FFF, starting from 1.  On
// Windows it is the runtime's own rand.
int crt_rand();
void crt_srand(unsigned seed);
// The C runtime's own formatter (on Windows the system's C runtime, not the
// compiler's replacement), bounded by `size` and always terminated.
int crt_snprintf(char* buffer, std::size_t size, const char* format, ...);

// ---- fonts --------------------------------------------------------------
// Whether text can be drawn at all: the program's text is Japanese, and
// without a face that has its characters CreateFontA falls back to one that
// draws none of them.  Linux: fontconfig knows a face with kana and Latin
// letters that FreeType can open.  Windows: a face with the Shift_JIS
// character set is installed.
bool japaneseFontAvailable();
// For the message when there is none: what is missing, and how to install it.
struct FontAdvice {
    const char* missing;
    const char* remedy;
};
extern const FontAdvice kJapaneseFontAdvice;

// ---- folders ------------------------------------------------------------
// The working directory, or a description of it when it cannot be read.
std::string workingFolder();
// The folder of the running executable, or empty when its path cannot be read.
std::string executableFolder();

// ---- the periodic timer -------------------------------------------------
// What the multimedia timer is started with.  The system relies on no tick:
// on Linux the timer runs nothing and takes no callback; Windows calls the
// callback on a thread of its own, and a null one is not promised to be
// safe (Wine crashes on the first tick), so there it is one that does
// nothing.
extern const LPTIMECALLBACK kIdleTimerCallback;
