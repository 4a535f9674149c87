#include "platform/linux/video_info.h"

#include <SDL.h>

VideoInfo currentVideoInfo() {
    VideoInfo info;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return info;
    info.up = true;
    const char* driver = SDL_GetCurrentVideoDriver();
    info.driver = driver ? driver : "";
    const char* accel = SDL_GetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    info.presentedDirectly = accel != nullptr && std::string(accel) == "0";
    SDL_DisplayMode mode{};
    if (SDL_GetCurrentDisplayMode(0, &mode) == 0) {
        info.displayWidth = mode.w;
        info.displayHeight = mode.h;
        info.refreshHz = mode.refresh_rate;
        if (mode.format != SDL_PIXELFORMAT_UNKNOWN) info.pixelFormat = SDL_GetPixelFormatName(mode.format);
    }
    const char* name = SDL_GetDisplayName(0);
    info.displayName = name ? name : "";
    return info;
}
