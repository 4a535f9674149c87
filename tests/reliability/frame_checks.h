// Checks of presented frames that go over every pixel.  They are compiled
// with optimisation (see tests/CMakeLists.txt), where the rest of the tests'
// code is not: the soak, key-storm and window tests run them on thousands
// of frames, which without it took them up to twice as long through the
// sanitizers.
#pragma once

#include <cstdint>

#include "platform/linux/drive_hooks.h"

// A 64-bit hash of a presented frame's colours (the fourth byte is not shown
// and so not hashed).
std::uint64_t frameHash(const drive::Frame& f);

// Pixels of the window's top-left 1280 x 720 (as much of it as the window
// shows) that differ from the frame buffer.
long framePixelsOffCorner(const drive::Frame& f);
