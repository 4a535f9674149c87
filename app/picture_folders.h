// Where the program finds its three pictures: the working directory first,
// as it always has, then the program's own folder (a build folder, an
// unpacked Windows zip or installation), then the data folder installed with
// the program.  That folder is found from the executable's own place
// (../share/pelorin beside bin/ on Linux), so an installation moved
// elsewhere as a whole still works.  pelorin and pelorin-cli both search
// this way.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"  // workingFolder, executableFolder

// The installed data folder of the running executable, or empty when the
// executable's own path cannot be read.
std::string installedDataFolder();

struct PictureFolder {
    std::string path;
    const char* role;  // "the working directory", "the program's folder", ...
};

// The folders searched, in order, each once: the working directory, then
// the program's folder and the installed data folder where they are others.
std::vector<PictureFolder> pictureFolders();

struct PictureLocation {
    std::string path;    // what to open: the bare name in the working directory, else a full path
    std::string folder;  // the folder that holds it
    bool found = false;  // false: in none of the folders, and `path` is the bare name
};

PictureLocation locatePicture(const char* fileName);
