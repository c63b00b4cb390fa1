// Small helpers for looking at the game's pictures and sheets pixel by pixel.
#pragma once

#include <string>

#include "gameplay/picture_resources.h"
#include "gameplay/surfaces.h"
#include "platform/image.h"

constexpr Colour kWhite = RGB(255, 255, 255);
constexpr Colour kBlack = RGB(0, 0, 0);

inline ImagePtr BuiltInPicture(const std::string& name) { return LoadBmp(PictureResource(name)); }

inline int Luminance(Colour c) { return (RedOf(c) * 3 + GreenOf(c) * 6 + BlueOf(c)) / 10; }

// A mask pixel that lets its sprite through.
inline bool Inked(const Surface& mask, int x, int y) { return mask.Pixel(x, y) != kBlack; }

// Every sheet by name, with the size of its cells and how many there are across and down.
struct SheetLayout {
  const char* name;
  Sheet& (*sheet)();
  int cellWidth, cellHeight, across, down;
};

inline const SheetLayout kSheets[] = {
    {"BlP", BlP, 10, 20, 10, 1},
    {"FontP1", FontP1, 15, 20, 10, 1},
    {"FontP2", FontP2, 15, 20, 10, 1},
    {"FontP3", FontP3, 10, 10, 10, 1},
    {"FontP4", FontP4, 10, 20, 10, 1},
    {"FontP5", FontP5, 20, 20, 10, 1},
    {"CmbP", CmbP, 120, 40, 1, 1},
    {"CmbNP", CmbNP, 60, 60, 5, 4},
    {"GameOverP", GameOverP, 260, 50, 1, 1},
    {"Caption1", Caption1, 100, 20, 1, 1},
    {"Caption2", Caption2, 100, 20, 1, 1},
    {"Caption3", Caption3, 100, 20, 1, 1},
    {"Caption4", Caption4, 100, 20, 1, 1},
    {"Caption5", Caption5, 100, 20, 1, 1},
    {"Caption6", Caption6, 100, 20, 1, 1},
};
