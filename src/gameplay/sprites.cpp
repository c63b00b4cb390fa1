#include "gameplay/sprites.h"

#include "platform/gdi.h"

void DrawMaskedSprite(Surface& dst, int x, int y, int w, int h, Sheet& sheet, int sx, int sy) {
  DrawMaskedSpriteRows(dst, x, y, w, h, sheet, sx, sy, sy);
}

void DrawMaskedSpriteRows(Surface& dst, int x, int y, int w, int h, Sheet& sheet, int sx,
                          int maskSy, int imageSy) {
  BitBlt(dst, x, y, w, h, sheet[1], sx, maskSy, SRCPAINT);
  BitBlt(dst, x, y, w, h, sheet[0], sx, imageSy, SRCAND);
}

void DrawWellDigit(Surface& dst, int x, int y, int value) {
  DrawMaskedSprite(dst, x, y, kDigitWidth, kDigitHeight, BlP(), BlPSourceX(value), 0);
}
