// Stages 5 and 6: 1024 moving 32x32 sprites over the wallpaper, keyed or
// alpha-blended at full weight.
#include "stages/sprite_stages.h"

#include "render/picture.h"
#include "stages/frame_ops.h"
#include "stages/frame_rate_stage.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"

SPRITE sprite[1024];

void placeSprites() {
    for (SPRITE& s : sprite) {
        s.x = static_cast<float>(crt_rand() * 1248 / 32767);
        s.y = static_cast<float>(crt_rand() * 688 / 32767);
        s.xadd = static_cast<float>(crt_rand() * 8 / 32767 - 4);
        s.yadd = static_cast<float>(crt_rand() * 8 / 32767 - 4);
    }
}

void moveSprite(SPRITE& s) {
    const float nx = s.x + s.xadd;
    s.x = nx;
    const float ny = s.y + s.yadd;
    s.y = ny;
    if (nx < 0 || nx >= 1248) {
        s.xadd = -s.xadd;
        s.x = s.x + s.xadd;  // back where it stood before the move
    }
    if (ny < 0 || ny >= 688) {
        s.yadd = -s.yadd;
        s.y = s.y + s.yadd;
    }
}

namespace {

void spritePrepare() {
    fillFrame(0);
    placeSprites();
}

void keyedFrame() {
    copyWallpaper();
    for (SPRITE& s : sprite) {
        moveSprite(s);
        pic_sprite.drawSprite(0, 0, 32, 32, static_cast<int>(s.x), static_cast<int>(s.y));
    }
    presentFrame();
}

void blendedFrame() {
    copyWallpaper();
    for (SPRITE& s : sprite) {
        moveSprite(s);
        pic_sprite.drawSpriteAlpha(0, 0, 32, 32, static_cast<int>(s.x), static_cast<int>(s.y), 255);
    }
    presentFrame();
}

const FrameRateStage keyed{"Stage 5",     "Draw Sprite Speed", &DrawSpriteSpeed, &_DrawSpriteSpeed, 167.0,
                           spritePrepare, false,               keyedFrame};
const FrameRateStage blended{"Stage 6",     "Draw Sprite Speed with Alpha", &DrawSpriteAlphaSpeed,
                             &_DrawSpriteAlphaSpeed, 121.0, spritePrepare, false, blendedFrame};

}  // namespace

void fp0009() { runFrameRateStage(keyed); }
void fp0010() { runFrameRateStage(blended); }
