#pragma once

#include <cstdint>

extern char strbuf[256];  // every formatted result line passes through here
// The processor of the reference machine, the 100 % of every figure.
extern const char referenceProcessor[];

// Any offset from here on puts the caption below the frame, out of sight.
constexpr std::int32_t kCaptionOutOfSight = 688;

// The six frame-rate lines and the thirteen memory and arithmetic lines of
// the screen, formatted into strbuf from the figures as they are now.
constexpr int kFrameRateLines = 6;
constexpr int kFigureLines = 13;
const char* formatFrameRateLine(int index);
const char* formatFigureLine(int index);
