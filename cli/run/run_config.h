// What a run was asked to measure, as the results document records it.
#pragma once

#include <vector>

constexpr int kStageCount = 8;

struct RunConfig {
    std::vector<int> stages;   // 1..8, ascending, no repeats
    int timeSeconds = 10;      // measuring window of Stages 1-6
    int repeat = 1;
    std::vector<int> threads = {1};  // thread counts of Stages 7 and 8
    bool window = false;       // drawn on the display instead of the offscreen driver
};
