#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/win32.h"

std::string executableFolder() {
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || executable.empty()) return "";
    return executable.parent_path().string();
}

std::string workingFolder() {
    char folder[4096];
    if (getcwd(folder, sizeof folder) == nullptr) return "(the working directory)";
    return folder;
}
