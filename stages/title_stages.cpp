// The reset routine and the title sequence: the wallpaper fades in, the logo
// fades in, the title waits for Enter, the wallpaper fades out.
#include "render/picture.h"
#include "stages/frame_ops.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"

namespace {

void drawLogoPieceA(int alpha) { pic_logo.drawPictureAlpha(320, 381, 640, 274, 320, 381, alpha); }
void drawLogoPieceB(int alpha) { pic_logo.drawPictureAlpha(380, 65, 520, 86, 380, 65, alpha); }
void drawLogoPieceC(int alpha) { pic_logo.drawPictureAlpha(276, 223, 728, 72, 276, 223, alpha); }

}  // namespace

void fp0000() {
    phase = 0;
    stage = 1;
}

void fp0001() {
    fillFrame(0);
    pic_wp.drawPictureAlpha(0, 0, 1280, 720, 0, 0, phase);
    presentFrame();
    phase = phase + 1;
    if (phase >= 255) {
        phase = 0;
        stage = stage + 1;
    }
}

void fp0002() {
    copyWallpaper();
    drawLogoPieceA(phase);
    drawLogoPieceB(phase);
    phase = phase + 1;
    if (phase >= 255) {
        bEnter = 0;  // an Enter released during the fades does not skip the title
        phase = 0;
        stage = stage + 1;
    }
    presentFrame();
}

void fp0003() {
    copyWallpaper();
    drawLogoPieceA(255);
    drawLogoPieceB(255);
    drawLogoPieceC(255);
    presentFrame();
    if (bEnter == 1) {
        phase = 255;
        stage = stage + 1;
        bEnter = 0;
    }
}

void fp0004() {
    fillFrame(0);
    pic_wp.drawPictureAlpha(0, 0, 1280, 720, 0, 0, phase);
    phase = phase - 1;
    if (phase <= 0) {
        phase = 0;
        stage = stage + 1;
    }
    presentFrame();
}
