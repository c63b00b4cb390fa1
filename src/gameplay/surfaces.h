// The surfaces and sprite sheets of the game's windows: the visible picture Main of the
// main window, the hidden picture store PicF (composing surfaces and sheets, loaded with
// their pictures on first use) and the two pictures AD(0), AD(1) of the splash window.
#pragma once

#include "platform/image.h"
#include "platform/surface.h"

// A sprite sheet: member (0) the image on pure white, member (1) its mask.
struct Sheet {
  Surface image;
  Surface mask;
  Surface& operator[](int member) { return member == 0 ? image : mask; }
};

// The visible 380 x 400 game picture of MainF.
Surface& Main();

// PicF, the hidden picture store.
Surface& BackP();     // composing surface (game background)
Surface& BackPSub();  // erase source, at times a saved copy
Surface& OptBackP();  // option background
Sheet& BlP();
Sheet& FontP1();
Sheet& FontP2();
Sheet& FontP3();
Sheet& FontP4();
Sheet& FontP5();
Sheet& CmbP();
Sheet& CmbNP();
Sheet& GameOverP();
Sheet& Caption1();
Sheet& Caption2();
Sheet& Caption3();
Sheet& Caption4();
Sheet& Caption5();
Sheet& Caption6();

// The game background picture (the picture of BackP), for Main and BackPSub at start-up.
ImagePtr GameBackgroundPicture();
// The window icon.
ImagePtr IconPicture();

// The splash window's pictures: AD(0) the visible one, AD(1) the composing one holding the
// banner. They exist from the first call until UnloadAD.
Surface& AD(int index);
void UnloadAD();

// Drops every surface so the next use creates it afresh with its start state (tests).
void ResetSurfaces();
