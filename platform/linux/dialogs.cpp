// Message boxes, icons, cursors and the module's resources.
#include <SDL.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/linux/cp932.h"
#include "platform/linux/drive_hooks.h"
#include "platform/linux/window_internal.h"

struct ModuleObject {
    std::vector<ResourceEntry> resources;
    std::vector<std::pair<int, IconObject*>> loadedIcons;  // shared, as the platform's icons are
};
struct CursorObject {};

namespace {

bool recordBoxes = false;
std::vector<drive::MessageBoxRecord> boxes;
CursorObject arrowCursor;

const ResourceEntry* findResource(HINSTANCE module, LPCSTR name, int type) {
    if (module == nullptr) return nullptr;
    const auto id = reinterpret_cast<std::uintptr_t>(name);
    if (id > 0xFFFF) return nullptr;  // resources are known by number only
    for (const ResourceEntry& r : module->resources)
        if (r.id == static_cast<int>(id) && r.type == type) return &r;
    return nullptr;
}

// Decodes an icon stored in PNG form into a surface for the window system.
SDL_Surface* decodeIcon(const ResourceEntry& r) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, r.data, r.size)) return nullptr;
    image.format = PNG_FORMAT_BGRA;
    if (image.width == 0 || image.height == 0 || image.width > 1024 || image.height > 1024) {
        png_image_free(&image);
        return nullptr;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(image.width),
                                                          static_cast<int>(image.height), 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        png_image_free(&image);
        return nullptr;
    }
    if (!png_image_finish_read(&image, nullptr, surface->pixels, surface->pitch, nullptr)) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    return surface;
}

}  // namespace

std::string toUtf8(const char* text) { return cp932::toUtf8(text, std::strlen(text)); }

HINSTANCE CreateModuleHandle(const ResourceEntry* table, std::size_t count) {
    auto* module = new ModuleObject();
    if (table) module->resources.assign(table, table + count);
    return module;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const std::string body = toUtf8(text ? text : "");
    const std::string title = toUtf8(caption ? caption : "Error");
    if (recordBoxes) {
        boxes.push_back(drive::MessageBoxRecord{text ? text : "", caption ? caption : ""});
        return IDOK;
    }
    // Also on stderr: the box may have no display to appear on.
    if (title == "Pelorin Benchmark") {
        std::fprintf(stderr, "pelorin: %s\n", body.c_str());
    } else {
        std::fprintf(stderr, "pelorin: %s: %s\n", title.c_str(), body.c_str());
    }
    const Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_Window* parent = isLiveWindow(owner) ? owner->sdl : nullptr;
    const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : nullptr;
    if (driver != nullptr && std::string(driver) == "offscreen") return IDOK;  // nobody could answer it
    SDL_ShowSimpleMessageBox(flags, title.c_str(), body.c_str(), parent);
    return IDOK;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    const ResourceEntry* r = findResource(instance, name, RT_ICON_PNG);
    if (r == nullptr) return nullptr;
    for (const auto& [id, icon] : instance->loadedIcons)
        if (id == r->id) return icon;
    SDL_Surface* image = decodeIcon(*r);
    if (image == nullptr) return nullptr;
    auto* icon = new IconObject{image, iconThatFitsWindowSystem(image)};
    instance->loadedIcons.emplace_back(r->id, icon);
    return icon;
}

HCURSOR LoadCursorA(HINSTANCE /*instance*/, LPCSTR name) {
    // The window system's own arrow is the only cursor the program asks for.
    return name == IDC_ARROW ? &arrowCursor : nullptr;
}

namespace drive {
void recordMessageBoxes(bool on) { recordBoxes = on; }
const std::vector<MessageBoxRecord>& messageBoxes() { return boxes; }
void resetDialogs() {
    boxes.clear();
    recordBoxes = false;
}
}  // namespace drive
