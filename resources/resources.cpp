#include "resources/resources.h"

// The icon's PNG bytes, drawn at build time.
extern const unsigned char resource_icon_102_png[];
extern const std::size_t resource_icon_102_png_size;

const MenuResource menu_102 = {
    "\x83\x74\x83\x40\x83\x43\x83\x8b(&F)",  // ファイル(&F)
    "\x8f\x49\x97\xb9\x82\xb7\x82\xe9(&X)",  // 終了する(&X)
    IDM_EXIT,
};

const ResourceEntry moduleResources[] = {
    {IDI_MAIN, RT_ICON_PNG, resource_icon_102_png, resource_icon_102_png_size},
    {IDM_MAIN, RT_MENU_DATA, reinterpret_cast<const unsigned char*>(&menu_102), sizeof(MenuResource)},
};
const std::size_t moduleResourceCount = sizeof(moduleResources) / sizeof(moduleResources[0]);
