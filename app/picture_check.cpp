#include "app/picture_check.h"

#include <cstdio>
#include <string>

#include "app/picture_folders.h"
#include "app/start_refusal.h"

namespace {

constexpr const char* kWhereToRun =
    "Keep the images beside the program (build/ after a build, the unpacked or installed folder), or install it.";

std::string notFoundText(const char* fileName) {
    const std::vector<PictureFolder> folders = pictureFolders();
    std::string list;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (i > 0) list += i + 1 == folders.size() ? " or " : ", ";
        list += folders[i].path + " (" + folders[i].role + ")";
    }
    return std::string("The image \"") + fileName + "\" is not in " + list + ".\n" + kWhereToRun;
}

}  // namespace

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

void loadRequiredPicture(Picture& picture, const char* fileName, int width, int height, PictureSize rule) {
    const PictureLocation where = locatePicture(fileName);
    if (!where.found) refuseToStart(notFoundText(fileName));
    picture.load(where.path.c_str());
    const char* problem = pictureProblem(picture, width, height, rule);
    if (problem[0] == 0) return;
    refuseToStart(std::string("The image \"") + fileName + "\" in " + where.folder + " cannot be used: " + problem +
                  ".\n" + kWhereToRun);
}
