// Where the program finds its three pictures: the working directory first,
// as it always has, then the data folder installed with the program.  That
// folder is found from the executable's own place (../share/pelorin beside
// bin/), so an installation moved elsewhere as a whole still works.
// pelorin and pelorin-cli both search this way.
#pragma once

#include <string>

// The folder of the running executable, or empty when its path cannot be read.
std::string executableFolder();

// The installed data folder of the running executable, or empty when the
// executable's own path cannot be read.
std::string installedDataFolder();

// The working directory, or a description of it when it cannot be read.
std::string workingFolder();

struct PictureLocation {
    std::string path;    // what to open: the bare name in the working directory, else a full path
    std::string folder;  // the folder that holds it
    bool found = false;  // false: in neither folder, and `path` is the bare name
};

PictureLocation locatePicture(const char* fileName);
