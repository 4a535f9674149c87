// The stages draw fixed rectangles of the three pictures without looking at
// their sizes, so a picture that is missing, damaged or too small stops the
// program before its window is shown.
#pragma once

#include "render/picture.h"

enum class PictureSize { Exact, AtLeast };

// Empty when the picture can be drawn from; otherwise why not, in words.
const char* pictureProblem(const Picture& picture, int width, int height, PictureSize rule);

// Loads `picture` from the first folder that holds `fileName` (see
// picture_folders.h).  When it is in neither folder, or cannot be drawn
// from, the program stops with exit code 2, a message box and a line on
// stderr naming the file, the folder or folders and the reason.
void loadRequiredPicture(Picture& picture, const char* fileName, int width, int height, PictureSize rule);
