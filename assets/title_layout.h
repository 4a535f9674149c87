// Where the title screen takes its pieces from the logo sheet. Rows count
// frame-buffer memory rows, which run bottom-up: memory row r is window row
// 719 - r. The sheet is laid out like the screen, so it is the frame's size.
#pragma once

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 720;

struct SheetPiece {
    int sx, sy, w, h;
    // First window row (counted from the top) that the piece covers.
    constexpr int windowTop() const { return kScreenHeight - sy - h; }
};

constexpr SheetPiece kPieceLogo{320, 381, 640, 274};
constexpr SheetPiece kPieceSubtitle{380, 65, 520, 86};
constexpr SheetPiece kPiecePrompt{276, 223, 728, 72};
constexpr SheetPiece kSheetPieces[] = {kPieceLogo, kPieceSubtitle, kPiecePrompt};

constexpr int kSpriteSheetWidth = 128;
constexpr int kSpriteSheetHeight = 32;
constexpr int kSpriteSize = 32;
constexpr int kIconSize = 256;
