#include "app/picture_folders.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string executableFolder() {
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec || executable.empty()) return "";
    return executable.parent_path().string();
}

std::string installedDataFolder() {
    const std::string programFolder = executableFolder();
    if (programFolder.empty()) return "";
    // PELORIN_DATA_FROM_BINDIR is the install layout's path from the program
    // folder to the data folder ("../share/pelorin" by default).
    return (fs::path(programFolder) / PELORIN_DATA_FROM_BINDIR).lexically_normal().string();
}

std::string workingFolder() {
    char folder[4096];
    if (getcwd(folder, sizeof folder) == nullptr) return "(the working directory)";
    return folder;
}

PictureLocation locatePicture(const char* fileName) {
    std::error_code ec;
    if (fs::exists(fileName, ec)) return PictureLocation{fileName, workingFolder(), true};
    const std::string installed = installedDataFolder();
    if (!installed.empty()) {
        const fs::path there = fs::path(installed) / fileName;
        if (fs::exists(there, ec)) return PictureLocation{there.string(), installed, true};
    }
    return PictureLocation{fileName, "", false};
}
