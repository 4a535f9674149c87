// Build tool: draws the program's pictures and its icon and writes them into
// the build directory given as the only argument:
//   wp_1280x720.png, tx_logo.png, sprite.png  (read by the program at start-up)
//   generated/icon_102.png, generated/icon_102.cpp  (the icon, embedded as bytes)
//   generated/icons/NxN.png  (the same art for the desktop's icon theme)
#include <cstdio>
#include <string>
#include <vector>

#include "assets/embed_source.h"
#include "assets/icon.h"
#include "assets/logo_sheet.h"
#include "assets/png_writer.h"
#include "assets/sprite_sheet.h"
#include "assets/text_mask.h"
#include "assets/wallpaper.h"

namespace {
constexpr int kThemeIconSizes[] = {48, 64, 128, 256};

bool save(const std::string& path, const RgbaImage& image, std::vector<unsigned char>* keep = nullptr) {
    std::vector<unsigned char> png;
    if (!encodePng(image, png) || !writeFile(path, png)) {
        std::fprintf(stderr, "generate_assets: cannot write %s\n", path.c_str());
        return false;
    }
    if (keep) *keep = std::move(png);
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_assets <output directory>\n");
        return 2;
    }
    const std::string dir = argv[1];

    TextRasterizer text;
    if (!text.ready()) {
        std::fprintf(stderr, "generate_assets: no scalable font found through fontconfig\n");
        return 1;
    }

    RgbaImage wallpaper = makeWallpaper();
    RgbaImage logo = makeLogoSheet(wallpaper, text);
    // Both title pictures are laid into a bottom-up frame buffer in stored row
    // order, so they are stored upside down.
    wallpaper.flipRows();
    logo.flipRows();

    std::vector<unsigned char> iconPng;
    bool ok = save(dir + "/wp_1280x720.png", wallpaper) && save(dir + "/tx_logo.png", logo) &&
              save(dir + "/sprite.png", makeSpriteSheet()) &&
              save(dir + "/generated/icon_102.png", makeIcon(), &iconPng);
    if (!ok) return 1;

    for (const int size : kThemeIconSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        if (!save(dir + "/generated/icons/" + name + ".png", makeIcon(size)))
            return 1;
    }

    std::string source = embedAsSource("resource_icon_102_png", iconPng);
    if (!writeFile(dir + "/generated/icon_102.cpp", std::vector<unsigned char>(source.begin(), source.end()))) {
        std::fprintf(stderr, "generate_assets: cannot write %s/generated/icon_102.cpp\n", dir.c_str());
        return 1;
    }
    return 0;
}
