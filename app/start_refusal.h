// The one way the program refuses to start when it could not measure
// soundly: before its window shows, it says why and ends with exit code 2.
#pragma once

#include <string>

// Shows `text` in a message box (and puts it on stderr, as the box
// may have no display to appear on) and ends the process with exit code 2.
[[noreturn]] void refuseToStart(const std::string& text);
