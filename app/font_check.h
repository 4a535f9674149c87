// Font Speed 1 and 2 time text drawing.  Without a face that has the
// program's Japanese characters every text call would draw nothing, and both
// figures would be measured on frames with no text in them; so neither
// pelorin nor pelorin-cli starts then.
#pragma once

#include <string>

// Empty when a Japanese font is installed; otherwise one line naming what is
// missing and the Debian package that provides it.
std::string japaneseFontProblem();

// Stops the program like an unusable image (message box, stderr line, exit
// code 2) when there is no Japanese font.
void requireJapaneseFont();
