#include "cli/output_paths.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// The path with every symbolic link in the part that exists resolved.
fs::path resolved(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(path, ec);
    if (ec) p = fs::absolute(path, ec).lexically_normal();
    return p;
}

// True when both name one existing file, through whatever links.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

}  // namespace

std::string outputPathProblem(const std::string& path, const std::string& what, const std::string& storePath) {
    const std::string named = "the " + what + " '" + path + "'";
    if (!storePath.empty()) {
        const fs::path out = resolved(path);
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
            // SQLite puts a store's companions beside the file a link leads to.
            const std::string companion = storePath + suffix;
            const fs::path besideTarget = resolved(storePath).string() + suffix;
            if (out == resolved(companion) || out == besideTarget || sameFile(path, companion))
                return "will not write " + named + ": it is the results store " + storePath +
                       (*suffix != '\0' ? std::string(" (its ") + suffix + " file)" : std::string());
        }
    }
    std::error_code ec;
    if (fs::is_directory(path, ec)) return "cannot write " + named + ": it is a folder";
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty()) folder = ".";
    // A file in the folder's place is writable itself, and would be found
    // out only when the figures are measured and the output is written.
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec))
        return "cannot write " + named + ": " + std::strerror(ENOTDIR);
    if (access(folder.c_str(), W_OK) != 0) return "cannot write " + named + ": " + std::strerror(errno);
    return "";
}

std::string sharedFileProblem(const std::vector<NamedFile>& outputs, const std::vector<NamedFile>& inputs) {
    const auto oneFile = [](const NamedFile& a, const NamedFile& b) {
        return resolved(a.path) == resolved(b.path) || sameFile(a.path, b.path);
    };
    const auto isFile = [](const NamedFile& f) { return !f.path.empty() && f.path != "-"; };
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (!isFile(outputs[i])) continue;
        for (std::size_t j = i + 1; j < outputs.size(); ++j)
            if (isFile(outputs[j]) && oneFile(outputs[i], outputs[j]))
                return outputs[i].option + " and " + outputs[j].option + " name the same file '" + outputs[j].path +
                       "': each output needs a file of its own";
        for (const NamedFile& input : inputs)
            if (isFile(input) && oneFile(outputs[i], input))
                return outputs[i].option + " would overwrite '" + input.path + "', which " + input.option +
                       " reads";
    }
    return "";
}
