// One frame of the well and the NEXT box: composed on BackP, then copied to Main.
#include "gameplay/well_drawing.h"

#include <cmath>
#include <cstdint>

#include "gameplay/game_state.h"
#include "gameplay/rounding.h"
#include "gameplay/sprites.h"
#include "gameplay/surfaces.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace {

// The degree factor the game has always used: 3.14159 / 180, a little short of pi / 180.
constexpr double kDegree = 0.017453277777777776;
constexpr int kNextScrollEnd = 20;

// Rows sy..sy+height-1 of the BlP cell of value v. The values 0 and 255 have no cell, so
// their source lies off the sheet and nothing is drawn.
void DrawDigitStrip(int v, int x, int y, int sy, int height) {
  DrawMaskedSprite(BackP(), x, y, kDigitWidth, height, BlP(), BlPSourceX(v), sy);
}

void DrawDigit(int v, int x, int y) { DrawWellDigit(BackP(), x, y, v); }

// A bright random colour, 155..255 in each channel, as the super pair and the lamp flicker.
Colour FlickerColour() {
  const float r1 = Rnd();
  const float r2 = Rnd();
  const float r3 = Rnd();
  return RGB(RoundHalfEven<int>(r1 * 100.0f + 155.0f), RoundHalfEven<int>(r2 * 100.0f + 155.0f),
             RoundHalfEven<int>(r3 * 100.0f + 155.0f));
}

void SetBrushAndPen(Surface& s, Colour colour) {
  s.FillColor = colour;
  s.ForeColor = s.FillColor;
}

// The shade: red and blue cut to the pulsing grey, green raised to at least 200.
void DrawNormalPair(int grey, int x1, int y1, int x2, int y2) {
  Surface& back = BackP();
  back.FillStyle = 0;
  back.DrawMode = R2_MASKPEN;
  SetBrushAndPen(back, RGB(grey, grey, grey));
  Rectangle(back, x1 - 5, y1, x1 + 15, y1 + 20);
  Rectangle(back, x2 - 5, y2, x2 + 15, y2 + 20);
  back.DrawMode = R2_MERGEPEN;
  SetBrushAndPen(back, RGB(0, 200, 0));
  Rectangle(back, x1 - 5, y1, x1 + 15, y1 + 20);
  Rectangle(back, x2 - 5, y2, x2 + 15, y2 + 20);
  back.DrawMode = R2_COPYPEN;
  back.FillStyle = 1;
  DrawDigit(CurPiece[0], x1, y1);
  DrawDigit(CurPiece[1], x2, y2);
}

// A super pair never turns: one box over both cells, in the mix mode BackP holds at rest.
void DrawSuperPair(int x1, int y1, int x2, int y2) {
  Surface& back = BackP();
  back.FillStyle = 0;
  SetBrushAndPen(back, FlickerColour());
  RoundRect(back, x1 - 5, y1, x2 + 15, y2 + 20, 10, 5);
  back.DrawMode = R2_COPYPEN;
  back.FillStyle = 1;
}

void DrawFallingPair(int grey) {
  const int p = CurPos;
  const int j = p + PairOffset[CurDir & 3];
  // Each cell is drawn 20 - FallOfs pixels above its board cell.
  const int x1 = DigitLeft(p), y1 = DigitTop(p) - kCellSize + FallOfs;
  const int x2 = DigitLeft(j), y2 = DigitTop(j) - kCellSize + FallOfs;
  if (SuperArmed == False) {
    DrawNormalPair(grey, x1, y1, x2, y2);
  } else if (ForceClear == False) {
    DrawSuperPair(x1, y1, x2, y2);
  }
}

void StepNextScroll() {
  if (NextAnim != True) return;
  if (NextScroll == kNextScrollEnd) {
    NextAnim = False;
    LampOn = False;
    NextScroll = 0;
    ShownNext[0] = NextPiece[0];
    ShownNext[1] = NextPiece[1];
  } else {
    NextScroll += 2;
  }
}

void DrawLampLeaving(int s) {
  Surface& back = BackP();
  back.FillStyle = 0;
  SetBrushAndPen(back, FlickerColour());
  RoundRect(back, 230, s + 15, 250, 35, 10, 5);
  RoundRect(back, 230, s + 35, 250, 55, 10, 5);
  back.DrawMode = R2_COPYPEN;
  back.FillStyle = 1;
}

// The old contents slide down out of both cells while the new pair slides in from the top.
void DrawNextBox() {
  const int s = NextScroll;
  BitBlt(BackP(), 230, 15, 20, 40, BackPSub(), 230, 15, SRCCOPY);
  if (LampOn == True) {
    DrawLampLeaving(s);
  } else {
    DrawDigitStrip(ShownNext[0], 235, s + 15, 0, 20 - s);
    DrawDigitStrip(ShownNext[1], 235, s + 35, 0, 20 - s);
  }
  DrawDigitStrip(NextPiece[0], 235, 15, 20 - s, s);
  DrawDigitStrip(NextPiece[1], 235, 35, 20 - s, s);
  BitBlt(Main(), 230, 15, 20, 40, BackP(), 230, 15, SRCCOPY);
}

}  // namespace

void DrawWell() {
  BitBlt(BackP(), kWellLeft, kWellTop, kWellWidth, kWellHeight, BackPSub(), kWellLeft, kWellTop,
         SRCCOPY);

  PulseAngle = std::int16_t((PulseAngle + 15) % 360);
  const double shade = std::cos(PulseAngle * kDegree);
  const int grey = RoundHalfEven<int>(25.0 * shade + 150.0);

  // The spawn row above the well is never drawn.
  for (int i = 0; i <= 149; ++i)
    if (Board[i] != kEmptyCell) DrawDigit(Board[i], DigitLeft(i), DigitTop(i));

  if (HidePair == False) DrawFallingPair(grey);
  BitBlt(Main(), kWellLeft, kWellTop, kWellWidth, kWellHeight, BackP(), kWellLeft, kWellTop,
         SRCCOPY);

  StepNextScroll();
  DrawNextBox();
}
