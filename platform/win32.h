// The one header through which the benchmark reaches its platform: the
// Win32 calls it makes (USER, GDI, the GDI+ flat API, the multimedia timer,
// the performance counter) and the few services it needs beyond them.
//
// On Linux, platform/linux/ implements those calls itself.  The services
// beyond Win32 below are implemented once for each platform.
#pragma once

#include "platform/linux/gdiplus.h"
#include "platform/linux/win32_api.h"

// ---- processor ----------------------------------------------------------
// CPUID of the given leaf: EAX, EBX, ECX, EDX into regs[0..3].  On other
// processors the brand-string leaves report the machine name from the OS.
void cpuid(int regs[4], int leaf);

// ---- runtime library ----------------------------------------------------
// The C runtime's 15-bit generator: never seeded unless asked, 0 to 32767,
// x = x * 214013 + 2531011, result (x >> 16) & 0x7FFF, starting from 1.
int crt_rand();
void crt_srand(unsigned seed);

// ---- fonts --------------------------------------------------------------
// Whether text can be drawn at all: the program's text is Japanese, and
// without a face that has kana CreateFontA makes no font and every text call
// draws nothing.  True when fontconfig knows a face with kana and Latin
// letters that FreeType can open.
bool japaneseFontAvailable();
