// The readers' fuzz targets are built from cli/results, cli/report and the
// plain parts of cli/run alone, without the program's stages, kernels and
// window.  These few names of the program are reached only when a run is
// measured or its document written, never when a file or a store is read
// and reported; each stops the fuzzer should that ever change.
#include <cstdlib>

#include "kernels/team_timing.h"
#include "stages/kernel_stages.h"
#include "stages/result_screen.h"
#include "stages/stage_state.h"

std::int32_t FontSpeed1, FontSpeed2, FastBltSpeed, StretchBltSpeed, DrawSpriteSpeed, DrawSpriteAlphaSpeed;
KernelEntry memoryKernels[9];
KernelEntry arithmeticKernels[4];
const char referenceProcessor[] = "stand-in";

const char* formatFrameRateLine(int) { std::abort(); }
const char* formatFigureLine(int) { std::abort(); }
double threadSpreadPercent(const std::vector<double>&) { std::abort(); }
