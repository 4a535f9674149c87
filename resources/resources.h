// The module's resources: icon 102 (the class icon) and menu 102.
#pragma once

#include <cstddef>

#include "platform/win32.h"

constexpr int IDI_MAIN = 102;
constexpr int IDM_MAIN = 102;
constexpr int IDM_EXIT = 105;  // the exit command the window procedure accepts

// Menu 102: one popup holding one command item. Texts are code page 932.
struct MenuResource {
    const char* popupText;
    const char* itemText;
    int itemCommand;
};

extern const MenuResource menu_102;

extern const ResourceEntry moduleResources[];
extern const std::size_t moduleResourceCount;
