// The fourteen stage routines, in the order of the stage table.
#pragma once

void fp0000();  // reset
void fp0001();  // wallpaper fades in
void fp0002();  // logo fades in
void fp0003();  // title screen, waits for Enter
void fp0004();  // wallpaper fades out
void fp0005();  // Stage 1, "Font Speed 1"
void fp0006();  // Stage 2, "Font Speed 2"
void fp0007();  // Stage 3, "CG Draw Speed (BitBlt)"
void fp0008();  // Stage 4, "CG Draw Speed (StretchBlt)"
void fp0009();  // Stage 5, "Draw Sprite Speed"
void fp0010();  // Stage 6, "Draw Sprite Speed with Alpha"
void fp0011();  // Stage 7, "Memory Access Speed"
void fp0012();  // Stage 8, "Calc"
void fp0013();  // result screen
