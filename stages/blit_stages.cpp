// Stages 3 and 4: the frame buffer holds a still image and only its copy to
// the window is repeated, scrolled (two unscaled copies) or zoomed (one
// scaled copy).
#include "platform/win32.h"
#include "render/frame_buffer.h"
#include "stages/blit_stages.h"
#include "stages/frame_ops.h"
#include "stages/frame_rate_stage.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"

std::int32_t virtical = 0;
std::int32_t length = kFirstZoomStep;

ZoomRect zoomRect(std::int32_t step) {
    return ZoomRect{step * (-640) / 8192, step * (-360) / 8192, step * 1280 / 8192 + 1280, step * 720 / 8192 + 720};
}

std::int32_t nextZoomStep(std::int32_t step) {
    const std::int32_t next = step + 1;
    return next == 8192 ? 1 : next;
}

namespace {

void scrollPrepare() {
    fillFrame(0);
    virtical = 0;
}

// The two copies show the frame rotated up by `virtical` rows: each changes
// only the window rows whose source rows lie inside the frame buffer.
void scrollFrame() {
    BitBlt(ps.hdc, 0, 0, 1280, 720, hmemdc, 0, virtical, SRCCOPY);
    BitBlt(ps.hdc, 0, 0, 1280, 720, hmemdc, 0, virtical - 720, SRCCOPY);
    virtical = virtical + 1;
    if (virtical == 720) virtical = 0;
}

void zoomPrepare() {
    fillFrame(0);
    length = kFirstZoomStep;
}

void zoomFrame() {
    const ZoomRect r = zoomRect(length);
    StretchBlt(ps.hdc, r.x, r.y, r.w, r.h, hmemdc, 0, 0, 1280, 720, SRCCOPY);
    length = nextZoomStep(length);
}

const FrameRateStage scroll{"Stage 3",     "CG Draw Speed (BitBlt)", &FastBltSpeed, &_FastBltSpeed, 190.0,
                            scrollPrepare, false,                    scrollFrame};
const FrameRateStage zoom{"Stage 4",   "CG Draw Speed (StretchBlt)", &StretchBltSpeed, &_StretchBltSpeed, 74.0,
                          zoomPrepare, false,                        zoomFrame};

}  // namespace

void fp0007() { runFrameRateStage(scroll); }
void fp0008() { runFrameRateStage(zoom); }
