#include "stages/frame_rate_stage.h"

#include "stages/frame_ops.h"
#include "stages/stage_state.h"

std::int32_t measuringMs = 10000;

void runFrameRateStage(const FrameRateStage& s) {
    switch (phase) {
        case 0:
            readClock();
            t_start = t_end;
            if (s.prepare) s.prepare();
            phase = 1;
            return;
        case 1:
            readClock();
            if (elapsedMs() < kHeadingMs) {
                drawStageHeading(s.label, s.name);
                presentFrame();
                return;
            }
            *s.frames = 0;
            phase = 2;
            t_start = t_end;
            if (s.headingOnClosingCall) {
                drawStageHeading(s.label, s.name);
                presentFrame();
            } else {
                copyWallpaper();
            }
            return;
        default:
            readClock();
            if (elapsedMs() >= measuringMs) {
                // The divisor is the nominal window, not the measured time.
                *s.frames = *s.frames / (measuringMs / 1000);
                phase = 0;
                stage = stage + 1;
                *s.ratio = static_cast<double>(*s.frames) / s.reference;
                return;
            }
            s.testFrame();
            *s.frames = *s.frames + 1;
            return;
    }
}
