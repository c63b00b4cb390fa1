// The super-clear effect: triangles spin over every cell of the cleared digit while a disc
// grows from the centre of the well and whitens, then the well fades back from white.
#include "gameplay/super_effect.h"

#include <cmath>

#include "gameplay/clearing_support.h"
#include "gameplay/game_state.h"
#include "gameplay/rounding.h"
#include "gameplay/sound_effect.h"
#include "gameplay/status_panel.h"
#include "gameplay/super_effect_frames.h"
#include "gameplay/surfaces.h"
#include "gameplay/well_drawing.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace clearing {
namespace {

// Degrees to radians with the short value of pi the game has always used.
constexpr double kDegree = 3.14159 / 180;

// The whole of BackP from the clean backdrop (the side panel and the NEXT box too), then
// every visible digit.
void RedrawBackWithDigits() {
  Surface& back = BackP();
  BitBlt(back, 0, 0, back.Width(), back.Height(), BackPSub(), 0, 0, SRCCOPY);
  for (int j = 0; j < kVisibleCells; ++j) DrawCellDigit(back, j);
}

void SetBrush(Colour colour) {
  Surface& back = BackP();
  back.FillColor = colour;
  back.ForeColor = colour;
}

void DrawTriangles(int i) {
  const double radius = std::pow(0.3 * i, 1.3);
  const double angle = std::pow(double(i), 1.5);
  for (int j = 0; j < kVisibleCells; ++j) {
    if (Marked[j] == False) continue;
    POINT vertices[3];
    for (int n = 0; n < 3; ++n) {
      const double a = (angle + 120 * n) * kDegree;
      vertices[n] = {RoundHalfEven<std::int32_t>(CellCentreX(j) + radius * std::cos(a)),
                     RoundHalfEven<std::int32_t>(CellCentreY(j) + radius * std::sin(a))};
    }
    Polygon(BackP(), vertices, 3);
  }
}

// From frame 55 a disc grows 8 pixels a frame, from dark red to white.
void DrawFlash(int i) {
  if (i < 55) return;
  const int k = i - 55;
  const int tint = RoundHalfEven<std::int16_t>(8.5 * k);
  SetBrush(RGB(105 + 5 * k, tint, tint));
  Ellipse(BackP(), 120 - 8 * k, 200 - 8 * k, 120 + 8 * k, 200 + 8 * k);
}

void RestorePenAndShowWell() {
  BackP().DrawMode = 13;
  BackP().FillStyle = 1;
  CopyWellRect(Main(), BackP());
}

}  // namespace

void DrawSpinFrame(int i) {
  RedrawBackWithDigits();
  Surface& back = BackP();
  back.FillStyle = 0;
  back.DrawMode = 15;  // merged onto the digits beneath
  const int c = 40 + 2 * (85 - i);
  SetBrush(RGB(c, c, 255));
  DrawTriangles(i);
  DrawFlash(i);
  RestorePenAndShowWell();
}

void DrawWhiteFadeFrame(int i) {
  RedrawBackWithDigits();
  Surface& back = BackP();
  back.FillStyle = 0;
  back.DrawMode = 15;
  const int g = 255 - 17 * i;
  SetBrush(RGB(g, g, g));
  Rectangle(back, 20, 50, 220, 350);
  RestorePenAndShowWell();
}

}  // namespace clearing

void SuperEffect() {
  using namespace clearing;
  Tick frameTick = GetTickCount();
  for (int i = 0; i < kSpinFrames; ++i) {
    WaitForFrame(frameTick, 30);
    if (i == 15) PlayEffect("\\Super1.wav");
    if (i == 45) PlayEffect("\\Super2.wav");
    frameTick = GetTickCount();
    DrawSpinFrame(i);
    DoEvents();
  }
  // The fade goes on from the tick of the last spin frame.
  for (int i = 0; i < kFadeInFrames; ++i) {
    WaitForFrame(frameTick, 50);
    frameTick = GetTickCount();
    DrawWhiteFadeFrame(i);
    DoEvents();
  }
  // The full-surface copies wiped the side panel and the NEXT box on BackP.
  DrawPanelLabels();
  DrawStatusPanel();
  DrawWell();
}
