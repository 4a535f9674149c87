// Program entry and the main window.
#pragma once

#include <cstdint>

#include "platform/win32.h"

extern char szWindowClass[18];  // "Pelorin Benchmark"
extern char szTitle[26];        // "Pelorin Benchmark Ver1.30"
extern HWND hMainWnd;
// The one font face of the program, "ＭＳ ゴシック" in code page 932.
extern const char kFaceName[14];

// The runtime's start-up code calls it by its C name.
extern "C" int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

// Gives the window the outer size at which its client area is
// width x height, and centres it on the primary screen.
void SetClientSize(HWND window, std::uint16_t width, std::uint16_t height);

// The outer rectangle SetClientSize asks for, from the window's outer and
// client rectangles now and the screen size.
RECT clientSizePlacement(const RECT& outer, const RECT& client, int width, int height, int screenW, int screenH);
