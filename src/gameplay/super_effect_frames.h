// The single frames of the super-clear effect, drawn on BackP and shown in the well on Main
// (without the frame gate, the sounds or the window events of the running effect).
#pragma once

#include <cstdint>

namespace clearing {

constexpr int kSpinFrames = 86;    // period 30 ms
constexpr int kFadeInFrames = 16;  // period 50 ms

// Frame i (0..85) of the spin: a blue triangle turning over every marked cell and, from
// frame 55, a disc growing from the centre of the well towards white.
void DrawSpinFrame(int i);
// Frame i (0..15) after the spin: the well comes back from white.
void DrawWhiteFadeFrame(int i);

}  // namespace clearing
