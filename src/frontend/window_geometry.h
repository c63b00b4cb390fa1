// Window sizes and places, worked out in twips (15 to the pixel across and down) as the
// window system of the game's desktop keeps them, then handed to the back end in pixels.
#pragma once

#include "platform/backend.h"

constexpr float kTwipsPerPixel = 15.0f;

// Pixels of a position or size held in twips.
int TwipsToPixels(float twips);

// The centred top of a window, in twips: screen height / 2 - window height / 2.
float CentredTopTwips(WindowId window);
// Moves the window's top edge to `topTwips`, keeping its left edge. Does nothing when the
// window is already there.
void MoveWindowTop(WindowId window, float topTwips);
// Sizes the window's client area to width x height pixels, whatever its border takes, and
// centres the window on the screen.
void FitAndCentreWindow(WindowId window, int width, int height);
