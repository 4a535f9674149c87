#include "stages/kernel_stages.h"

#include "kernels/arith_kernels.h"
#include "kernels/memory_kernels.h"
#include "render/frame_buffer.h"
#include "stages/frame_ops.h"
#include "stages/frame_rate_stage.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"

KernelEntry memoryKernels[9] = {
    {bench_read, &read1, 52798.950208, &_read1},   {bench_read2, &read2, 63056.225648, &_read2},
    {bench_read3, &read3, 73084.911249, &_read3},  {bench_write, &write1, 42528.537521, &_write1},
    {bench_write, &write2, 42520.193459, &_write2}, {bench_write, &write3, 42536.089733, &_write3},
    {bench_copy, &copy1, 30331.686171, &_copy1},   {bench_copy2, &copy2, 34220.710213, &_copy2},
    {bench_copy3, &copy3, 34731.349282, &_copy3},
};

KernelEntry arithmeticKernels[4] = {
    {bench_calc_add, &calc_add, 806451612.0, &_calc_add},
    {bench_calc_sub, &calc_sub, 806451612.0, &_calc_sub},
    {bench_calc_mul, &calc_mul, 806451612.0, &_calc_mul},
    {bench_calc_div, &calc_div, 377358490.0, &_calc_div},
};

namespace {

template <int N>
void runKernelStage(const char* label, const char* name, KernelEntry (&table)[N]) {
    switch (phase) {
        case 0:
            readClock();
            t_start = t_end;
            fillFrame(0);
            drawStageHeading(label, name);
            presentFrame();
            phase = 1;
            return;
        case 1:
            readClock();
            if (elapsedMs() < kHeadingMs) return;
            fillFrame(0);
            TextOutA(hmemdc, 588, 512, "Wait a minute", 13);
            presentFrame();
            phase = 2;
            return;
        default:
            // The message loop is blocked until the last kernel returns, so
            // nothing of ours competes with the measurements.
            for (KernelEntry& k : table) *k.figure = k.kernel();
            for (KernelEntry& k : table) *k.ratio = *k.figure / k.reference;
            vy = 0;
            vadd = 0;
            phase = 0;
            stage = stage + 1;
            return;
    }
}

}  // namespace

void fp0011() { runKernelStage("Stage 7", "Memory Access Speed", memoryKernels); }
void fp0012() { runKernelStage("Stage 8", "Calc", arithmeticKernels); }
