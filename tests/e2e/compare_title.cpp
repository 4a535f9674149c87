// Compares a screenshot of the window with the title screen composed from
// the program's images: the wallpaper in frame-buffer memory order with the
// three logo pieces drawn wherever their alpha is not 0.
// Usage: compare_title SCREENSHOT.png IMAGE_FOLDER   (exit 0 when they match)
#include <cstdio>
#include <string>
#include <vector>

#include "render/picture.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: compare_title SCREENSHOT.png IMAGE_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[2];
    Picture shot{}, wallpaper{}, logo{};
    shot.load(argv[1]);
    wallpaper.load((folder + "/wp_1280x720.png").c_str());
    logo.load((folder + "/tx_logo.png").c_str());
    if (shot.width != 1280 || shot.height != 720 || wallpaper.width != 1280 || logo.height < 655) {
        std::fprintf(stderr, "compare_title: screenshot %dx%d, wallpaper %dx%d, logo %dx%d\n", shot.width,
                     shot.height, wallpaper.width, wallpaper.height, logo.width, logo.height);
        return 1;
    }
    std::vector<std::uint32_t> memory(wallpaper.pixels, wallpaper.pixels + 1280 * 720);
    const int pieces[3][4] = {{320, 381, 640, 274}, {380, 65, 520, 86}, {276, 223, 728, 72}};
    for (const auto& p : pieces)
        for (int r = 0; r < p[3]; ++r)
            for (int c = 0; c < p[2]; ++c) {
                const std::uint32_t s = logo.pixels[(p[1] + r) * logo.width + p[0] + c];
                if (s >> 24) memory[static_cast<std::size_t>((p[1] + r) * 1280 + p[0] + c)] = s;
            }
    long differing = 0;
    for (int y = 0; y < 720; ++y)
        for (int x = 0; x < 1280; ++x) {
            const std::uint32_t want = memory[static_cast<std::size_t>((719 - y) * 1280 + x)] & 0xFFFFFF;
            const std::uint32_t got = shot.pixels[y * 1280 + x] & 0xFFFFFF;
            differing += want != got;
        }
    std::printf("compare_title: %ld of 921600 pixels differ\n", differing);
    return differing == 0 ? 0 : 1;
}
