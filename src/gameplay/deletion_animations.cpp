// The fade of the deleted cells and the reveal of the changed ones. Both draw on BackP, copy
// the well to Main and give the window events one pass after every frame.
#include "gameplay/deletion_animations.h"

#include <cstdint>
#include <vector>

#include "gameplay/clearing_support.h"
#include "gameplay/deletion_step.h"
#include "gameplay/game_state.h"
#include "gameplay/sound_effect.h"
#include "gameplay/surfaces.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace clearing {
namespace {

constexpr int kFadeFrames = 8;
constexpr int kRevealFrames = 11;

// Only the visible rows are animated; the spawn row never shows.
std::vector<int> MarkedVisibleCells() {
  std::vector<int> cells;
  for (int c = 0; c < kVisibleCells; ++c)
    if (Marked[c] != False) cells.push_back(c);
  return cells;
}

// Band f of the mask darkens the block a little more each frame; the image stays band 0.
void DrawFadeFrame(const std::vector<int>& cells, int f) {
  for (int c : cells) {
    const int left = CellLeft(c);
    const int top = CellTop(c);
    BitBlt(BackP(), left, top, 20, 20, BackPSub(), left, top, SRCCOPY);
    DrawCellDigit(BackP(), c, f);
  }
  CopyWellRect(Main(), BackP());
  DoEvents();
}

// The changed cells with their new digits drawn on the clean backdrop BackPSub.
std::vector<int> DrawChangedOnBackdrop() {
  std::vector<int> cells;
  for (int c = 0; c < kVisibleCells; ++c) {
    if (Board[c] == kEmptyCell || Marked[c] != False || Changed[c] == False) continue;
    cells.push_back(c);
    DrawCellDigit(BackPSub(), c);
  }
  return cells;
}

// A square growing from each cell's centre uncovers the new digit.
void DrawRevealFrame(const std::vector<int>& cells, int k) {
  for (int c : cells) {
    const int x = CellCentreX(c) - k;
    const int y = CellCentreY(c) - k;
    BitBlt(BackP(), x, y, 2 * k, 2 * k, BackPSub(), x, y, SRCCOPY);
  }
  // While a super pair is due the lamp flickers in a new colour every frame.
  if (DelSum >= SuperAt && SuperArmed == False) Lamp();
  CopyWellRect(Main(), BackP());
  DoEvents();
}

}  // namespace
}  // namespace clearing

void AnimateDeletion() {
  using namespace clearing;
  const std::vector<int> cells = MarkedVisibleCells();
  PlayEffect("\\Del.wav");  // also when no visible cell is deleted
  Tick frameTick = GetTickCount();
  if (cells.empty()) return;
  for (int f = 0; f < kFadeFrames; ++f) {
    WaitForFrame(frameTick, 50);
    frameTick = GetTickCount();
    DrawFadeFrame(cells, f);
  }
}

void ShowChanged() {
  using namespace clearing;
  const std::vector<int> cells = DrawChangedOnBackdrop();
  Tick frameTick = GetTickCount();
  if (!cells.empty()) {
    for (int k = 0; k < kRevealFrames; ++k) {
      WaitForFrame(frameTick, 30);
      frameTick = GetTickCount();
      DrawRevealFrame(cells, k);
    }
  }
  BackPSub().Cls();
}
