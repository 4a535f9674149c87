#include "stages/stage_routines.h"
#include "stages/stage_state.h"

StageRoutine const fp_main[14] = {fp0000, fp0001, fp0002, fp0003, fp0004, fp0005, fp0006,
                                  fp0007, fp0008, fp0009, fp0010, fp0011, fp0012, fp0013};
