#pragma once

// One moving sprite: window position of its top-left pixel and its step per
// frame.  Every value stays a whole number, so float arithmetic is exact.
struct SPRITE {
    float x;
    float y;
    float xadd;
    float yadd;
};

extern SPRITE sprite[1024];

// Scatters all sprites with fresh random positions and steps.
void placeSprites();
// Moves one sprite by its step, bouncing off the frame's edges so that it
// stays wholly inside 0..1248 x 0..688.
void moveSprite(SPRITE& s);
