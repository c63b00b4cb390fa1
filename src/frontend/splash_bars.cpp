#include "frontend/splash_bars.h"

#include <cmath>

#include "gameplay/rounding.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace {

int RoundToInt(double value) { return RoundHalfEven<int>(value); }

}  // namespace

LightBars NewLightBars() {
  LightBars bars;
  for (int j = 0; j < 8; ++j) {
    bars.LightX[j] = 200.0f * Rnd() - 200.0f;
    bars.LightSpeed[j] = RoundToInt(30.0f * Rnd() + 20.0f);
  }
  return bars;
}

void DrawSplashFrame(Surface& banner, LightBars& bars, int i) {
  banner.Cls();
  banner.DrawMode = 15;
  banner.FillStyle = 0;
  banner.FillColor = RGB(100, 100, 100);
  banner.ForeColor = banner.FillColor;
  const float half = static_cast<float>(i) / 2.0f;
  for (int j = 0; j < 8; ++j) {
    bars.LightX[j] += static_cast<float>(bars.LightSpeed[j]);
    if (bars.LightX[j] > 200.0f) bars.LightX[j] = -200.0f;
    float r = Rnd();
    Rectangle(banner, RoundToInt(bars.LightX[j]), RoundToInt(10.0f * j + r * half),
              RoundToInt(bars.LightX[j] + 300.0f), RoundToInt(10.0f * j + half));
  }
  banner.FillStyle = 1;
  banner.DrawMode = 13;
}
