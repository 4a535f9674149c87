// What a run was asked to measure, as the results document records it.
#pragma once

#include <vector>

constexpr int kStageCount = 8;

// --repeat auto: passes go on until every figure has settled (settling.h),
// but at least kMinAutoRepeat and at most maxRepeat of them.
constexpr int kMinAutoRepeat = 5;
struct RepeatRule {
    bool automatic = false;  // false: exactly RunConfig::repeat passes
    double settlePercent = 3.0;
    int maxRepeat = 30;
};

struct RunConfig {
    std::vector<int> stages;   // 1..8, ascending, no repeats
    int timeSeconds = 10;      // measuring window of Stages 1-6
    int repeat = 1;            // the passes asked for; with --repeat auto the most allowed
    RepeatRule repeatRule;
    std::vector<int> threads = {1};  // thread counts of Stages 7 and 8
    bool window = false;       // drawn on the display instead of the offscreen driver
};
