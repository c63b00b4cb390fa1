// Every picture of the game, drawn by code.
#pragma once

#include <string>
#include <vector>

#include "platform/image.h"
#include "raster.h"

struct NamedPicture {
  std::string name;  // the file name without ".bmp"
  Image image;
};

// The well panel of the game background, top and bottom: sheets drawn over the well smooth
// their edges against it.
inline constexpr Rgb kPanelTop{86, 80, 152};
inline constexpr Rgb kPanelBottom{62, 56, 124};
inline constexpr Rgb kPanelMiddle{74, 68, 138};

// The sprite sheets, two pictures each: "<sheet>_0" the image on pure white, "<sheet>_1" its
// mask.
std::vector<NamedPicture> DrawSheets();
// The game background, the option background, the splash banner and the window icon.
std::vector<NamedPicture> DrawScenes();
