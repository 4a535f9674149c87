// What the window system under the program is, for reports that describe
// the machine a run was measured on.
#pragma once

#include <string>

struct VideoInfo {
    bool up = false;               // the video subsystem has been started
    std::string driver;            // SDL's name for it: "x11", "wayland", "offscreen", ...
    bool presentedDirectly = false;  // the window surface reaches the display without a GPU texture
    int displayWidth = 0;          // the primary display's mode; 0 when unknown
    int displayHeight = 0;
    int refreshHz = 0;             // 0 when the driver does not say
    std::string displayName;       // the primary display's name as the driver gives it; "" when it does not
    std::string pixelFormat;       // its mode's pixel format, "SDL_PIXELFORMAT_RGB888"; "" when unknown
};

// Reads the state as it is now; call it after the main window exists.
VideoInfo currentVideoInfo();

// Starts SDL's video on the display DISPLAY or WAYLAND_DISPLAY names (or
// on the driver SDL_VIDEODRIVER chooses), unless it is up already.  "" when
// it is up; else one line that names the display and why it could not be
// opened.  SDL's offscreen driver is never taken unless SDL_VIDEODRIVER
// asks for it: a display that cannot be opened is refused, not replaced.
std::string openDisplay();
