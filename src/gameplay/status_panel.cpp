// The side panel and the two score rows: labels, numbers from digit sheets, and the level
// gauge with its percentage.
#include "gameplay/status_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gameplay/game_state.h"
#include "gameplay/rounding.h"
#include "gameplay/sprites.h"
#include "gameplay/surfaces.h"
#include "platform/gdi.h"

namespace {

void MaskedSprite(Sheet& sheet, int sx, int sy, int w, int h, int x, int y) {
  DrawMaskedSprite(BackP(), x, y, w, h, sheet, sx, sy);
}

void Erase(int x, int y, int w, int h) { BitBlt(BackP(), x, y, w, h, BackPSub(), x, y, SRCCOPY); }

void Show(int x, int y, int w, int h) { BitBlt(Main(), x, y, w, h, BackP(), x, y, SRCCOPY); }

struct NumberField {
  Sheet& (*sheet)();
  int cellWidth;
  int cellHeight;
  int places;
  int rightEdge;
  int top;
};

// Units first, no leading zeros; a value with more digits than places shows its last ones,
// and a value below 1 shows nothing.
void DrawDigits(std::int64_t value, const NumberField& field) {
  std::int64_t power = 1;
  for (int i = 0; i < field.places && value >= power; ++i, power *= 10) {
    const int digit = int((value / power) % 10);
    MaskedSprite(field.sheet(), digit * field.cellWidth, 0, field.cellWidth, field.cellHeight,
                 field.rightEdge - field.cellWidth * (i + 1), field.top);
  }
}

// A value of exactly 0 shows one digit 0 at `zeroX` instead.
void DrawDigitsOrZero(std::int64_t value, const NumberField& field, int zeroX) {
  if (value == 0) {
    MaskedSprite(field.sheet(), 0, 0, field.cellWidth, field.cellHeight, zeroX, field.top);
  } else {
    DrawDigits(value, field);
  }
}

constexpr NumberField kScoreField{FontP1, 15, 20, 8, 220, 355};
constexpr NumberField kHiScoreField{FontP2, 15, 20, 8, 220, 375};
constexpr NumberField kLevelField{FontP4, 10, 20, 3, 355, 90};
constexpr NumberField kDelSumField{FontP4, 10, 20, 5, 355, 130};
constexpr NumberField kMaxComboField{FontP4, 10, 20, 2, 355, 170};
constexpr NumberField kSuperAtField{FontP5, 20, 20, 5, 355, 220};

// Progress toward the next level; a ratio past 1 is folded back once only.
double GaugeRatio() {
  double ratio = LevelNorm != 0 ? double(LevelSum) / double(LevelNorm) : 0.0;
  if (ratio > 1.0) ratio -= 1.0;
  return ratio;
}

// Blue at 0, through grey and yellow, to red at 1.
Colour GaugeColour(double ratio) {
  const double t = 255.0 * (2.0 * ratio);
  const double red = t > 255.0 ? 255.0 : t;
  double green = t;
  if (t > 255.0) green = std::max(510.0 - t, 0.0);
  const double blue = std::max(255.0 - t, 0.0);
  auto channel = [](double v) { return std::max(0, int(RoundHalfEven<std::int16_t>(v))); };
  return RGB(channel(red), channel(green), channel(blue));
}

// The percentage, centred on x 290.
void DrawPercentage(double ratio) {
  const double percent = std::floor(100.0 * ratio);
  if (percent == 0.0) {
    MaskedSprite(FontP3(), 0, 0, 10, 10, 285, 280);
    return;
  }
  if (!(percent >= 1.0)) return;  // below zero: no digits
  const std::int64_t p = percent >= 1e15 ? std::int64_t(1e15) : std::int64_t(percent);
  const int places = p >= 100 ? 3 : (p >= 10 ? 2 : 1);
  std::int64_t power = 1;
  for (int i = 0; i < places; ++i, power *= 10) {
    const int digit = int((p / power) % 10);
    MaskedSprite(FontP3(), 10 * digit, 0, 10, 10, 290 + 5 * places - 10 * (i + 1), 280);
  }
}

void DrawLevelGauge() {
  Erase(255, 280, 130, 15);
  Surface& back = BackP();
  back.FillStyle = 0;
  back.DrawMode = R2_COPYPEN;
  back.FillColor = RGB(0, 0, 0);
  back.ForeColor = back.FillColor;
  Rectangle(back, 225, 275, 355, 295);

  const double ratio = GaugeRatio();
  back.DrawMode = R2_COPYPEN;
  back.FillColor = GaugeColour(ratio);
  back.ForeColor = back.FillColor;
  // The bar is not clamped to the frame; only its 32-bit right edge is held in range.
  Rectangle(back, 225, 275, RoundHalfEven<std::int32_t>(225.0 + 130.0 * ratio), 295);
  back.FillStyle = 1;
  DrawPercentage(ratio);
}

}  // namespace

void DrawPanelLabels() {
  BackPSub().Cls();
  Surface& back = BackP();
  BitBlt(back, 0, 0, back.Width(), back.Height(), BackPSub(), 0, 0, SRCCOPY);
  MaskedSprite(Caption1(), 0, 0, 100, 20, 225, 70);
  MaskedSprite(Caption2(), 0, 0, 100, 20, 225, 110);
  MaskedSprite(Caption3(), 0, 0, 100, 20, 225, 150);
  MaskedSprite(Caption4(), 0, 0, 100, 20, 225, 190);
  MaskedSprite(Caption5(), 0, 0, 100, 20, 225, 250);
  MaskedSprite(Caption6(), 0, 0, 100, 20, 270, 25);
}

void DrawStatusPanel() {
  Erase(100, 355, 120, 40);
  DrawDigitsOrZero(Score, kScoreField, 205);
  DrawDigitsOrZero(HiScore, kHiScoreField, 205);
  Show(100, 355, 120, 40);

  Erase(325, 90, 30, 20);
  DrawDigits(Level, kLevelField);
  Erase(305, 130, 50, 20);
  DrawDigitsOrZero(DelSum, kDelSumField, 345);
  Erase(335, 170, 20, 20);
  DrawDigitsOrZero(MaxCombo, kMaxComboField, 345);
  Erase(255, 220, 100, 20);
  DrawDigits(SuperAt, kSuperAtField);

  DrawLevelGauge();

  Show(225, 70, 130, 40);
  Show(225, 110, 130, 40);
  Show(225, 150, 130, 40);
  Show(225, 190, 130, 50);
  Show(225, 250, 130, 45);
  Show(265, 25, 100, 20);
}
