// Colours as the game gives them: RGB(r, g, b). Stored as 0x00RRGGBB, the same layout as
// the pixels of a Surface, so a colour is written into a pixel unchanged.
#pragma once

#include <cstdint>

using Colour = std::uint32_t;

constexpr Colour RGB(int r, int g, int b) {
  return (static_cast<Colour>(r & 0xFF) << 16) | (static_cast<Colour>(g & 0xFF) << 8) |
         static_cast<Colour>(b & 0xFF);
}
constexpr int RedOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>(c & 0xFF); }

// The desktop's window background and window text colours, the start colours of every
// surface.
constexpr Colour kWindowColour = RGB(255, 255, 255);
constexpr Colour kWindowTextColour = RGB(0, 0, 0);
