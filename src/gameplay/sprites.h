// The masked-sprite rule and the geometry of the well, the NEXT box and the sheets' cells.
#pragma once

#include "gameplay/surfaces.h"

// The well region of the game picture, erased from BackPSub and copied to Main each frame.
constexpr int kWellLeft = 20;
constexpr int kWellTop = 50;
constexpr int kWellWidth = 200;
constexpr int kWellHeight = 300;

// One cell of the well; its digit glyph is a 10 x 20 BlP cell centred in it.
constexpr int kCellSize = 20;
constexpr int kDigitWidth = 10;
constexpr int kDigitHeight = 20;
constexpr int kDigitInset = 5;

// The NEXT box: the upper cell shows element 0 of the pair, the lower one element 1.
constexpr int kNextLeft = 230;
constexpr int kNextTop = 15;
constexpr int kNextWidth = 20;
constexpr int kNextHeight = 40;
constexpr int kNextDigitX = kNextLeft + kDigitInset;

// BlP's mask holds eight fade bands of 20 rows, band k in the grey 255 - 30 k.
constexpr int kFadeBands = 8;
constexpr int FadeBandGrey(int band) { return 255 - 30 * band; }

// Left and top of the cell of board index i (0..159): row 0 is at the bottom (top 330), the
// spawn row 15 lies just above the well (top 30).
constexpr int CellLeft(int index) { return 20 + 20 * (index % 10); }
constexpr int CellTop(int index) { return 30 + 20 * ((159 - index) / 10); }
// Where the digit glyph of board index i is drawn.
constexpr int DigitLeft(int index) { return CellLeft(index) + kDigitInset; }
constexpr int DigitTop(int index) { return CellTop(index); }
// Source column in BlP of a cell value (1..10 show the digits 0..9). Values without a cell
// (0, the super cell 255) give a column outside the sheet, so they draw nothing.
constexpr int BlPSourceX(int value) { return (value - 1) * kDigitWidth; }

// Draws the w x h block at (sx, sy) of the sheet at (x, y) on dst: the mask is ORed in
// (SRCPAINT), then the image ANDed in (SRCAND), both from the same source rectangle.
void DrawMaskedSprite(Surface& dst, int x, int y, int w, int h, Sheet& sheet, int sx, int sy);

// The same rule with the mask taken from its own row (the BlP fade bands); the image row is
// imageSy.
void DrawMaskedSpriteRows(Surface& dst, int x, int y, int w, int h, Sheet& sheet, int sx,
                          int maskSy, int imageSy);

// The well digit of a cell value (1..10) at (x, y), from BlP; 0 and 255 draw nothing.
void DrawWellDigit(Surface& dst, int x, int y, int value);
