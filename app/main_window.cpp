#include "app/main_window.h"

#include <cstdio>

#include "app/window_proc.h"
#include "render/frame_buffer.h"
#include "stages/stage_state.h"

char szWindowClass[18] = "Pelorin Benchmark";
char szTitle[26] = "Pelorin Benchmark Ver1.30";
HWND hMainWnd = nullptr;

const char kFaceName[14] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

RECT clientSizePlacement(const RECT& outer, const RECT& client, int width, int height, int screenW, int screenH) {
    const int outerW = outer.right - outer.left;
    const int outerH = outer.bottom - outer.top;
    const int newW = width - client.right + client.left + outerW;
    const int newH = height - client.bottom + client.top + outerH;
    // Each halving truncates toward zero on its own; the position is not
    // clamped, so a window larger than the screen starts off-screen.
    const int left = screenW / 2 - newW / 2;
    const int top = screenH / 2 - newH / 2;
    return RECT{left, top, left + newW, top + newH};
}

void SetClientSize(HWND window, std::uint16_t width, std::uint16_t height) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const RECT r = clientSizePlacement(outer, client, width, height, screenW, screenH);
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPWSTR /*commandLine*/, int showCommand) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(102));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = szWindowClass;
    RegisterClassA(&wc);

    hMainWnd = CreateWindowExA(0, szWindowClass, szTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                               nullptr, nullptr, instance, nullptr);
    if (hMainWnd == nullptr) {
        // Without a window no message would ever come.
        std::fprintf(stderr, "pelorin: the main window could not be created\n");
        return 1;
    }
    ShowWindow(hMainWnd, showCommand);
    UpdateWindow(hMainWnd);
    SetClientSize(hMainWnd, static_cast<std::uint16_t>(viewW), static_cast<std::uint16_t>(viewH));

    // The font made during window creation stays selected in hmemdc until
    // the next frame selects this one; it is never deleted.
    hFont = CreateFontA(16, 8, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFaceName);
    hFont01 = CreateFontA(32, 16, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, kFaceName);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
