// Inside the platform layer: what a window handle points at, and the pieces
// of the window system that several files share.
#pragma once

#include <cstdint>
#include <string>

#include "platform/linux/gdi_objects.h"
#include "platform/win32.h"

struct SDL_Window;
struct SDL_Surface;

struct WindowObject {
    SDL_Window* sdl = nullptr;
    WNDPROC proc = nullptr;
    UINT classStyle = 0;
    HICON icon = nullptr;
    bool invalid = false;    // has an update region, so a WM_PAINT is due
    bool destroyed = false;  // DestroyWindow has run; the handle stays readable
    DeviceContext dc;        // the window DC of BeginPaint and GetDC
    SDL_Surface* shadow = nullptr;  // 32-bit stand-in when the window surface is not 32-bit
};

struct IconObject {
    SDL_Surface* image = nullptr;        // the icon as the program drew it
    SDL_Surface* windowImage = nullptr;  // what the window system is given: `image`, or a reduced copy
};

// SDL 2.26 on X11 drops a window icon larger than 128 x 128: the window's
// icon property stays empty and the window manager shows its default icon.
constexpr int kLargestWindowIcon = 128;

// `icon` (ARGB8888) itself when it fits within kLargestWindowIcon, otherwise
// a copy reduced by a whole factor; null when no copy could be made.
SDL_Surface* iconThatFitsWindowSystem(SDL_Surface* icon);

// Starts SDL's video subsystem on first use; without a display the program
// stops here with a message and exit code 2.
void ensureVideo();

// Points the window DC's target at the window surface as it is now (it moves
// when the window is resized).
void refreshWindowTarget(DeviceContext* dc);

// Shows what the window surface holds.
void presentWindow(WindowObject* window);

// Converts window-system events into queued messages.
void pumpWindowEvents(bool wait);

// The windows alive now; messages for others are dropped.
bool isLiveWindow(HWND hwnd);
HWND mainWindow();
void forgetWindows();

// Code page 932 text as UTF-8, for the window system.
std::string toUtf8(const char* text);

// Tells the driving hooks that a window has just presented its surface.
void notifyPresented(WindowObject* window);
// Adds the real time one present took to the driving hooks' total.
void notifyPresentTime(std::int64_t nanoseconds);
