#include <SDL.h>

#include "platform/linux/drive_hooks.h"
#include "platform/linux/window_internal.h"

namespace drive {
void resetMessages();  // platform/messages.cpp
void resetDialogs();   // platform/dialogs.cpp
}  // namespace drive

namespace {
std::function<void(const drive::Frame&)> presentHook;
long presents = 0;
std::int64_t presentTotalNs = 0;
}  // namespace

void notifyPresentTime(std::int64_t nanoseconds) { presentTotalNs += nanoseconds; }

void notifyPresented(WindowObject* window) {
    ++presents;
    if (!presentHook) return;
    const PixelSurface& s = window->dc.target;
    if (s.rowZero == nullptr) return;
    if (s.rowStep == static_cast<std::ptrdiff_t>(s.width) * 4) {
        presentHook(drive::Frame{s.row(0), s.width, s.height});
        return;
    }
    std::vector<std::uint32_t> copy(static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height));
    for (int y = 0; y < s.height; ++y)
        std::copy(s.row(y), s.row(y) + s.width, copy.begin() + static_cast<std::ptrdiff_t>(y) * s.width);
    presentHook(drive::Frame{copy.data(), s.width, s.height});
}

namespace drive {

void setPresentHook(std::function<void(const Frame&)> hook) { presentHook = std::move(hook); }
long presentCount() { return presents; }
std::int64_t presentNanoseconds() { return presentTotalNs; }

void resetPlatform() {
    forgetWindows();
    resetMessages();
    resetDialogs();
    presentHook = nullptr;
    presents = 0;
    presentTotalNs = 0;
    useVirtualClock(false);
    setVirtualTime(0);
    refusePeriodicTimer(false);
    // Drop events the destroyed windows left behind.
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
}

}  // namespace drive
