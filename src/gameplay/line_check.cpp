// The board check after every change of the well: the music keep-alive, the redraw of the
// well, the line scan or the super landing, and the hand-over to the deletion step. A chain
// is the recursion CheckBoard -> DeleteMarked -> CheckBoard.
#include "gameplay/line_check.h"

#include "gameplay/clearing_support.h"
#include "gameplay/deletion_step.h"
#include "gameplay/game_state.h"
#include "gameplay/line_check_steps.h"
#include "gameplay/rounding.h"
#include "gameplay/status_panel.h"
#include "gameplay/super_effect.h"
#include "gameplay/surfaces.h"
#include "music/clsMIDI.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace clearing {
namespace {

// The four directions a line is looked for from its lowest cell, with the offset of its next
// cell and whether a line may start at cell i.
struct LineDirection {
  int step;
  bool (*startsAt)(int i);
};

constexpr LineDirection kDirections[] = {
    {1, [](int i) { return i % 10 <= 7; }},               // to the right
    {10, [](int i) { return i <= 139; }},                 // upward
    {9, [](int i) { return i <= 139 && i % 10 >= 2; }},   // up and to the left
    {11, [](int i) { return i <= 139 && i % 10 <= 7; }},  // up and to the right
};

void KeepMusicAlive() {
  // The mode is asked on every check, whatever the music setting.
  if (BgmPlayer().Mode() == "STOPPED" && UserSettings.BgmOn == True) {
    BgmPlayer().Position("START");
    BgmPlayer().Play();
  }
}

void RedrawWell() {
  CopyWellRect(BackP(), BackPSub());
  for (int i = 0; i < kVisibleCells; ++i) DrawCellDigit(BackP(), i);
}

std::int32_t MarkedDigitSum() {
  std::int32_t sum = 0;
  for (int i = 0; i < kBoardCells; ++i)
    if (Marked[i] != False) sum += Board[i] - 1;
  return sum;
}

}  // namespace

std::int64_t ScanLines() {
  std::int64_t points = 0;
  const std::int64_t factor = std::int64_t(Level) * (Combo + 1);
  for (int i = 0; i < kBoardCells; ++i) {
    const int v = Board[i];
    if (v < 2) continue;  // empty cells and the digit 0 never begin a line
    for (const LineDirection& d : kDirections) {
      if (!d.startsAt(i) || Board[i + d.step] != v || Board[i + 2 * d.step] != v) continue;
      points += std::int64_t(v - 1) * 3 * factor;
      Marked[i] = Marked[i + d.step] = Marked[i + 2 * d.step] = True;
    }
  }
  return points;
}

std::int32_t NextSuperAt(float r) {
  const double base = double(Level) * 15 + double(DelSum) + (double(SuperCount) + 1) * 50;
  return RoundHalfEven<std::int32_t>((double(r) * 0.05 + 1) * base);
}

std::int64_t LandSuperPair() {
  std::int64_t points = 0;
  // The super pair never turns: CurPos is its upper cell, CurPos - 10 the lower one.
  ForceClear = True;
  if (CurPos < 20) {
    // On the bottom row it simply vanishes.
    ForceClear = False;
    Board[CurPos] = kEmptyCell;
    if (CurPos >= 10) Board[CurPos - 10] = kEmptyCell;  // the lower cell is never below row 0
  } else {
    const std::uint8_t reference = Board[CurPos - 20];
    Board[CurPos] = Board[CurPos - 10] = kEmptyCell;
    const std::int64_t factor = std::int64_t(Level) * (Combo + 1);
    // A landed pair always rests on a cell; an empty reference would mark the empty cells.
    for (int i = 0; i < kBoardCells && reference != kEmptyCell; ++i) {
      if (Board[i] != reference) continue;
      points += std::int64_t(reference - 1) * factor;
      Marked[i] = True;
    }
    SuperEffect();
  }
  SuperArmed = False;
  SuperAt = NextSuperAt(Rnd());
  SuperCount = CountUpTo255(SuperCount);
  DrawStatusPanel();
  return points;
}

}  // namespace clearing

void CheckBoard() {
  using namespace clearing;
  KeepMusicAlive();
  RedrawWell();
  const std::int64_t found = SuperArmed == True ? LandSuperPair() : ScanLines();
  const std::int32_t Points = SaturateToInt32(found);
  const std::int32_t DigitSum = MarkedDigitSum();
  if (Points <= 0 && ForceClear != True) {
    Combo = 0;
    return;
  }
  // The lines of this step were scored with the Combo of the step before.
  Combo = CountUpTo255(Combo);
  if (Combo >= MaxCombo) MaxCombo = Combo;
  DeleteMarked(Points, DigitSum);
}
