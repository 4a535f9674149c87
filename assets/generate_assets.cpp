// Build tool: draws the program's pictures and its icon and writes them into
// the build directory given as the only argument:
//   wp_1280x720.png, tx_logo.png, sprite.png  (read by the program at start-up)
//   generated/icon_102.png, generated/icon_102.cpp  (the icon, embedded as bytes)
//   generated/icons/NxN.png  (the same art for the desktop's icon theme)
// With --windows after it, also what the Windows build needs:
//   generated/icon_102.ico  (16 to 256 pixels, for the resource script)
//   generated/pixels/NAME.bgra  (each picture's words as the program should
//       decode them, for the tests of the real GDI+)
#include <cstdio>
#include <string>
#include <vector>

#include "assets/embed_source.h"
#include "assets/icon.h"
#include "assets/ico_writer.h"
#include "assets/logo_sheet.h"
#include "assets/png_writer.h"
#include "assets/sprite_sheet.h"
#include "assets/text_mask.h"
#include "assets/wallpaper.h"

namespace {
constexpr int kThemeIconSizes[] = {48, 64, 128, 256};
constexpr int kWindowsIconSizes[] = {16, 24, 32, 48, 64, 128};  // and 256, the program's own

bool saveBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    if (writeFile(path, bytes)) return true;
    std::fprintf(stderr, "generate_assets: cannot write %s\n", path.c_str());
    return false;
}

bool save(const std::string& path, const RgbaImage& image, std::vector<unsigned char>* keep = nullptr) {
    std::vector<unsigned char> png;
    if (!encodePng(image, png)) {
        std::fprintf(stderr, "generate_assets: cannot encode %s\n", path.c_str());
        return false;
    }
    if (!saveBytes(path, png)) return false;
    if (keep) *keep = std::move(png);
    return true;
}

// The words load_PNG should give for the picture: blue, green, red and
// alpha bytes in memory, top row of the file first.
bool savePixels(const std::string& path, const RgbaImage& image) {
    std::vector<unsigned char> words(image.bytes.size());
    for (std::size_t i = 0; i < words.size(); i += 4) {
        words[i] = image.bytes[i + 2];
        words[i + 1] = image.bytes[i + 1];
        words[i + 2] = image.bytes[i];
        words[i + 3] = image.bytes[i + 3];
    }
    return saveBytes(path, words);
}

bool saveWindowsFiles(const std::string& dir, const RgbaImage& wallpaper, const RgbaImage& logo,
                      const RgbaImage& sprites, const RgbaImage& icon, const std::vector<unsigned char>& iconPng) {
    std::vector<RgbaImage> smaller;
    for (const int size : kWindowsIconSizes) smaller.push_back(makeIcon(size));
    std::vector<IcoImage> entries;
    for (const RgbaImage& image : smaller) entries.push_back({&image, nullptr});
    entries.push_back({&icon, &iconPng});
    return saveBytes(dir + "/generated/icon_102.ico", encodeIco(entries)) &&
           savePixels(dir + "/generated/pixels/wp_1280x720.bgra", wallpaper) &&
           savePixels(dir + "/generated/pixels/tx_logo.bgra", logo) &&
           savePixels(dir + "/generated/pixels/sprite.bgra", sprites);
}

}  // namespace

int main(int argc, char** argv) {
    const bool windows = argc == 3 && std::string(argv[2]) == "--windows";
    if (argc != 2 && !windows) {
        std::fprintf(stderr, "usage: generate_assets <output directory> [--windows]\n");
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
    const RgbaImage sprites = makeSpriteSheet();
    const RgbaImage icon = makeIcon();
    bool ok = save(dir + "/wp_1280x720.png", wallpaper) && save(dir + "/tx_logo.png", logo) &&
              save(dir + "/sprite.png", sprites) && save(dir + "/generated/icon_102.png", icon, &iconPng);
    if (!ok) return 1;
    if (windows && !saveWindowsFiles(dir, wallpaper, logo, sprites, icon, iconPng)) return 1;

    for (const int size : kThemeIconSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        if (!save(dir + "/generated/icons/" + name + ".png", makeIcon(size)))
            return 1;
    }

    std::string source = embedAsSource("resource_icon_102_png", iconPng);
    return saveBytes(dir + "/generated/icon_102.cpp", std::vector<unsigned char>(source.begin(), source.end())) ? 0 : 1;
}
