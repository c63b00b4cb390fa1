// The light bars that sweep over the splash banner while the splash slides in.
#pragma once

#include <array>
#include <cstdint>

#include "platform/surface.h"

struct LightBars {
  std::array<float, 8> LightX{};             // left edge of each bar, banner pixels
  std::array<std::int32_t, 8> LightSpeed{};  // pixels per frame, 20..50
};

// Each bar starts left of the banner (-200 <= x < 0) with its own speed.
LightBars NewLightBars();
// Frame i (100 down to 0) of the slide-in, drawn on the banner surface: the clean banner,
// then the eight grey bars merged over it, 10 * j + i / 2 deep at most.
void DrawSplashFrame(Surface& banner, LightBars& bars, int i);
