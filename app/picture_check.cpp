#include "app/picture_check.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32.h"

const char* pictureProblem(const Picture& picture, int width, int height, PictureSize rule) {
    static char reason[320];
    if (picture.pixels == nullptr || picture.width <= 0 || picture.height <= 0) {
        std::snprintf(reason, sizeof reason, "%s", pngError[0] ? pngError : "it could not be decoded");
        return reason;
    }
    const bool fits = rule == PictureSize::Exact ? picture.width == width && picture.height == height
                                                 : picture.width >= width && picture.height >= height;
    if (fits) return "";
    std::snprintf(reason, sizeof reason, "it is %d x %d pixels, but the program needs %s%d x %d", picture.width,
                  picture.height, rule == PictureSize::Exact ? "exactly " : "at least ", width, height);
    return reason;
}

void requirePicture(const Picture& picture, const char* fileName, int width, int height, PictureSize rule) {
    const char* problem = pictureProblem(picture, width, height, rule);
    if (problem[0] == 0) return;
    char folder[4096];
    if (getcwd(folder, sizeof folder) == nullptr) std::snprintf(folder, sizeof folder, "(the working directory)");
    std::string text = std::string("The image \"") + fileName + "\" in " + folder + " cannot be used: " + problem +
                       ".\nRun the program from the folder that holds its images (build/ after a build).";
    // MessageBoxA also puts the text on stderr.
    MessageBoxA(nullptr, text.c_str(), "Pelorin Benchmark", MB_OK | MB_ICONERROR);
    std::exit(2);
}
