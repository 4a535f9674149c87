#include "app/picture_folders.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string installedDataFolder() {
    const std::string programFolder = executableFolder();
    if (programFolder.empty()) return "";
    // PELORIN_DATA_FROM_BINDIR is the install layout's path from the program
    // folder to the data folder ("../share/pelorin" by default).
    fs::path data = (fs::path(programFolder) / PELORIN_DATA_FROM_BINDIR).lexically_normal();
    if (!data.has_filename() && data.has_relative_path()) data = data.parent_path();  // "bin/." is "bin", not "bin/"
    return data.string();
}

namespace {

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a == b || fs::equivalent(a, b, ec);
}

}  // namespace

std::vector<PictureFolder> pictureFolders() {
    std::vector<PictureFolder> folders{{workingFolder(), "the working directory"}};
    const PictureFolder others[] = {{executableFolder(), "the program's folder"},
                                    {installedDataFolder(), "the installed data folder"}};
    for (const PictureFolder& candidate : others) {
        if (candidate.path.empty()) continue;
        bool repeated = false;
        for (const PictureFolder& folder : folders) repeated = repeated || sameFolder(folder.path, candidate.path);
        if (!repeated) folders.push_back(candidate);
    }
    return folders;
}

PictureLocation locatePicture(const char* fileName) {
    std::error_code ec;
    // The working directory by the bare name, as the program always has.
    if (fs::exists(fileName, ec)) return PictureLocation{fileName, workingFolder(), true};
    const std::vector<PictureFolder> folders = pictureFolders();
    for (std::size_t i = 1; i < folders.size(); ++i) {
        const fs::path there = fs::path(folders[i].path) / fileName;
        if (fs::exists(there, ec)) return PictureLocation{there.string(), folders[i].path, true};
    }
    return PictureLocation{fileName, "", false};
}
