// Composes the play screen (and the splash, option and game-over pictures) from the built-in
// pictures at the places the game draws them, then the play and option screens once more with
// the game's own drawing procedures, and writes them all as BMP files:
//   compose_screen <folder>   then, for example, convert PlayScreen.bmp -scale 300% play.png
#include <cmath>
#include <cstdio>
#include <string>

#include "frontend/option_screen.h"
#include "gameplay/game_state.h"
#include "gameplay/sprites.h"
#include "gameplay/status_panel.h"
#include "gameplay/surfaces.h"
#include "gameplay/well_drawing.h"
#include "platform/gdi.h"

namespace {

// Digits of a value from a sheet of w x h cells, right-aligned at right, no leading zeros.
void DrawNumber(Surface& dst, Sheet& sheet, int w, int h, long value, int right, int y) {
  int place = 0;
  do {
    DrawMaskedSprite(dst, right - w * (place + 1), y, w, h, sheet, int(value % 10) * w, 0);
    value /= 10;
    ++place;
  } while (value > 0);
}

void DrawLabels(Surface& dst) {
  const int ys[5] = {70, 110, 150, 190, 250};
  Sheet* labels[5] = {&Caption1(), &Caption2(), &Caption3(), &Caption4(), &Caption5()};
  for (int i = 0; i < 5; ++i) DrawMaskedSprite(dst, 225, ys[i], 100, 20, *labels[i], 0, 0);
  DrawMaskedSprite(dst, 270, 25, 100, 20, Caption6(), 0, 0);
}

void DrawGauge(Surface& dst, double ratio) {
  dst.FillStyle = 0;
  dst.FillColor = dst.ForeColor = RGB(0, 0, 0);
  Rectangle(dst, 225, 275, 355, 295);
  const double t = 255 * 2 * ratio;
  const int red = int(std::min(t, 255.0)), green = int(t <= 255 ? t : std::max(0.0, 510 - t));
  const int blue = int(std::max(0.0, 255 - t));
  dst.FillColor = dst.ForeColor = RGB(red, green, blue);
  Rectangle(dst, 225, 275, 225 + int(std::lround(130 * ratio)), 295);
  dst.FillStyle = 1;
  const int percent = int(100 * ratio);
  const int places = percent >= 10 ? 2 : 1;
  DrawNumber(dst, FontP3(), 10, 10, percent, 290 + 5 * places, 280);
}

// A few rows of cells with every digit, a falling pair with its green shade, the NEXT pair.
void DrawWellContents(Surface& dst) {
  const int cells[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 3, 3, 5, 0, 7, 2, 2, 9, 10, 1,
                       0, 4, 6, 0, 0, 8, 0, 0, 2, 5,  0, 0, 6, 0, 0, 0, 0, 0, 3,  0};
  for (int i = 0; i < 40; ++i)
    if (cells[i] != 0) DrawWellDigit(dst, DigitLeft(i), DigitTop(i), cells[i]);
  const int pivot = 84, second = 74;
  dst.FillStyle = 0;
  dst.DrawMode = 9;
  dst.FillColor = dst.ForeColor = RGB(163, 163, 163);
  for (int cell : {pivot, second})
    Rectangle(dst, CellLeft(cell), CellTop(cell) + 8, CellLeft(cell) + 20, CellTop(cell) + 28);
  dst.DrawMode = 15;
  dst.FillColor = dst.ForeColor = RGB(0, 200, 0);
  for (int cell : {pivot, second})
    Rectangle(dst, CellLeft(cell), CellTop(cell) + 8, CellLeft(cell) + 20, CellTop(cell) + 28);
  dst.DrawMode = 13;
  dst.FillStyle = 1;
  DrawWellDigit(dst, DigitLeft(pivot), DigitTop(pivot) + 8, 4);
  DrawWellDigit(dst, DigitLeft(second), DigitTop(second) + 8, 7);
  DrawWellDigit(dst, kNextDigitX, kNextTop, 6);
  DrawWellDigit(dst, kNextDigitX, kNextTop + 20, 9);
}

bool Save(const Surface& surface, const std::string& path) {
  std::string error;
  if (SaveBmpFile(surface.Snapshot(), path, &error)) return true;
  std::fprintf(stderr, "compose_screen: %s: %s\n", path.c_str(), error.c_str());
  return false;
}

// The same screen put together by the game's own drawing procedures, from a game state.
bool SaveGameScreens(const std::string& folder) {
  ResetSurfaces();
  Main().SetPicture(GameBackgroundPicture());
  BackPSub().SetPicture(GameBackgroundPicture());
  const int cells[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 3, 3, 5, 0, 7, 2, 2, 9, 10, 1};
  for (int i = 0; i < 20; ++i) Board[i] = std::uint8_t(cells[i]);
  Score = 48210;
  HiScore = 1203450;
  Level = 7;
  DelSum = 865;
  MaxCombo = 4;
  SuperAt = 960;
  LevelSum = 31;
  LevelNorm = 80;
  CurPiece[0] = 4;
  CurPiece[1] = 7;
  CurPos = 84;
  CurDir = 0;
  FallOfs = 12;
  ShownNext[0] = NextPiece[0] = 6;
  ShownNext[1] = NextPiece[1] = 9;
  NextAnim = False;
  DrawPanelLabels();
  DrawStatusPanel();
  DrawWell();
  bool ok = Save(Main(), folder + "/GameScreen.bmp");
  OptCursor = 1;
  OptPulseAngle = 40;
  DrawOptionFrame();
  ok &= Save(Main(), folder + "/OptionScreen.bmp");
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  Surface& screen = BackP();
  DrawLabels(screen);
  DrawNumber(screen, FontP1(), 15, 20, 1234560, 220, 355);
  DrawNumber(screen, FontP2(), 15, 20, 9876540, 220, 375);
  DrawNumber(screen, FontP4(), 10, 20, 12, 355, 90);
  DrawNumber(screen, FontP4(), 10, 20, 3456, 355, 130);
  DrawNumber(screen, FontP4(), 10, 20, 7, 355, 170);
  DrawNumber(screen, FontP5(), 20, 20, 16180, 355, 220);
  DrawGauge(screen, 0.62);
  DrawWellContents(screen);
  bool ok = Save(screen, folder + "/PlayScreen.bmp");

  // The combo banner over the well, as in the middle of its flight.
  DrawMaskedSprite(screen, 30, 110, 60, 60, CmbNP(), 120, 0);
  DrawMaskedSprite(screen, 90, 150, 120, 40, CmbP(), 0, 0);
  DrawMaskedSprite(screen, 30, 200, 60, 60, CmbNP(), 240, 180);
  ok &= Save(screen, folder + "/ComboScreen.bmp");

  Surface over(380, 400, RGB(0, 0, 0));
  DrawMaskedSprite(over, 60, 175, 260, 50, GameOverP(), 0, 0);
  ok &= Save(over, folder + "/GameOverScreen.bmp");
  ok &= Save(OptBackP(), folder + "/OptionBackground.bmp");
  ok &= Save(AD(1), folder + "/Splash.bmp");
  ok &= SaveGameScreens(folder);
  return ok ? 0 : 1;
}
