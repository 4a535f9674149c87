// Window classes, windows, their sizes and painting, on SDL2.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/linux/drive_hooks.h"
#include "platform/linux/video_info.h"
#include "platform/linux/window_internal.h"

namespace {

struct WindowClass {
    WNDPROC proc;
    UINT style;
    HICON icon;
};

std::map<std::string, WindowClass> classes;
std::vector<WindowObject*> windows;
bool driverReported = false;

// The size CW_USEDEFAULT stands for: the platform's choice, before the
// program sizes the window itself.
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;

// The pixel word is blue, green, red, fourth byte: XRGB8888 or ARGB8888.
bool isFrameFormat(Uint32 format) { return format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888; }

void reportDriverOnce(SDL_Window* sdl) {
    if (driverReported) return;
    driverReported = true;
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "(none)";
    if (driver == "offscreen") {
        std::fprintf(stderr, "pelorin: video driver offscreen: frames are drawn in memory and not shown\n");
        return;
    }
    const char* accel = SDL_GetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    const bool direct = accel != nullptr && std::string(accel) == "0";
    SDL_Surface* surface = SDL_GetWindowSurface(sdl);
    const bool converted = surface && !isFrameFormat(surface->format->format);
    std::fprintf(stderr, "pelorin: video driver %s; window surface %s%s\n", driver.c_str(),
                 direct ? "presented directly, without a GPU texture" : "presented through a GPU texture",
                 converted ? ", converted from 32-bit frames" : "");
}

struct Borders {
    int top = 0, left = 0, bottom = 0, right = 0;
};

// A driver that cannot report the frame counts as having none.
Borders bordersOf(SDL_Window* sdl) {
    Borders b;
    if (SDL_GetWindowBordersSize(sdl, &b.top, &b.left, &b.bottom, &b.right) != 0) b = Borders{};
    return b;
}

WindowObject* live(HWND hwnd) { return isLiveWindow(hwnd) ? hwnd : nullptr; }

}  // namespace

namespace {

// An environment variable's value for a message: printable ASCII only, as
// it may hold anything.
std::string shownValue(const char* value) {
    std::string text;
    for (const char* c = value; *c != 0 && text.size() < 200; ++c) text += *c >= 0x20 && *c < 0x7f ? *c : '?';
    return text;
}

bool isSet(const char* value) { return value != nullptr && *value != 0; }

}  // namespace

std::string openDisplay() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return "";
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!isSet(driver) && !isSet(x11) && !isSet(wayland))
        return "no display: DISPLAY is not set. Start it from a desktop session, or under a virtual X server "
               "(xvfb-run build/pelorin).";
    // Present the window surface directly (XShmPutImage on X11).  Through the
    // GPU texture path presenting was capped near 250 frames/s, below the
    // rates the stages compare with.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // While Stages 7 and 8 run their kernels the message loop waits for
    // them, as it does on the original platform, and cannot answer the
    // window manager's pings; a window that leaves the ping protocol out is
    // never offered to be killed.  Closing it still works once they return.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_PING, "0");
    std::string named;
    if (isSet(driver)) {
        named = "of SDL_VIDEODRIVER=" + shownValue(driver);
    } else {
        // Only the display the environment names: SDL would otherwise go on
        // to its offscreen driver and run with nothing on screen.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, isSet(x11) && isSet(wayland) ? "x11,wayland" : isSet(x11) ? "x11" : "wayland");
        if (isSet(x11)) named = "DISPLAY=" + shownValue(x11);
        if (isSet(wayland)) named += (named.empty() ? "" : " or ") + std::string("WAYLAND_DISPLAY=") + shownValue(wayland);
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return "cannot open the display " + named + " (" + shownValue(SDL_GetError()) +
               "): start it from a desktop session whose display this is, or under a virtual X server (xvfb-run)";
    return "";
}

void ensureVideo() {
    if (const std::string problem = openDisplay(); !problem.empty()) {
        std::fprintf(stderr, "pelorin: %s\n", problem.c_str());
        std::exit(2);
    }
}

bool isLiveWindow(HWND hwnd) {
    return hwnd != nullptr && !hwnd->destroyed && std::find(windows.begin(), windows.end(), hwnd) != windows.end();
}

HWND mainWindow() {
    for (WindowObject* w : windows)
        if (!w->destroyed) return w;
    return nullptr;
}

void forgetWindows() {
    for (WindowObject* w : windows) {
        if (w->sdl) SDL_DestroyWindow(w->sdl);
        if (w->shadow) SDL_FreeSurface(w->shadow);
        delete w;
    }
    windows.clear();
    classes.clear();
    driverReported = false;
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) return 0;
    const auto [it, added] = classes.emplace(wc->lpszClassName, WindowClass{wc->lpfnWndProc, wc->style, wc->hIcon});
    (void)it;
    return added ? static_cast<ATOM>(0xC000 + classes.size()) : 0;
}

HWND CreateWindowExA(DWORD /*exStyle*/, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND /*parent*/, HMENU /*menu*/, HINSTANCE /*instance*/, void* /*param*/) {
    if (className == nullptr) return nullptr;
    const auto cls = classes.find(className);
    if (cls == classes.end()) return nullptr;
    ensureVideo();

    const bool defaultPlace = x == CW_USEDEFAULT;
    const bool defaultSize = width == CW_USEDEFAULT;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (style & 0x00040000) flags |= SDL_WINDOW_RESIZABLE;  // WS_THICKFRAME
    const std::string title = toUtf8(windowName ? windowName : "");
    SDL_Window* sdl = SDL_CreateWindow(title.c_str(), defaultPlace ? SDL_WINDOWPOS_UNDEFINED : x,
                                       defaultPlace ? SDL_WINDOWPOS_UNDEFINED : y,
                                       defaultSize ? kDefaultWidth : std::max(width, 1),
                                       defaultSize ? kDefaultHeight : std::max(height, 1), flags);
    if (sdl == nullptr) {
        std::fprintf(stderr, "pelorin: cannot create the window: %s\n", SDL_GetError());
        return nullptr;
    }

    auto* window = new WindowObject();
    window->sdl = sdl;
    window->proc = cls->second.proc;
    window->classStyle = cls->second.style;
    window->icon = cls->second.icon;
    window->invalid = true;
    window->dc.isWindowDC = true;
    window->dc.window = window;
    windows.push_back(window);
    if (window->icon && window->icon->windowImage) SDL_SetWindowIcon(sdl, window->icon->windowImage);

    window->proc(window, WM_CREATE, 0, 0);
    return window;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    WindowObject* w = live(hwnd);
    if (w == nullptr) return FALSE;
    const bool wasVisible = (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_SHOWN) != 0;
    switch (cmdShow) {
        case SW_HIDE: SDL_HideWindow(w->sdl); break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE: SDL_ShowWindow(w->sdl); SDL_MinimizeWindow(w->sdl); break;
        case SW_SHOWMAXIMIZED: SDL_ShowWindow(w->sdl); SDL_MaximizeWindow(w->sdl); break;
        case SW_RESTORE: SDL_ShowWindow(w->sdl); SDL_RestoreWindow(w->sdl); break;
        default: SDL_ShowWindow(w->sdl); break;
    }
    w->invalid = true;
    return wasVisible ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
    WindowObject* w = live(hwnd);
    if (w == nullptr) return FALSE;
    if (w->invalid) w->proc(w, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL DestroyWindow(HWND hwnd) {
    WindowObject* w = live(hwnd);
    if (w == nullptr) return FALSE;
    w->proc(w, WM_DESTROY, 0, 0);
    w->destroyed = true;
    SDL_DestroyWindow(w->sdl);
    w->sdl = nullptr;
    w->dc.target = PixelSurface{};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    WindowObject* w = live(hwnd);
    if (w == nullptr || rect == nullptr) return FALSE;
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(w->sdl, &x, &y);
    SDL_GetWindowSize(w->sdl, &width, &height);
    const Borders b = bordersOf(w->sdl);
    *rect = RECT{x - b.left, y - b.top, x + width + b.right, y + height + b.bottom};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    WindowObject* w = live(hwnd);
    if (w == nullptr || rect == nullptr) return FALSE;
    int width = 0, height = 0;
    SDL_GetWindowSize(w->sdl, &width, &height);
    *rect = RECT{0, 0, width, height};
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND /*insertAfter*/, int x, int y, int cx, int cy, UINT flags) {
    WindowObject* w = live(hwnd);
    if (w == nullptr) return FALSE;
    const Borders b = bordersOf(w->sdl);
    if (!(flags & SWP_NOSIZE)) {
        SDL_SetWindowSize(w->sdl, std::max(cx - b.left - b.right, 1), std::max(cy - b.top - b.bottom, 1));
        if (w->classStyle & (CS_HREDRAW | CS_VREDRAW)) w->invalid = true;
    }
    if (!(flags & SWP_NOMOVE)) SDL_SetWindowPosition(w->sdl, x + b.left, y + b.top);
    return TRUE;
}

int GetSystemMetrics(int index) {
    ensureVideo();
    SDL_Rect bounds{0, 0, 0, 0};
    if (SDL_GetDisplayBounds(0, &bounds) != 0) return 0;
    if (index == SM_CXSCREEN) return bounds.w;
    if (index == SM_CYSCREEN) return bounds.h;
    return 0;
}

void refreshWindowTarget(DeviceContext* dc) {
    WindowObject* w = dc->window;
    if (!isLiveWindow(w)) {
        dc->target = PixelSurface{};
        return;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(w->sdl);
    if (surface == nullptr) {
        dc->target = PixelSurface{};
        return;
    }
    reportDriverOnce(w->sdl);
    if (!isFrameFormat(surface->format->format)) {
        if (w->shadow == nullptr || w->shadow->w != surface->w || w->shadow->h != surface->h) {
            if (w->shadow) SDL_FreeSurface(w->shadow);
            w->shadow = SDL_CreateRGBSurfaceWithFormat(0, surface->w, surface->h, 32, SDL_PIXELFORMAT_RGB888);
        }
        surface = w->shadow;
        if (surface == nullptr) {
            dc->target = PixelSurface{};
            return;
        }
    } else if (w->shadow) {
        SDL_FreeSurface(w->shadow);
        w->shadow = nullptr;
    }
    dc->target.rowZero = static_cast<std::uint8_t*>(surface->pixels);
    dc->target.rowStep = surface->pitch;
    dc->target.width = surface->w;
    dc->target.height = surface->h;
}

void presentWindow(WindowObject* w) {
    if (!isLiveWindow(w)) return;
    SDL_Surface* surface = SDL_GetWindowSurface(w->sdl);
    if (surface == nullptr) return;
    if (w->shadow) SDL_BlitSurface(w->shadow, nullptr, surface, nullptr);
    SDL_UpdateWindowSurface(w->sdl);
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    WindowObject* w = live(hwnd);
    if (w == nullptr || ps == nullptr) return nullptr;
    w->invalid = false;
    refreshWindowTarget(&w->dc);
    *ps = PAINTSTRUCT{};
    ps->hdc = &w->dc;
    ps->rcPaint = RECT{0, 0, w->dc.target.width, w->dc.target.height};
    return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* /*ps*/) {
    WindowObject* w = live(hwnd);
    if (w == nullptr) return FALSE;
    const auto presentStart = std::chrono::steady_clock::now();
    presentWindow(w);
    notifyPresentTime(std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() -
                                                                           presentStart)
                          .count());
    notifyPresented(w);
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* /*rect*/, BOOL /*erase*/) {
    WindowObject* w = live(hwnd);
    if (w == nullptr) return FALSE;
    w->invalid = true;
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    WindowObject* w = live(hwnd);
    if (w == nullptr) return nullptr;
    refreshWindowTarget(&w->dc);
    return &w->dc;
}

int ReleaseDC(HWND hwnd, HDC hdc) { return live(hwnd) != nullptr && hdc == &hwnd->dc ? 1 : 0; }
