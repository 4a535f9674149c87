// The message queue and the message loop calls, fed by SDL's events.
#include <SDL.h>

#include <deque>

#include "platform/linux/drive_hooks.h"
#include "platform/linux/window_internal.h"

namespace {

std::deque<MSG> queue;
long paintsDelivered = 0;
long frameHookCalledFor = -1;
std::function<void(long)> frameHook;

// The virtual-key code of an SDL key, for the keys a keyboard has; 0 for
// keys without one.  Main and keypad Enter are both VK_RETURN.
WPARAM virtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<WPARAM>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<WPARAM>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<WPARAM>(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + static_cast<WPARAM>(key - SDLK_KP_1);
    switch (key) {
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT: return VK_MENU;
        case SDLK_KP_0: return 0x60;
        case SDLK_HOME: return 0x24;
        case SDLK_END: return 0x23;
        case SDLK_PAGEUP: return 0x21;
        case SDLK_PAGEDOWN: return 0x22;
        case SDLK_INSERT: return 0x2D;
        case SDLK_DELETE: return 0x2E;
        default: return 0;
    }
}

HWND windowOfEvent(Uint32 windowID) {
    HWND w = mainWindow();
    if (w && w->sdl && SDL_GetWindowID(w->sdl) == windowID) return w;
    return w;  // one window: events without a window id belong to it
}

void post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    queue.push_back(MSG{hwnd, message, wParam, lParam, timeGetTime(), POINT{0, 0}});
}

// Keys held with Alt, and F10, are system keys, as the platform's menus
// would have them.
void translateKey(const SDL_KeyboardEvent& key) {
    const WPARAM vk = virtualKey(key.keysym.sym);
    if (vk == 0) return;
    const bool down = key.type == SDL_KEYDOWN;
    const bool system = (key.keysym.mod & KMOD_ALT) != 0 || vk == VK_F10 || vk == VK_MENU;
    LPARAM lParam = 1 | (static_cast<LPARAM>(key.keysym.scancode & 0xFF) << 16);
    if (key.repeat || !down) lParam |= LPARAM{1} << 30;
    if (!down) lParam |= static_cast<LPARAM>(std::uint32_t{1} << 31);
    const UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    post(windowOfEvent(key.windowID), message, vk, lParam);
}

void translate(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: translateKey(e.key); break;
        case SDL_WINDOWEVENT: {
            HWND w = windowOfEvent(e.window.windowID);
            if (w == nullptr) break;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: post(w, WM_CLOSE, 0, 0); break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    if (w->classStyle & (CS_HREDRAW | CS_VREDRAW)) w->invalid = true;
                    post(w, WM_SIZE, 0,
                         static_cast<LPARAM>((static_cast<std::uint32_t>(e.window.data2) << 16) |
                                             (static_cast<std::uint32_t>(e.window.data1) & 0xFFFF)));
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_SHOWN: w->invalid = true; break;
                default: break;
            }
            break;
        }
        default: break;  // SDL_QUIT follows the close of the last window; WM_CLOSE covers it
    }
}

HWND invalidWindow() {
    HWND w = mainWindow();
    return w && w->invalid ? w : nullptr;
}

}  // namespace

void pumpWindowEvents(bool wait) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event e;
    if (wait) {
        if (SDL_WaitEvent(&e)) translate(e);
    }
    while (SDL_PollEvent(&e)) translate(e);
}

BOOL GetMessageA(MSG* msg, HWND /*hwnd*/, UINT /*filterMin*/, UINT /*filterMax*/) {
    for (;;) {
        pumpWindowEvents(false);
        if (!queue.empty()) {
            *msg = queue.front();
            queue.pop_front();
            if (msg->message == WM_QUIT) return FALSE;
            if (msg->hwnd != nullptr && !isLiveWindow(msg->hwnd)) continue;
            return TRUE;
        }
        if (HWND w = invalidWindow()) {
            if (frameHook && frameHookCalledFor != paintsDelivered) {
                frameHookCalledFor = paintsDelivered;
                frameHook(paintsDelivered);
                continue;  // what the hook posted comes first
            }
            ++paintsDelivered;
            *msg = MSG{w, WM_PAINT, 0, 0, timeGetTime(), POINT{0, 0}};
            return TRUE;
        }
        if (mainWindow() == nullptr && !SDL_WasInit(SDL_INIT_VIDEO)) {
            // Nothing could ever arrive: no window and no window system.
            *msg = MSG{nullptr, WM_QUIT, 0, 0, 0, POINT{0, 0}};
            return FALSE;
        }
        pumpWindowEvents(true);
    }
}

BOOL TranslateMessage(const MSG* /*msg*/) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr || !isLiveWindow(msg->hwnd)) return 0;
    return msg->hwnd->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd != nullptr && !isLiveWindow(hwnd)) return FALSE;
    post(hwnd, message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!isLiveWindow(hwnd)) return 0;
    return hwnd->proc(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    post(nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<std::uint32_t>(exitCode)), 0);
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && (lParam & (LPARAM{1} << 30)) == 0) SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(hwnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_PAINT: {
            // A window procedure that leaves painting to the default still
            // gets its update region validated.
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        default: return 0;
    }
}

namespace drive {
void setFrameHook(std::function<void(long)> hook) { frameHook = std::move(hook); }
void pressKey(WPARAM vk) { post(mainWindow(), WM_KEYDOWN, vk, 1); }
void releaseKey(WPARAM vk) { post(mainWindow(), WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u)); }
void tapKey(WPARAM vk) {
    pressKey(vk);
    releaseKey(vk);
}
void requestClose() { post(mainWindow(), WM_CLOSE, 0, 0); }

void resetMessages() {
    queue.clear();
    paintsDelivered = 0;
    frameHookCalledFor = -1;
    frameHook = nullptr;
}
}  // namespace drive
